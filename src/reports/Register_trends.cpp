#include "TrendWindows.h"

#include "frmRptTrends.h"
#include "widgets/Windows.h"

void RegisterTrendWindows()
{
    Windows::Register(QStringLiteral("frmRptTrends"), [] { return new frmRptTrends; });
}

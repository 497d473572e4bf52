#include "TrendWindows.h"

#include "frmRptTrends.h"
#include "shell/Windows.h"

void RegisterTrendWindows()
{
    Windows::Register(QStringLiteral("frmRptTrends"), [] { return new frmRptTrends; });
}

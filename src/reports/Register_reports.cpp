#include "ReportWindows.h"

#include "frmRptDeposit.h"
#include "frmRptWeeklyReport.h"
#include "widgets/Windows.h"

void RegisterReportWindows()
{
    Windows::Register(QStringLiteral("frmRptWeeklyReport"), [] { return new frmRptWeeklyReport; });
    Windows::Register(QStringLiteral("frmRptDeposit"), [] { return new frmRptDeposit; });
}

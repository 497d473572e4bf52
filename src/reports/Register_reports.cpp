#include "ReportWindows.h"

#include "frmRptWeeklyReport.h"
#include "shell/Windows.h"

void RegisterReportWindows()
{
    Windows::Register(QStringLiteral("frmRptWeeklyReport"), [] { return new frmRptWeeklyReport; });
}

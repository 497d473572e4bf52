#include "MaintenanceWindows.h"

#include "frmPledgeUtil.h"
#include "shell/Windows.h"

void RegisterPledgeUtilWindow()
{
    Windows::Register(QStringLiteral("frmPledgeUtil"), [] { return new frmPledgeUtil; });
}

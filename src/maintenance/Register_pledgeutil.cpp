#include "MaintenanceWindows.h"

#include "frmPledgeUtil.h"
#include "widgets/Windows.h"

void RegisterPledgeUtilWindow()
{
    Windows::Register(QStringLiteral("frmPledgeUtil"), [] { return new frmPledgeUtil; });
}

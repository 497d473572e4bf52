#include "MaintenanceWindows.h"

#include "frmContInfo.h"
#include "frmContList.h"
#include "frmPledge.h"
#include "widgets/Windows.h"

void RegisterContributorWindows()
{
    Windows::Register(QStringLiteral("frmContList"), [] { return new frmContList; });
    Windows::Register(QStringLiteral("frmContInfo"), [] { return new frmContInfo; });
    Windows::Register(QStringLiteral("frmPledge"), [] { return new frmPledge; });
}

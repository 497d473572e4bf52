#include "MaintenanceWindows.h"

#include "frmChurch.h"
#include "frmFundInfo.h"
#include "frmFundList.h"
#include "frmPreferences.h"
#include "widgets/Windows.h"

void RegisterFundWindows()
{
    Windows::Register(QStringLiteral("frmFundList"), [] { return new frmFundList; });
    Windows::Register(QStringLiteral("frmFundInfo"), [] { return new frmFundInfo; });
    Windows::Register(QStringLiteral("frmChurch"), [] { return new frmChurch; });
    Windows::Register(QStringLiteral("frmPreferences"), [] { return new frmPreferences; });
}

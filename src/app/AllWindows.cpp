#include "AllWindows.h"

#include "widgets/Windows.h"
#include "frmAbout.h"
#include "update/frmLocateUpdate.h"
#include "frmPWChange.h"
#include "gifts/GiftWindows.h"
#include "maintenance/MaintenanceWindows.h"
#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "reports/ListingWindows.h"
#include "reports/ReportWindows.h"
#include "year/Register_year.h"
#include "reports/StatementWindows.h"
#include "reports/TrendWindows.h"

void RegisterAllWindows()
{
    Windows::Register(QStringLiteral("frmPWChange"), [] { return new frmPWChange; });
    Windows::Register(QStringLiteral("frmAbout"), [] { return new frmAbout; });
    Windows::RegisterDialog(QStringLiteral("frmCollectionDate"), [] { return new frmCollectionDate; });
    Windows::Register(QStringLiteral("frmCollections"), [] { return new frmCollections; });
    Windows::Register(QStringLiteral("frmContReceipt"), [] { return new frmContReceipt; });
    RegisterFundWindows();
    RegisterContributorWindows();
    RegisterPledgeUtilWindow();
    RegisterUpdateWindows();
    RegisterReportWindows();
    RegisterYearWindows();
    RegisterListingWindows();
    RegisterStatementWindows();
    RegisterTrendWindows();
    RegisterGiftWindows();
}

#include "ListingWindows.h"

#include "frmRptEnvLabels.h"
#include "frmRptFunds.h"
#include "frmRptMailingLabels.h"
#include "frmRptMemorials.h"
#include "frmRptTelephone.h"
#include "widgets/Windows.h"

void RegisterListingWindows()
{
    Windows::Register(QStringLiteral("frmRptFunds"), [] { return new frmRptFunds; });
    Windows::Register(QStringLiteral("frmRptMemorials"), [] { return new frmRptMemorials; });
    Windows::Register(QStringLiteral("frmRptTelephone"), [] { return new frmRptTelephone; });
    Windows::Register(QStringLiteral("frmRptMailingLabels"), [] { return new frmRptMailingLabels; });
    Windows::Register(QStringLiteral("frmRptEnvLabels"), [] { return new frmRptEnvLabels; });
}

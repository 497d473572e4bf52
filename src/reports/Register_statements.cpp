#include "StatementWindows.h"

#include "frmRptPledgeStatus.h"
#include "frmRptStatements.h"
#include "widgets/Windows.h"

void RegisterStatementWindows()
{
    Windows::Register(QStringLiteral("frmRptStatements"), [] { return new frmRptStatements; });
    Windows::Register(QStringLiteral("frmRptPledgeStatus"), [] { return new frmRptPledgeStatus; });
}

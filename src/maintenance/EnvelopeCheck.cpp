#include "EnvelopeCheck.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "core/modDBConnection.h"

using namespace modGlobal;

namespace EnvelopeCheck {

QString Used_By(int fundID, int accountNumber, int contributorID)
{
    if (accountNumber == 0)
        return {};
    Recordset rs(QStringLiteral("SELECT Contributors.LastName, Contributors.FirstNames FROM Pledges INNER JOIN "
                                "Contributors ON Pledges.ContributorID = Contributors.ID WHERE ((Pledges.FundID = ")
                     + QString::number(fundID) + QStringLiteral(") AND (Pledges.AccountNumber = ")
                     + QString::number(accountNumber) + QStringLiteral(") AND (Pledges.ContributorID <> ")
                     + QString::number(contributorID) + QStringLiteral(") AND ((Contributors.IsInactive IS NULL) OR (Contributors.IsInactive = ")
                     + modDBConnection::BoolLiteral(false)
                     + QStringLiteral("))) ORDER BY Contributors.LastName, Contributors.FirstNames;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    if (rs.Eof())
        return {};
    return NameJoin(FieldText(rs.Field(QStringLiteral("LastName"))), FieldText(rs.Field(QStringLiteral("FirstNames"))),
                    true);
}

QString Question(int accountNumber, const QString& name)
{
    return QStringLiteral("Envelope number ") + QString::number(accountNumber) + QStringLiteral(" is already used by ")
         + name + QStringLiteral(". Use it anyway?");
}

} // namespace EnvelopeCheck

#include "clsPledges.h"

#include "core/Connection.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "clsOffering.h"
#include "core/modDBConnection.h"
#include "modDBKeys.h"
#include "core/Messages.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"

using namespace modDBConnection;
using namespace modGlobal;

clsPledges::clsPledges()
{
    Schema::MakeReady(tiPledges);
}

void clsPledges::Get_One_Record(const QString& where)
{
    const QString w = where.isEmpty() ? QStringLiteral("ID = ") + QString::number(ID()) : where;
    Recordset rs(QStringLiteral("SELECT * FROM Pledges WHERE ") + w + QLatin1Char(';'), DB(), Recordset::Cursor::ForwardOnly);
    Read_Row(rs);
}

void clsPledges::Read_Row(const Recordset& rs)
{
    const bool found = !rs.Eof();
    auto field = [&](const char* name) { return found ? rs.Field(QLatin1String(name)) : QVariant(); };
    ID(FieldLong(field("ID")));
    ContributorID(FieldLong(field("ContributorID")));
    FundID(FieldLong(field("FundID")));
    AccountNumber(FieldLong(field("AccountNumber")));
    Amount(FieldDouble(field("Amount")));
    Notes(FieldText(field("Notes")));
    IsInactive(FieldBool(field("IsInactive")));
    m_changed = false;
}

int clsPledges::Next_ID()
{
    return modDBKeys::NextKey(QStringLiteral("Pledges"));
}

void clsPledges::Save_to_DB()
{
    if (!m_changed)
        return;
    const bool added = (ID() == 0);
    if (added) {
        ID(Next_ID());
        DB().Execute(QStringLiteral("INSERT INTO Pledges (ID, ContributorID, FundID, AccountNumber, Amount, Notes, "
                                    "IsInactive) VALUES (")
                     + QString::number(ID()) + QStringLiteral(", ") + QString::number(ContributorID())
                     + QStringLiteral(", ") + QString::number(FundID()) + QStringLiteral(", ")
                     + QString::number(AccountNumber()) + QStringLiteral(", ") + NumberLiteral(Amount())
                     + QStringLiteral(", ") + TextLiteral(Notes()) + QStringLiteral(", ") + BoolLiteral(IsInactive())
                     + QStringLiteral(");"));
    } else {
        DB().Execute(QStringLiteral("UPDATE Pledges SET ContributorID = ") + QString::number(ContributorID())
                     + QStringLiteral(", FundID = ") + QString::number(FundID())
                     + QStringLiteral(", AccountNumber = ") + QString::number(AccountNumber())
                     + QStringLiteral(", Amount = ") + NumberLiteral(Amount())
                     + QStringLiteral(", Notes = ") + TextLiteral(Notes())
                     + QStringLiteral(", IsInactive = ") + BoolLiteral(IsInactive())
                     + QStringLiteral(" WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    }
    Notify(dbPledges, added, !added, false, ID(), ContributorID());
}

void clsPledges::Delete_Record_from_DB()
{
    DB().Execute(QStringLiteral("DELETE FROM Pledges WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbPledges, false, false, true, ID(), ContributorID());
}

bool clsPledges::OK_to_Delete(bool showMessages)
{
    if (AmountIsZero(Amount()) || !clsOffering().Pledge_Used(ContributorID(), FundID()))
        return true;
    if (showMessages)
        Messages::Show(QStringLiteral("Offering has been collected for this Pledge, so it cannot be deleted."),
                       QStringLiteral("Delete"), Messages::Icon::Information);
    return false;
}

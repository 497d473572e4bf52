#include "clsOffering.h"

#include "core/Connection.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "core/modDBConnection.h"
#include "modDBKeys.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"

using namespace modDBConnection;
using namespace modGlobal;

namespace {
bool AnyOffering(const QString& where)
{
    Recordset rs(QStringLiteral("SELECT COUNT(ID) as NumRecs FROM Offering WHERE ") + where + QLatin1Char(';'), DB());
    return !rs.Eof() && FieldLong(rs.Field(QStringLiteral("NumRecs"))) >= 1;
}
} // namespace

clsOffering::clsOffering()
{
    Schema::MakeReady(tiOffering);
}

void clsOffering::Get_One_Record(const QString& where)
{
    const QString w = where.isEmpty() ? QStringLiteral("ID = ") + QString::number(ID()) : where;
    Recordset rs(QStringLiteral("SELECT * FROM Offering WHERE ") + w + QLatin1Char(';'), DB(), Recordset::Cursor::ForwardOnly);
    const bool found = !rs.Eof();
    auto field = [&](const char* name) { return found ? rs.Field(QLatin1String(name)) : QVariant(); };
    ID(FieldLong(field("ID")));
    ContributorID(FieldLong(field("ContributorID")));
    CollectionID(FieldLong(field("CollectionID")));
    FundID(FieldLong(field("FundID")));
    Amount(FieldDouble(field("Amount")));
    m_changed = false;
}

void clsOffering::Add_Record_to_DB()
{
    ID(modDBKeys::NextKey(QStringLiteral("Offering")));
    DB().Execute(QStringLiteral("INSERT INTO Offering (ID, ContributorID, CollectionID, FundID, Amount) VALUES (")
                 + QString::number(ID()) + QStringLiteral(", ") + QString::number(ContributorID()) + QStringLiteral(", ")
                 + QString::number(CollectionID()) + QStringLiteral(", ") + QString::number(FundID())
                 + QStringLiteral(", ") + NumberLiteral(Amount()) + QStringLiteral(");"));
    Notify(dbOffering, true, false, false, ID(), ContributorID());
}

void clsOffering::Update_Record_to_DB()
{
    if (!m_changed)
        return;
    DB().Execute(QStringLiteral("UPDATE Offering SET ContributorID = ") + QString::number(ContributorID())
                 + QStringLiteral(", CollectionID = ") + QString::number(CollectionID())
                 + QStringLiteral(", FundID = ") + QString::number(FundID())
                 + QStringLiteral(", Amount = ") + NumberLiteral(Amount())
                 + QStringLiteral(" WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbOffering, false, true, false, ID(), ContributorID());
}

void clsOffering::Delete_Record_from_DB()
{
    DB().Execute(QStringLiteral("DELETE FROM Offering WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbOffering, false, false, true, ID(), ContributorID());
}

bool clsOffering::Fund_Used(int fundID)
{
    return AnyOffering(QStringLiteral("FundID = ") + QString::number(fundID));
}

bool clsOffering::Contributor_Used(int contributorID)
{
    return AnyOffering(QStringLiteral("ContributorID = ") + QString::number(contributorID));
}

bool clsOffering::Pledge_Used(int contributorID, int fundID)
{
    return AnyOffering(QStringLiteral("((ContributorID = ") + QString::number(contributorID)
                       + QStringLiteral(") AND (FundID = ") + QString::number(fundID) + QStringLiteral("))"));
}

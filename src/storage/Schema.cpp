#include "Schema.h"

#include "core/Connection.h"
#include "CountTables.h"
#include "GiftTables.h"
#include "core/modDBConnection.h"

using namespace modDBConnection;
using modGlobal::TableIndex;

namespace Schema {

QList<Column> Columns(TableIndex t)
{
    switch (t) {
    case modGlobal::tiKeyGen:
        return {{QStringLiteral("LastKey"), TypeLong()}};
    case modGlobal::tiFunds:
        return {{QStringLiteral("FundName"), TypeText(30)},
                {QStringLiteral("IsPledgeable"), TypeBoolean()},
                {QStringLiteral("IsTaxDeductible"), TypeBoolean()},
                {QStringLiteral("IsInactive"), TypeBoolean()}};
    case modGlobal::tiChurch:
        return {{QStringLiteral("ChurchName"), TypeText(40)},   {QStringLiteral("Address1"), TypeText(40)},
                {QStringLiteral("Address2"), TypeText(40)},     {QStringLiteral("City"), TypeText(30)},
                {QStringLiteral("State"), TypeText(2)},         {QStringLiteral("ZipCode"), TypeText(10)},
                {QStringLiteral("Phone"), TypeText(40)},        {QStringLiteral("UseCurrentDate"), TypeBoolean()},
                {QStringLiteral("DayOfWeek"), TypeInteger()},   {QStringLiteral("DefaultFund2"), TypeLong()},
                {QStringLiteral("DefaultFund3"), TypeLong()},   {QStringLiteral("IRSStatement"), TypeText(200)},
                {QStringLiteral("Password"), TypeText(40)}};
    case modGlobal::tiContributors:
        return {{QStringLiteral("LastName"), TypeText(40)},   {QStringLiteral("FirstNames"), TypeText(40)},
                {QStringLiteral("Address1"), TypeText(40)},   {QStringLiteral("Address2"), TypeText(40)},
                {QStringLiteral("City"), TypeText(30)},       {QStringLiteral("State"), TypeText(2)},
                {QStringLiteral("ZipCode"), TypeText(10)},    {QStringLiteral("Phone"), TypeText(40)},
                {QStringLiteral("IsInactive"), TypeBoolean()}, {QStringLiteral("UseEnvelopes"), TypeBoolean()}};
    case modGlobal::tiPledges:
        return {{QStringLiteral("ContributorID"), TypeLong()}, {QStringLiteral("FundID"), TypeLong()},
                {QStringLiteral("AccountNumber"), TypeLong()}, {QStringLiteral("Amount"), TypeDouble()},
                {QStringLiteral("IsInactive"), TypeBoolean()}, {QStringLiteral("Notes"), TypeText(250)}};
    case modGlobal::tiCollection:
        return {{QStringLiteral("CollectionDate"), TypeDate()}, {QStringLiteral("Notation"), TypeText(40)}};
    case modGlobal::tiOffering:
        return {{QStringLiteral("ContributorID"), TypeLong()}, {QStringLiteral("CollectionID"), TypeLong()},
                {QStringLiteral("FundID"), TypeLong()}, {QStringLiteral("Amount"), TypeDouble()}};
    case modGlobal::tiColComment:
        return {{QStringLiteral("ContributorID"), TypeLong()}, {QStringLiteral("CollectionID"), TypeLong()},
                {QStringLiteral("Comment"), TypeText(200)}};
    default:
        return {};
    }
}

QString TableName(TableIndex t)
{
    switch (t) {
    case modGlobal::tiKeyGen: return QStringLiteral("KeyGen");
    case modGlobal::tiFunds: return QStringLiteral("Funds");
    case modGlobal::tiChurch: return QStringLiteral("Church");
    case modGlobal::tiContributors: return QStringLiteral("Contributors");
    case modGlobal::tiPledges: return QStringLiteral("Pledges");
    case modGlobal::tiCollection: return QStringLiteral("Collection");
    case modGlobal::tiOffering: return QStringLiteral("Offering");
    case modGlobal::tiColComment: return QStringLiteral("ColComment");
    default: return QString();
    }
}

QString CreateTableSql(TableIndex t)
{
    QStringList parts;
    if (t == modGlobal::tiKeyGen)
        parts << QStringLiteral("TableName ") + TypeText(40) + QStringLiteral(" NOT NULL PRIMARY KEY");
    else
        parts << QStringLiteral("[ID] ") + TypeLong() + QStringLiteral(" NOT NULL PRIMARY KEY");
    for (const Column& c : Columns(t))
        parts << c.name + QLatin1Char(' ') + c.type + QStringLiteral(" NULL");
    return QStringLiteral("CREATE TABLE ") + TableName(t) + QStringLiteral(" (") + parts.join(QStringLiteral(", "))
        + QLatin1Char(')');
}

QString ChurchUpgradeSql()
{
    return QStringLiteral("ALTER TABLE Church ADD AssignEnv ") + TypeBoolean() + QStringLiteral(" NULL;");
}

QStringList IndexSql(TableIndex t)
{
    switch (t) {
    case modGlobal::tiOffering:
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS idxOfferingContributorFund ON Offering (ContributorID, FundID)"),
                QStringLiteral("CREATE INDEX IF NOT EXISTS idxOfferingCollection ON Offering (CollectionID)"),
                // A fund's gifts within some sets (the trends' gifts paid
                // before the year) are found without reading all of the
                // fund's gifts; the index of the fund alone it replaces
                // answers nothing this one does not.
                QStringLiteral("DROP INDEX IF EXISTS idxOfferingFund"),
                QStringLiteral("CREATE INDEX IF NOT EXISTS idxOfferingFundCollection ON Offering (FundID, CollectionID)")};
    case modGlobal::tiPledges:
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS idxPledgesContributorFund ON Pledges (ContributorID, FundID)"),
                // Whether a year has any active pledge is answered from the
                // index alone (the offering window's fund lists).
                QStringLiteral("DROP INDEX IF EXISTS idxPledgesFund"),
                QStringLiteral("CREATE INDEX IF NOT EXISTS idxPledgesFundInactive ON Pledges (FundID, IsInactive)")};
    case modGlobal::tiColComment:
        return {QStringLiteral(
            "CREATE INDEX IF NOT EXISTS idxColCommentContributorCollection ON ColComment (ContributorID, CollectionID)")};
    case modGlobal::tiCollection:
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS idxCollectionDate ON Collection (CollectionDate)")};
    default:
        return {};
    }
}

void CreateTable(TableIndex t)
{
    Connection& db = modGlobal::DB();
    db.ExecuteDDL(CreateTableSql(t));
    if (t == modGlobal::tiChurch)
        db.ExecuteDDL(ChurchUpgradeSql());
    if (t == modGlobal::tiCollection)
        CountTables::Create(db);
    if (t == modGlobal::tiOffering)
        GiftTables::Create(db);
    for (const QString& sql : IndexSql(t))
        db.Execute(sql);
}

void MakeReady(TableIndex t)
{
    if (modGlobal::TableReady[t])
        return;
    CreateTable(t);
    modGlobal::TableReady[t] = true;
}

} // namespace Schema

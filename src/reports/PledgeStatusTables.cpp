#include "PledgeStatusTables.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"
#include "core/modDBConnection.h"

#include <QHash>

using namespace modGlobal;
using Type = ReportTable::Type;

namespace PledgeStatus {

namespace {
const QString kLoose = QStringLiteral("<Loose Offering>");

QString Name_Part(const QString& lastName, const QString& firstNames)
{
    return TrimBlanks(lastName) + QLatin1Char(' ') + TrimBlanks(firstNames);
}

QString Pledge_Part(double pledge)
{
    QString text = TrimBlanks(FormatAmount(10000000.0 - pledge));
    if (text.startsWith(QLatin1Char('$')))
        text.remove(0, 1);
    return text.rightJustified(20, QLatin1Char(' '));
}

struct Paid {
    double before = 0, now = 0;
};
} // namespace

QList<Item> Fund_List()
{
    QList<Item> items;
    const QString main = Fund_Display_Name(1);
    Recordset years(QStringLiteral("SELECT DISTINCT FundID FROM Pledges WHERE FundID < 0 ORDER BY FundID DESC;"), DB(),
                    Recordset::Cursor::ForwardOnly);
    for (; !years.Eof(); years.MoveNext()) {
        const int id = FieldLong(years.Field(0));
        items.push_back({QString::number(-id) + QLatin1Char(' ') + main, id});
    }
    Recordset funds(QStringLiteral("SELECT ID, FundName FROM Funds WHERE ((ID > 1) AND (IsPledgeable = ")
                        + modDBConnection::BoolLiteral(true) + QStringLiteral(")) ORDER BY FundName;"),
                    DB(), Recordset::Cursor::ForwardOnly);
    for (; !funds.Eof(); funds.MoveNext())
        items.push_back({FieldText(funds.Field(1)), FieldLong(funds.Field(0))});
    return items;
}

QList<Item> Sort_List()
{
    return {{QStringLiteral("Name Order"), NameOrder},
            {QStringLiteral("Envelope Number Order"), EnvelopeOrder},
            {QStringLiteral("Pledge Order"), PledgeOrder}};
}

QString Sort_Key(int order, qint64 envelope, double pledge, const QString& lastName, const QString& firstNames)
{
    const QString name = Name_Part(lastName, firstNames);
    switch (order) {
    case EnvelopeOrder:
        return QString::number(envelope).rightJustified(10, QLatin1Char(' ')) + name;
    case PledgeOrder:
        return Pledge_Part(pledge) + name;
    default:
        return name;
    }
}

QString Loose_Sort_Key(int order)
{
    switch (order) {
    case EnvelopeOrder:
        return QStringLiteral("         0 ") + kLoose;
    case PledgeOrder:
        return Pledge_Part(0) + kLoose;
    default:
        return kLoose;
    }
}

double Remaining(double pledge, double paid)
{
    return std::max(0.0, pledge - paid);
}

ReportTable Empty_Table()
{
    ReportTable t(QStringLiteral("PledgeStatus"));
    t.AppendField(QStringLiteral("ChurchName"), Type::Text, 50);
    t.AppendField(QStringLiteral("HeaderLine"), Type::Text, 200);
    t.AppendField(QStringLiteral("SortField"), Type::Text, 200);
    t.AppendField(QStringLiteral("Name"), Type::Text, 80);
    t.AppendField(QStringLiteral("EnvNum"), Type::BigInt);
    for (const char* f : {"Pledge", "PrePaid", "PaidNow", "Remaining", "Overpaid"})
        t.AppendField(QLatin1String(f), Type::Double);
    return t;
}

ReportTable Build(const Options& o)
{
    ReportTable t = Empty_Table();
    if (o.fundID == 0 || o.sortOrder < NameOrder || o.sortOrder > PledgeOrder)
        return t;
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));
    const QString fund = QString::number(o.fundID);
    const QString header = Fund_Display_Name(o.fundID) + QStringLiteral(" Pledge Status Report for the Period ") + ShortDate(o.begin)
        + QStringLiteral(" through ") + ShortDate(o.end);

    // What everybody paid to the fund up to the end date, in one pass.
    QHash<int, Paid> paid;
    Recordset pay(QStringLiteral("SELECT Offering.ContributorID, Offering.Amount, Collection.CollectionDate"
                                 " FROM Offering LEFT JOIN Collection ON Offering.CollectionID = Collection.ID"
                                 " WHERE ((Offering.FundID = ")
                      + fund + QStringLiteral(") AND (Collection.CollectionDate <= ") + modDBConnection::DateLiteral(o.end)
                      + QStringLiteral("));"),
                  DB(), Recordset::Cursor::ForwardOnly);
    for (; !pay.Eof(); pay.MoveNext()) {
        Paid& p = paid[FieldLong(pay.Field(0))];
        const double amount = FieldDouble(pay.Field(1));
        if (FieldDate(pay.Field(2)) < o.begin)
            p.before += amount;
        else
            p.now += amount;
    }

    auto row = [&](const QString& sortField, const QString& name, qint64 env, double pledge, const Paid& p) {
        t.AddNew();
        t.Set(QStringLiteral("ChurchName"), church.ChurchName());
        t.Set(QStringLiteral("HeaderLine"), header);
        t.Set(QStringLiteral("SortField"), sortField);
        if (o.showNames)
            t.Set(QStringLiteral("Name"), name);
        t.Set(QStringLiteral("EnvNum"), env);
        t.Set(QStringLiteral("Pledge"), pledge);
        t.Set(QStringLiteral("PrePaid"), p.before);
        t.Set(QStringLiteral("PaidNow"), p.now);
        t.Set(QStringLiteral("Remaining"), Remaining(pledge, p.before + p.now));
        t.Set(QStringLiteral("Overpaid"), std::max(0.0, (p.before + p.now) - pledge));
    };

    Recordset rs(QStringLiteral("SELECT Contributors.ID AS ContributorID, Contributors.LastName, Contributors.FirstNames, "
                                "(SELECT AccountNumber FROM Pledges WHERE Contributors.ID = Pledges.ContributorID AND FundID = ")
                     + fund
                     + QStringLiteral(") AS AccountNumber, (SELECT Amount FROM Pledges WHERE Contributors.ID = Pledges.ContributorID AND FundID = ")
                     + fund + QStringLiteral(") AS Amount FROM Contributors;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int id = FieldLong(rs.Field(0));
        const QString last = FieldText(rs.Field(1)), first = FieldText(rs.Field(2));
        const qint64 env = FieldLong(rs.Field(3));
        const double pledge = FieldDouble(rs.Field(4));
        const Paid p = paid.value(id);
        const bool gave = !AmountIsZero(p.before) || !AmountIsZero(p.now);
        if (!AmountIsZero(pledge) || (o.nonPledgers && gave))
            row(Sort_Key(o.sortOrder, env, pledge, last, first), NameJoin(last, first, true), env, pledge, p);
    }
    if (o.nonPledgers) {
        const Paid p = paid.value(1);
        if (!AmountIsZero(p.before) || !AmountIsZero(p.now))
            row(Loose_Sort_Key(o.sortOrder), kLoose, 0, 0, p);
    }
    return t;
}

} // namespace PledgeStatus

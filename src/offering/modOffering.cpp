#include "modOffering.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "core/modDBConnection.h"

using namespace modGlobal;

namespace modOffering {

namespace {
bool IsZeroText(const QString& amountText)
{
    return AmountIsZero(AmountValue(AmountText(amountText)));
}
} // namespace

QList<FundItem> Fund_List_Items()
{
    const int y = ProcessingYear;
    clsFunds main;
    main.Get_One_Record(QStringLiteral("ID = 1"));
    const QString m = main.FundName();
    QList<FundItem> items;
    for (int year : {y - 1, y, y + 1})
        items.append({QString::number(year) + QLatin1Char(' ') + m, -year});
    // The years are found by stepping through the fund index from one year
    // to the next, not by reading every pledge of every year: the window
    // opens as quickly with 20,000 contributors as with 200.
    Recordset years(QStringLiteral("WITH RECURSIVE y(f) AS (SELECT MIN(FundID) FROM Pledges WHERE FundID < 0 "
                                   "UNION ALL SELECT (SELECT MIN(FundID) FROM Pledges WHERE FundID > y.f AND FundID < 0) "
                                   "FROM y WHERE y.f IS NOT NULL) "
                                   "SELECT f AS FundID FROM y WHERE f IS NOT NULL AND EXISTS (SELECT 1 FROM Pledges "
                                   "WHERE FundID = y.f AND IsInactive = ")
                        + modDBConnection::BoolLiteral(false) + QStringLiteral(");"),
                    DB());
    for (; !years.Eof(); years.MoveNext()) {
        const int x = -FieldLong(years.Field(QStringLiteral("FundID")));
        if (x < y - 1 || x > y + 1)
            items.append({QString::number(x) + QLatin1Char(' ') + m, -x});
    }
    Recordset funds(QStringLiteral("SELECT ID, FundName FROM Funds WHERE ((ID > 1) AND (IsInactive = ")
                        + modDBConnection::BoolLiteral(false) + QStringLiteral(")) ORDER BY FundName;"),
                    DB());
    for (; !funds.Eof(); funds.MoveNext())
        items.append({FieldText(funds.Field(QStringLiteral("FundName"))), FieldLong(funds.Field(QStringLiteral("ID")))});
    return items;
}

void Fill_Fund_Lists(OfferingLines& lines)
{
    const QList<FundItem> items = Fund_List_Items();
    for (OfferingLine& line : lines) {
        line.items = items;
        line.selected = -1;
    }
}

void Clear_Offering_Lines(OfferingLines& lines)
{
    for (OfferingLine& line : lines) {
        line.lineFundID = 0;
        line.amount = QStringLiteral("0");
        line.offeringID = 0;
    }
}

bool Line_Is_Free(const OfferingLines& lines, int line)
{
    if (line < 1 || line > lines.size())
        return false;
    const OfferingLine& l = lines.at(line - 1);
    return l.lineFundID == 0 && l.offeringID == 0 && IsZeroText(l.amount);
}

void Put_On_Line(OfferingLines& lines, int line, int offeringID, int fundID, double amount)
{
    OfferingLine& l = lines[line - 1];
    l.lineFundID = fundID;
    l.amount = modDBConnection::NumberLiteral(amount);
    l.offeringID = offeringID;
}

bool Place_Offering(OfferingLines& lines, int offeringID, int fundID, double amount, int defaultFund2, int defaultFund3)
{
    const int n = int(lines.size());
    auto put = [&](int line) {
        Put_On_Line(lines, line, offeringID, fundID, amount);
        return true;
    };
    if (Line_Is_Free(lines, 1) && fundID == -ProcessingYear)
        return put(1);
    if (Line_Is_Free(lines, 2) && fundID == defaultFund2)
        return put(2);
    if (Line_Is_Free(lines, 3) && fundID == defaultFund3)
        return put(3);
    const int start = defaultFund2 == 0 ? 2 : (defaultFund3 == 0 ? 3 : 4);
    for (int i = start; i <= n; ++i)
        if (Line_Is_Free(lines, i))
            return put(i);
    for (int i = 1; i <= n; ++i)
        if (Line_Is_Free(lines, i))
            return put(i);
    return false;
}

std::pair<int, int> Get_Default_Funds()
{
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));
    const int f3 = church.DefaultFund3();
    const int f2 = church.DefaultFund2() == 0 ? f3 : church.DefaultFund2();
    return {f2, f3};
}

void Show_Offering_Lines(OfferingLines& lines)
{
    for (OfferingLine& line : lines) {
        line.selected = -1;
        for (int k = 0; k < line.items.size(); ++k) {
            if (line.items.at(k).fundID == line.lineFundID) {
                line.selected = k;
                break;
            }
        }
        if (line.selected < 0 && !IsZeroText(line.amount)) {
            // A fund not offered (inactive, or gone): an item of its own, on this line only.
            clsFunds fund;
            fund.Get_One_Record(line.lineFundID >= 0 ? QStringLiteral("ID = ") + QString::number(line.lineFundID)
                                                     : QStringLiteral("ID = 1"));
            const QString name = line.lineFundID >= 0
                ? fund.FundName()
                : QString::number(-line.lineFundID) + QLatin1Char(' ') + fund.FundName();
            line.items.append({name, line.lineFundID});
            if (!fund.FundName().trimmed().isEmpty())
                line.selected = int(line.items.size()) - 1;
        }
        line.amount = AmountText(line.amount);
    }
}

OfferingLines Load_Offering_Lines(int contributorID, int collectionID, int n)
{
    const auto [f2, f3] = Get_Default_Funds();
    OfferingLines lines(n);
    Fill_Fund_Lists(lines);
    Clear_Offering_Lines(lines);
    Recordset rs(QStringLiteral("SELECT ID, FundID, Amount FROM Offering WHERE ((ContributorID = ")
                     + QString::number(contributorID) + QStringLiteral(") AND (CollectionID = ")
                     + QString::number(collectionID) + QStringLiteral("));"),
                 DB());
    for (; !rs.Eof(); rs.MoveNext())
        Place_Offering(lines, FieldLong(rs.Field(QStringLiteral("ID"))), FieldLong(rs.Field(QStringLiteral("FundID"))),
                       FieldDouble(rs.Field(QStringLiteral("Amount"))), f2, f3);
    const int reserved[3] = {-ProcessingYear, f2, f3};
    for (int i = 1; i <= 3 && i <= n; ++i)
        if (Line_Is_Free(lines, i))
            Put_On_Line(lines, i, 0, reserved[i - 1], 0);
    Show_Offering_Lines(lines);
    return lines;
}

void Save_Offering_Lines(const OfferingLines& lines, int contributorID, int collectionID)
{
    Connection::Transaction tx(DB());
    for (const OfferingLine& line : lines) {
        const double amount = AmountValue(AmountText(line.amount));
        if (AmountIsZero(amount)) {
            if (line.offeringID != 0) {
                clsOffering gone;
                gone.ID(line.offeringID);
                gone.ContributorID(contributorID);
                gone.Delete_Record_from_DB();
            }
            continue;
        }
        clsOffering o;
        o.ID(line.offeringID);
        o.Amount(amount);
        o.CollectionID(collectionID);
        o.ContributorID(contributorID);
        o.FundID(line.ChosenFund());
        if (line.offeringID == 0)
            o.Add_Record_to_DB();
        else
            o.Update_Record_to_DB();
    }
    tx.Commit();
}

void Refresh_Fund_Lists(OfferingLines& lines)
{
    Fill_Fund_Lists(lines);
    Show_Offering_Lines(lines);
}

QString Validate_Lines(const OfferingLines& lines)
{
    QStringList problems;
    for (const OfferingLine& line : lines)
        if (!line.HasFund() && !AmountIsZero(AmountValue(line.amount)))
            problems << QStringLiteral("Please select a fund for the ") + line.amount + QStringLiteral(" contribution.");
    return problems.join(QStringLiteral("\r\n"));
}

} // namespace modOffering

#include "WeeklyReportTables.h"

#include "DepositTables.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsCollection.h"
#include "storage/clsFunds.h"
#include "core/modDBConnection.h"

#include <QHash>

using namespace modGlobal;
using Type = ReportTable::Type;

namespace WeeklyReport {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// Text of a Funds row by ID; a negative or unknown ID has no row.
QString Funds_Row_Name(int fundID)
{
    return fundID > 0 ? Fund_Display_Name(fundID) : QString();
}

// What the lines need to know of the set's contributors, read with one
// query each for the whole set rather than a few per gift: their
// envelope numbers, their pledges to the year's main fund, and what they
// paid on it before this set. The pledged share is then the same sum as
// modGlobal::Pledged_Share makes for one gift.
class SetContext {
public:
    SetContext(int collectionID, const QDate& date, int year)
    {
        const QString f = QString::number(-year), k = QString::number(collectionID);
        const QString d = modDBConnection::DateLiteral(date);
        // The first pledge of a contributor counts, as a one-row lookup finds it.
        Recordset pledges(QStringLiteral("SELECT ContributorID, AccountNumber, Amount FROM Pledges WHERE FundID = ") + f
                              + QStringLiteral(" ORDER BY ID;"),
                          DB(), Recordset::Cursor::ForwardOnly);
        for (; !pledges.Eof(); pledges.MoveNext()) {
            const int c = FieldLong(pledges.Field(0));
            if (!m_envelope.contains(c)) {
                m_envelope.insert(c, FieldLong(pledges.Field(1)));
                m_pledge.insert(c, FieldDouble(pledges.Field(2)));
            }
        }
        // Earlier means in another set dated before this one, or on the
        // same date with a smaller number. The earlier sets are picked
        // first, so that the gifts are found through the fund's index by set
        // rather than each looked up in the sets' table (a third of the time
        // of the largest set's report at 20,000 contributors).
        Recordset paid(QStringLiteral("SELECT ContributorID, Sum(Amount) AS AmountPaid FROM Offering WHERE FundID = ") + f
                           + QStringLiteral(" AND CollectionID IN (SELECT ID FROM Collection WHERE ID <> ") + k
                           + QStringLiteral(" AND (CollectionDate < ") + d + QStringLiteral(" OR (CollectionDate = ") + d
                           + QStringLiteral(" AND ID < ") + k
                           + QStringLiteral("))) AND ContributorID IN (SELECT ContributorID FROM Offering WHERE CollectionID = ") + k
                           + QStringLiteral(" AND FundID = ") + f + QStringLiteral(") GROUP BY ContributorID;"),
                       DB(), Recordset::Cursor::ForwardOnly);
        for (; !paid.Eof(); paid.MoveNext())
            m_paid.insert(FieldLong(paid.Field(0)), FieldDouble(paid.Field(1)));
    }

    // The account number of the contributor's pledge to the year's main
    // fund, -1 without such a pledge.
    int Envelope(int contributorID) const { return m_envelope.value(contributorID, -1); }

    double Pledged_Share(int contributorID, double amount) const
    {
        const double remaining = std::max(0.0, m_pledge.value(contributorID, 0.0) - m_paid.value(contributorID, 0.0));
        return amount < remaining ? amount : remaining;
    }

private:
    QHash<int, int> m_envelope;
    QHash<int, double> m_pledge, m_paid;
};

class DetailBuilder {
public:
    DetailBuilder(ReportTable& detail, const SetContext& set, bool showNames) : m_t(detail), m_set(set), m_showNames(showNames) {}

    void New_Row(int contributorID, const QString& lastName, const QString& firstNames)
    {
        m_t.AddNew();
        m_t.Set(QStringLiteral("LinkField"), 1);
        m_t.Set(QStringLiteral("ID"), contributorID);
        if (contributorID == 1) {
            m_t.Set(QStringLiteral("Contributor"), QStringLiteral("Loose Offering"));
            m_t.Set(QStringLiteral("EnvNum"), 0);
            m_t.Set(QStringLiteral("LOFlag"), 0);
        } else {
            m_t.Set(QStringLiteral("LOFlag"), 1);
            if (m_showNames) {
                m_t.Set(QStringLiteral("Contributor"), NameJoin(lastName, firstNames, true));
            } else if (const int env = m_set.Envelope(contributorID); env >= 0) {
                m_t.Set(QStringLiteral("EnvNum"), env);
            } else {
                m_t.Set(QStringLiteral("EnvNum"), contributorID);
                m_t.Set(QStringLiteral("Contributor"), QStringLiteral("*"));
            }
        }
        for (const char* f : {"MainPledged", "MainUnpledged", "SecondFund", "ThirdFund", "OtherFund"})
            m_t.Set(QLatin1String(f), 0.0);
        m_t.Set(QStringLiteral("OtherDesc"), QString());
    }

private:
    ReportTable& m_t;
    const SetContext& m_set;
    bool m_showNames;
};
} // namespace

Tables Empty_Tables()
{
    Tables t;
    t.header.AppendField(QStringLiteral("LinkField"), Type::Long);
    t.header.AppendField(QStringLiteral("ChurchInfo"), Type::Text, 300);
    // Room for the longest fund name with its line breaks and "Unpledged":
    // a heading cut short would print a fund that does not exist.
    t.header.AppendField(QStringLiteral("MainPledged"), Type::Text, 80);
    t.header.AppendField(QStringLiteral("MainUnPledged"), Type::Text, 80);
    t.header.AppendField(QStringLiteral("SecondFund"), Type::Text, 80);
    t.header.AppendField(QStringLiteral("ThirdFund"), Type::Text, 80);

    t.detail.AppendField(QStringLiteral("LinkField"), Type::Long);
    t.detail.AppendField(QStringLiteral("ID"), Type::BigInt);
    t.detail.AppendField(QStringLiteral("LOFlag"), Type::Long);
    t.detail.AppendField(QStringLiteral("EnvNum"), Type::BigInt);
    t.detail.AppendField(QStringLiteral("Contributor"), Type::Text, 62);
    t.detail.AppendField(QStringLiteral("MainPledged"), Type::Double);
    t.detail.AppendField(QStringLiteral("MainUnpledged"), Type::Double);
    t.detail.AppendField(QStringLiteral("SecondFund"), Type::Double);
    t.detail.AppendField(QStringLiteral("ThirdFund"), Type::Double);
    t.detail.AppendField(QStringLiteral("OtherFund"), Type::Double);
    t.detail.AppendField(QStringLiteral("OtherDesc"), Type::Text, 30);

    t.fundTotals.AppendField(QStringLiteral("FundID"), Type::BigInt);
    t.fundTotals.AppendField(QStringLiteral("FundName"), Type::Text, 60);
    t.fundTotals.AppendField(QStringLiteral("Amount"), Type::Double);
    return t;
}

std::pair<int, int> Report_Funds(int collectionID, int second, int third)
{
    if (second != 0 && third != 0)
        return {second, third};
    // The year's main fund has its own two columns: as the second or third
    // fund it would head a column that never holds money.
    clsCollection collection;
    collection.Get_One_Record(QStringLiteral("ID = ") + QString::number(collectionID));
    const int mainFund = -collection.CollectionDate().year();
    Recordset rs(QStringLiteral("SELECT FundID, Count(FundID) AS CountOfFundID FROM Offering GROUP BY CollectionID, FundID"
                                " HAVING (CollectionID = ")
                     + QString::number(collectionID) + QStringLiteral(") ORDER BY Count(FundID) DESC;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof() && (second == 0 || third == 0); rs.MoveNext()) {
        if (FieldLong(rs.Field(QStringLiteral("CountOfFundID"))) < 1)
            continue;
        const int fund = FieldLong(rs.Field(QStringLiteral("FundID")));
        if (fund == mainFund || fund == second || fund == third)
            continue;
        if (second == 0)
            second = fund;
        else
            third = fund;
    }
    return {second, third};
}

std::optional<Tables> Build(int collectionID, bool showNames)
{
    clsCollection collection;
    collection.Get_One_Record(QStringLiteral("ID = ") + QString::number(collectionID));
    if (collectionID < 1 || collection.ID() != collectionID)
        return std::nullopt;
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));

    Tables t = Empty_Tables();
    t.date = collection.CollectionDate();
    const int year = t.date.year();
    const QString k = QString::number(collectionID);
    const QString notation = collection.Notation();

    t.header.AddNew();
    t.header.Set(QStringLiteral("LinkField"), 1);
    t.header.Set(QStringLiteral("ChurchInfo"), church.ChurchName() + kCrLf + kCrLf + QStringLiteral("Collection Number ") + k
                                                   + QStringLiteral(" for ") + LongDate(t.date) + kCrLf + notation);
    t.caption = QStringLiteral("Collections Report - Collection Number ") + k + QStringLiteral(" for ") + LongDate(t.date);
    if (!TrimBlanks(notation).isEmpty())
        t.caption += QStringLiteral(", ") + notation;

    std::tie(t.secondFund, t.thirdFund) = Report_Funds(collectionID, church.DefaultFund2(), church.DefaultFund3());
    const QString main = HeadingWrap(MainFundName, 3);
    t.header.Set(QStringLiteral("MainPledged"), main + kCrLf + QStringLiteral("Pledged"));
    t.header.Set(QStringLiteral("MainUnPledged"), main + kCrLf + QStringLiteral("Unpledged"));
    t.header.Set(QStringLiteral("SecondFund"), HeadingWrap(Funds_Row_Name(t.secondFund), 4));
    t.header.Set(QStringLiteral("ThirdFund"), HeadingWrap(Funds_Row_Name(t.thirdFund), 4));
    t.count = Deposit::Count_Sheet(collectionID);

    Recordset rs(QStringLiteral("SELECT Offering.ContributorID, Offering.FundID, Offering.Amount, Funds.FundName, "
                                "Contributors.LastName, Contributors.FirstNames"
                                " FROM (Offering LEFT JOIN Funds ON Offering.FundID = Funds.ID) LEFT JOIN Contributors ON "
                                "Offering.ContributorID = Contributors.ID"
                                " WHERE (Offering.CollectionID = ")
                     + k + QStringLiteral(") ORDER BY Offering.ContributorID, Offering.FundID;"),
                 DB());
    ReportTable& d = t.detail;
    const SetContext context(collectionID, t.date, year);
    DetailBuilder rows(d, context, showNames);
    QHash<int, int> totalRow; // fund reference -> row of the fund totals
    int previous = 0;
    bool first = true;
    for (; !rs.Eof(); rs.MoveNext()) {
        const int contributor = FieldLong(rs.Field(QStringLiteral("ContributorID")));
        const int fund = FieldLong(rs.Field(QStringLiteral("FundID")));
        const double amount = FieldDouble(rs.Field(QStringLiteral("Amount")));
        const QString last = FieldText(rs.Field(QStringLiteral("LastName")));
        const QString firstNames = FieldText(rs.Field(QStringLiteral("FirstNames")));
        if (first || contributor != previous)
            rows.New_Row(contributor, last, firstNames);
        first = false;
        previous = contributor;

        // A column already holding an amount starts another line for the
        // same contributor, so no gift is written over.
        auto put = [&](const QString& column) {
            if (d.IsEmpty() || !AmountIsZero(d.Double(d.Current(), column)))
                rows.New_Row(contributor, last, firstNames);
            d.Set(column, amount);
        };
        if (fund == -year) {
            // A correction (a negative amount) takes back money counted as
            // pledged, as the Totals tab counts it; cutting both shares at 0
            // would drop it from the columns and their totals.
            double pledged = amount, unpledged = 0;
            if (amount >= 0) {
                pledged = std::max(0.0, context.Pledged_Share(contributor, amount));
                unpledged = std::max(0.0, amount - pledged);
            }
            d.Set(QStringLiteral("MainPledged"), d.Double(d.Current(), QStringLiteral("MainPledged")) + pledged);
            d.Set(QStringLiteral("MainUnpledged"), d.Double(d.Current(), QStringLiteral("MainUnpledged")) + unpledged);
        } else if (fund == t.secondFund) {
            put(QStringLiteral("SecondFund"));
        } else if (fund == t.thirdFund) {
            put(QStringLiteral("ThirdFund"));
        } else {
            put(QStringLiteral("OtherFund"));
            d.Set(QStringLiteral("OtherDesc"),
                  fund < 0 ? Fund_Display_Name(fund) : FieldText(rs.Field(QStringLiteral("FundName"))));
        }

        auto it = totalRow.find(fund);
        if (it == totalRow.end()) {
            t.fundTotals.AddNew();
            t.fundTotals.Set(QStringLiteral("FundID"), fund);
            t.fundTotals.Set(QStringLiteral("FundName"), Fund_Display_Name(fund));
            t.fundTotals.Set(QStringLiteral("Amount"), 0.0);
            it = totalRow.insert(fund, t.fundTotals.Current());
        }
        t.fundTotals.Set(it.value(), QStringLiteral("Amount"), t.fundTotals.Double(it.value(), QStringLiteral("Amount")) + amount);
    }
    if (d.IsEmpty()) {
        d.AddNew();
        d.Set(QStringLiteral("LinkField"), 1);
    }
    return t;
}

} // namespace WeeklyReport

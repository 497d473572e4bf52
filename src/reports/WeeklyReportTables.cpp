#include "WeeklyReportTables.h"

#include "offering/CollectionTotals.h"
#include "shell/Helpers.h"
#include "shell/modGlobal.h"
#include "storage/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsCollection.h"
#include "storage/clsFunds.h"

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

class DetailBuilder {
public:
    DetailBuilder(ReportTable& detail, int year, bool showNames) : m_t(detail), m_year(year), m_showNames(showNames) {}

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
            } else if (const int env = Envelope(contributorID); env >= 0) {
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
    // The account number of the contributor's pledge to the year's main
    // fund, -1 without such a pledge. Asked once per contributor.
    int Envelope(int contributorID)
    {
        if (auto it = m_envelopes.constFind(contributorID); it != m_envelopes.constEnd())
            return it.value();
        Recordset rs(QStringLiteral("SELECT AccountNumber FROM Pledges WHERE ((ContributorID = ")
                         + QString::number(contributorID) + QStringLiteral(") AND (FundID = ")
                         + QString::number(-m_year) + QStringLiteral("));"),
                     DB(), Recordset::Cursor::ForwardOnly);
        const int env = rs.Eof() ? -1 : FieldLong(rs.Field(0));
        m_envelopes.insert(contributorID, env);
        return env;
    }

    ReportTable& m_t;
    int m_year;
    bool m_showNames;
    QHash<int, int> m_envelopes;
};
} // namespace

Tables Empty_Tables()
{
    Tables t;
    t.header.AppendField(QStringLiteral("LinkField"), Type::Long);
    t.header.AppendField(QStringLiteral("ChurchInfo"), Type::Text, 300);
    t.header.AppendField(QStringLiteral("MainPledged"), Type::Text, 50);
    t.header.AppendField(QStringLiteral("MainUnPledged"), Type::Text, 50);
    t.header.AppendField(QStringLiteral("SecondFund"), Type::Text, 50);
    t.header.AppendField(QStringLiteral("ThirdFund"), Type::Text, 50);

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
    Recordset rs(QStringLiteral("SELECT FundID, Count(FundID) AS CountOfFundID FROM Offering GROUP BY CollectionID, FundID"
                                " HAVING (CollectionID = ")
                     + QString::number(collectionID) + QStringLiteral(") ORDER BY Count(FundID) DESC;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof() && (second == 0 || third == 0); rs.MoveNext()) {
        if (FieldLong(rs.Field(QStringLiteral("CountOfFundID"))) < 1)
            continue;
        const int fund = FieldLong(rs.Field(QStringLiteral("FundID")));
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

    Recordset rs(QStringLiteral("SELECT Offering.ContributorID, Offering.FundID, Offering.Amount, Funds.FundName, "
                                "Contributors.LastName, Contributors.FirstNames"
                                " FROM (Offering LEFT JOIN Funds ON Offering.FundID = Funds.ID) LEFT JOIN Contributors ON "
                                "Offering.ContributorID = Contributors.ID"
                                " WHERE (Offering.CollectionID = ")
                     + k + QStringLiteral(") ORDER BY Offering.ContributorID, Offering.FundID;"),
                 DB());
    ReportTable& d = t.detail;
    DetailBuilder rows(d, year, showNames);
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
                pledged = std::max(0.0, Pledged_Share(fund, contributor, collectionID, amount, t.date));
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

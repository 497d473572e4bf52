// The tables of the weekly collection report, value by value, without any
// window; and on a generated data set, that its totals agree with the
// offering window's Totals tab for every collection set of a year.
#include "offering/CollectionTotals.h"
#include "reports/ReportQueries.h"
#include "reports/WeeklyReportTables.h"
#include "support/GeneratedBooks.h"
#include "support/CoreTest.h"

#include "support/ChurchSettings.h"

using namespace modGlobal;

namespace {
const QString CRLF = QStringLiteral("\r\n");

// A detail line as text, for comparing whole lines at once:
// "ID LOFlag EnvNum Contributor | pledged unpledged second third other desc".
QString Line(const ReportTable& d, int r)
{
    auto v = [&](const char* f) {
        const QVariant x = d.Value(r, QLatin1String(f));
        return x.isValid() ? x.toString() : QStringLiteral("-");
    };
    auto m = [&](const char* f) { return QString::number(d.Double(r, QLatin1String(f)), 'f', 2); };
    return QStringLiteral("%1 %2 %3 %4 | %5 %6 %7 %8 %9 %10")
        .arg(v("ID"), v("LOFlag"), v("EnvNum"), v("Contributor"), m("MainPledged"), m("MainUnpledged"), m("SecondFund"),
             m("ThirdFund"), m("OtherFund"), v("OtherDesc"));
}

QStringList Lines(const ReportTable& d)
{
    QStringList out;
    for (int r = 0; r < d.RowCount(); ++r)
        out << Line(d, r);
    return out;
}

QStringList FundTotals(const ReportTable& t)
{
    QStringList out;
    for (int r = 0; r < t.RowCount(); ++r)
        out << QStringLiteral("%1 %2 %3").arg(t.Integer(r, "FundID")).arg(t.Text(r, "FundName")).arg(t.Double(r, "Amount"), 0, 'f', 2);
    return out;
}
} // namespace

class tst_WeeklyTables : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_data.reset(); }
    void headerAndCaption();
    void secondAndThirdFund();
    void detailLinesByEnvelopeAndByName();
    void pledgedAndUnpledgedShares();
    void emptyAndMissingCollection();
    void collectionList();
    void totalsAgreeWithTheTotalsTabOnAGeneratedYear();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0, m_missions = 0, m_flowers = 0;
    int m_smith = 0, m_jones = 0, m_brown = 0;
};

void tst_WeeklyTables::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_building = m_data->AddFund("Building Fund");
    m_missions = m_data->AddFund("Missions");
    m_flowers = m_data->AddFund("Easter Flowers and Lilies", false, false);
    m_smith = m_data->AddContributor("Smith", "John & Mary");
    m_jones = m_data->AddContributor("Jones", "Ann");
    m_brown = m_data->AddContributor("Brown", "Carl");
    m_data->AddPledge(m_smith, -2025, 520, 7);
    m_data->AddPledge(m_jones, -2025, 100, 12);
    SetReportFunds(m_building, m_missions, "Grace Church");
}

void tst_WeeklyTables::headerAndCaption()
{
    const int easter = m_data->AddCollection(QDate(2025, 4, 20), "Easter Sunday");
    const int plain = m_data->AddCollection(QDate(2025, 4, 27));
    auto t = WeeklyReport::Build(easter, false);
    QVERIFY(t);
    QCOMPARE(t->header.RowCount(), 1);
    QCOMPARE(t->header.Integer(0, "LinkField"), 1);
    QCOMPARE(t->header.Text(0, "ChurchInfo"),
             "Grace Church" + CRLF + CRLF + QStringLiteral("Collection Number %1 for April 20, 2025").arg(easter) + CRLF
                 + "Easter Sunday");
    QCOMPARE(t->caption, QStringLiteral("Collections Report - Collection Number %1 for April 20, 2025, Easter Sunday").arg(easter));

    t = WeeklyReport::Build(plain, false);
    QCOMPARE(t->header.Text(0, "ChurchInfo"),
             "Grace Church" + CRLF + CRLF + QStringLiteral("Collection Number %1 for April 27, 2025").arg(plain) + CRLF);
    QCOMPARE(t->caption, QStringLiteral("Collections Report - Collection Number %1 for April 27, 2025").arg(plain));

    // Column titles: the main fund in three lines over "Pledged" and
    // "Unpledged", the other two funds in four lines, short names at the bottom.
    QCOMPARE(t->header.Text(0, "MainPledged"), CRLF + "Operating" + CRLF + "Fund" + CRLF + "Pledged");
    QCOMPARE(t->header.Text(0, "MainUnPledged"), CRLF + "Operating" + CRLF + "Fund" + CRLF + "Unpledged");
    QCOMPARE(t->header.Text(0, "SecondFund"), CRLF + CRLF + "Building" + CRLF + "Fund");
    QCOMPARE(t->header.Text(0, "ThirdFund"), CRLF + CRLF + CRLF + "Missions");
}

void tst_WeeklyTables::secondAndThirdFund()
{
    const int set = m_data->AddCollection(QDate(2025, 6, 1));
    // Flowers given three times, the main fund twice, Missions once.
    for (int c : {m_smith, m_jones, m_brown})
        m_data->AddOffering(c, set, m_flowers, 5);
    m_data->AddOffering(m_smith, set, -2025, 50);
    m_data->AddOffering(m_jones, set, -2025, 20);
    m_data->AddOffering(m_brown, set, m_missions, 10);

    QCOMPARE(WeeklyReport::Report_Funds(set, m_building, m_missions), std::make_pair(m_building, m_missions));
    // Unset: the most used funds of the set, never the year's main fund
    // (it has its own columns) nor the fund already chosen.
    QCOMPARE(WeeklyReport::Report_Funds(set, 0, 0), std::make_pair(m_flowers, m_missions));
    QCOMPARE(WeeklyReport::Report_Funds(set, m_missions, 0), std::make_pair(m_missions, m_flowers));
    QCOMPARE(WeeklyReport::Report_Funds(set, 0, m_building), std::make_pair(m_flowers, m_building));
    QCOMPARE(WeeklyReport::Report_Funds(set, m_flowers, 0), std::make_pair(m_flowers, m_missions));

    SetReportFunds(0, 0);
    auto t = WeeklyReport::Build(set, false);
    QCOMPARE(t->secondFund, m_flowers);
    QCOMPARE(t->thirdFund, m_missions);
    QCOMPARE(t->header.Text(0, "SecondFund"), "Easter" + CRLF + "Flowers" + CRLF + "and" + CRLF + "Lilies");
    QCOMPARE(t->header.Text(0, "ThirdFund"), CRLF + CRLF + CRLF + "Missions");
    // Missions lands under its own column, not under "Other".
    double third = 0, other = 0;
    for (int r = 0; r < t->detail.RowCount(); ++r) {
        third += t->detail.Double(r, "ThirdFund");
        other += t->detail.Double(r, "OtherFund");
    }
    QCOMPARE(third, 10.0);
    QCOMPARE(other, 0.0);

    // A set without offerings and no defaults leaves both unset.
    const int empty = m_data->AddCollection(QDate(2025, 6, 8));
    QCOMPARE(WeeklyReport::Report_Funds(empty, 0, 0), std::make_pair(0, 0));
}

void tst_WeeklyTables::detailLinesByEnvelopeAndByName()
{
    const int before = m_data->AddCollection(QDate(2025, 1, 5));
    const int set = m_data->AddCollection(QDate(2025, 3, 2));
    m_data->AddOffering(m_smith, before, -2025, 500);
    m_data->AddOffering(1, set, -2025, 75.5);
    m_data->AddOffering(1, set, m_building, 12);
    m_data->AddOffering(m_smith, set, -2025, 50);
    m_data->AddOffering(m_smith, set, m_building, 25);
    m_data->AddOffering(m_smith, set, m_flowers, 10);
    m_data->AddOffering(m_smith, set, -2024, 40); // last year's pledge paid late
    m_data->AddOffering(m_jones, set, m_missions, 15);
    m_data->AddOffering(m_brown, set, -2025, 30);
    m_data->AddOffering(m_brown, set, m_flowers, 5);

    auto t = WeeklyReport::Build(set, false);
    QVERIFY(t);
    // The loose offering; Smith with his envelope 7, his two "other" funds
    // on two lines (last year's main fund by its year and the main fund's
    // name); Jones by envelope 12; Brown, without a pledge, by his ID and "*".
    const QString s = QString::number(m_smith), j = QString::number(m_jones), b = QString::number(m_brown);
    QCOMPARE(Lines(t->detail), QStringList({
                                   "1 0 0 Loose Offering | 0.00 75.50 12.00 0.00 0.00 ",
                                   s + " 1 7 - | 20.00 30.00 25.00 0.00 40.00 2024 Operating Fund",
                                   s + " 1 7 - | 0.00 0.00 0.00 0.00 10.00 Easter Flowers and Lilies",
                                   j + " 1 12 - | 0.00 0.00 0.00 15.00 0.00 ",
                                   b + " 1 " + b + " * | 0.00 30.00 0.00 0.00 5.00 Easter Flowers and Lilies",
                               }));
    QCOMPARE(FundTotals(t->fundTotals), QStringList({"-2025 2025 Operating Fund 155.50", QString::number(m_building) + " Building Fund 37.00",
                                                     "-2024 2024 Operating Fund 40.00",
                                                     QString::number(m_flowers) + " Easter Flowers and Lilies 15.00",
                                                     QString::number(m_missions) + " Missions 15.00"}));

    t = WeeklyReport::Build(set, true);
    QCOMPARE(Lines(t->detail), QStringList({
                                   "1 0 0 Loose Offering | 0.00 75.50 12.00 0.00 0.00 ",
                                   s + " 1 - Smith, John & Mary | 20.00 30.00 25.00 0.00 40.00 2024 Operating Fund",
                                   s + " 1 - Smith, John & Mary | 0.00 0.00 0.00 0.00 10.00 Easter Flowers and Lilies",
                                   j + " 1 - Jones, Ann | 0.00 0.00 0.00 15.00 0.00 ",
                                   b + " 1 - Brown, Carl | 0.00 30.00 0.00 0.00 5.00 Easter Flowers and Lilies",
                               }));
}

void tst_WeeklyTables::pledgedAndUnpledgedShares()
{
    // Two sets on one date: the one with the smaller number counts as before.
    const int first = m_data->AddCollection(QDate(2025, 5, 4));
    const int second = m_data->AddCollection(QDate(2025, 5, 4));
    m_data->AddOffering(m_jones, first, -2025, 80);
    m_data->AddOffering(m_jones, second, -2025, 50);
    // A correction in the second set takes money back from the pledged share.
    m_data->AddOffering(m_smith, second, -2025, -20);
    auto t = WeeklyReport::Build(first, false);
    QCOMPARE(Line(t->detail, 0), QString::number(m_jones) + " 1 12 - | 80.00 0.00 0.00 0.00 0.00 ");
    t = WeeklyReport::Build(second, false);
    QCOMPARE(Lines(t->detail), QStringList({QString::number(m_smith) + " 1 7 - | -20.00 0.00 0.00 0.00 0.00 ",
                                            QString::number(m_jones) + " 1 12 - | 20.00 30.00 0.00 0.00 0.00 "}));
    // The detail columns add up to the set's total, the correction included.
    double columns = 0;
    for (int r = 0; r < t->detail.RowCount(); ++r)
        for (const char* f : {"MainPledged", "MainUnpledged", "SecondFund", "ThirdFund", "OtherFund"})
            columns += t->detail.Double(r, f);
    QCOMPARE(RoundCents(columns), 30.0);
}

void tst_WeeklyTables::emptyAndMissingCollection()
{
    const int set = m_data->AddCollection(QDate(2025, 6, 8));
    auto t = WeeklyReport::Build(set, false);
    QVERIFY(t);
    QCOMPARE(t->detail.RowCount(), 1);
    QCOMPARE(t->detail.Integer(0, "LinkField"), 1);
    for (const QString& f : t->detail.FieldNames())
        if (f != "LinkField")
            QVERIFY2(!t->detail.Value(0, f).isValid(), qPrintable(f));
    QCOMPARE(t->fundTotals.RowCount(), 0);
    QVERIFY(!WeeklyReport::Build(set + 1, false));
    QVERIFY(!WeeklyReport::Build(0, false));
}

void tst_WeeklyTables::collectionList()
{
    m_data->AddCollection(QDate(2023, 12, 31), "too old");
    const int a = m_data->AddCollection(QDate(2024, 1, 1));
    const int b = m_data->AddCollection(QDate(2025, 12, 31), "  Christmas Eve ");
    m_data->AddCollection(QDate(2026, 1, 4), "next year");
    const auto items = ReportQueries::Collection_List(2025);
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0].text, QStringLiteral("12/31/2025, #%1, Christmas Eve").arg(b));
    QCOMPARE(items[0].id, b);
    QCOMPARE(items[1].text, QStringLiteral("1/1/2024, #%1").arg(a));
}

void tst_WeeklyTables::totalsAgreeWithTheTotalsTabOnAGeneratedYear()
{
    GenerateBooks(m_data, 40, 1);
    Recordset sets("SELECT ID FROM Collection ORDER BY ID", DB());
    int checked = 0, shares = 0;
    for (; !sets.Eof(); sets.MoveNext()) {
        const int set = FieldLong(sets.Field(0));
        const auto t = WeeklyReport::Build(set, false);
        QVERIFY(t);
        double funds = 0;
        for (int r = 0; r < t->fundTotals.RowCount(); ++r)
            funds += t->fundTotals.Double(r, "Amount");
        double columns = 0;
        for (int r = 0; r < t->detail.RowCount(); ++r)
            for (const char* f : {"MainPledged", "MainUnpledged", "SecondFund", "ThirdFund", "OtherFund"})
                columns += t->detail.Double(r, f);
        const double offerings = m_data->Scalar(QStringLiteral("SELECT Sum(Amount) FROM Offering WHERE CollectionID = %1").arg(set));
        const auto tab = CollectionTotals::Build_Totals(set, 2025);
        QCOMPARE(tab.last().label, QStringLiteral("Total Amount Collected"));
        QCOMPARE(RoundCents(funds), RoundCents(offerings));
        QCOMPARE(RoundCents(columns), RoundCents(offerings));
        QCOMPARE(RoundCents(funds), tab.last().amount);

        // Each contributor's pledged share is what the shared routine gives
        // gift by gift (a correction counting as pledged).
        QHash<int, double> pledged, expected;
        for (int r = 0; r < t->detail.RowCount(); ++r)
            pledged[int(t->detail.Integer(r, "ID"))] += t->detail.Double(r, "MainPledged");
        Recordset gifts(QStringLiteral("SELECT ContributorID, Amount FROM Offering WHERE CollectionID = %1 AND FundID = %2")
                            .arg(set)
                            .arg(-t->date.year()),
                        DB());
        for (; !gifts.Eof(); gifts.MoveNext()) {
            const int c = FieldLong(gifts.Field(0));
            const double a = FieldDouble(gifts.Field(1));
            expected[c] += a < 0 ? a : std::max(0.0, Pledged_Share(-t->date.year(), c, set, a, t->date));
        }
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            QCOMPARE(RoundCents(pledged.value(it.key())), RoundCents(it.value()));
            shares += !AmountIsZero(it.value());
        }
        ++checked;
    }
    QVERIFY(checked >= 50);
    QVERIFY2(shares >= 100, qPrintable(QString::number(shares))); // the year had pledged money to compare
}

QV_TEST_MAIN(tst_WeeklyTables, QCoreApplication)
#include "tst_weekly_tables.moc"

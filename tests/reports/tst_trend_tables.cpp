// The series of the giving trends charts against sums read from the data
// file with plain SQL: a small hand-made book for the year boundary, the
// pledge payments and corrections, and generated books for everything,
// week by week, month by month, fund by fund and cumulative.
#include "reports/TrendTables.h"
#include "reports/PledgeStatusTables.h"
#include "support/GeneratedBooks.h"
#include "support/CoreTest.h"
#include "storage/clsFunds.h"
#include "core/modDBConnection.h"

using namespace modGlobal;

namespace {
const Trends::Series* Find(const Trends::Chart& chart, const QString& name)
{
    for (const Trends::Series& s : chart.series)
        if (s.name == name)
            return &s;
    return nullptr;
}

QString Lit(const QDate& d)
{
    return modDBConnection::DateLiteral(d);
}

// Gifts to a fund between two dates, by contributors or by the loose offering.
enum class Who { Contributors, Loose, Everyone };
double Sum(TestDataSet& data, int fund, const QDate& from, const QDate& to, Who who)
{
    const QString giver = who == Who::Contributors ? QStringLiteral(" AND o.ContributorID <> 1")
        : who == Who::Loose                         ? QStringLiteral(" AND o.ContributorID = 1")
                                                    : QString();
    return RoundCents(data.Scalar(QStringLiteral("SELECT Sum(o.Amount) FROM Offering o, Collection c WHERE o.CollectionID = c.ID"
                                                 " AND o.FundID = %1 AND c.CollectionDate BETWEEN %2 AND %3")
                                      .arg(fund)
                                      .arg(Lit(from), Lit(to))
                                  + giver));
}

QDate Week_Start(int year, int week)
{
    return QDate(year, 1, 1).addDays(7 * (week - 1));
}

QDate Week_End(int year, int week)
{
    return std::min(Week_Start(year, week).addDays(6), QDate(year, 12, 31));
}

QDate Month_End(int year, int month)
{
    return QDate(year, month, 1).addMonths(1).addDays(-1);
}
} // namespace

class tst_TrendTables : public QObject {
    Q_OBJECT
private slots:
    void init() { m_data = std::make_unique<TestDataSet>(); }
    void cleanup() { m_data.reset(); }
    void weeksBelongToOneYear_data();
    void weeksBelongToOneYear();
    void yearBoundaryPledgesAndCorrections();
    void seriesEqualPlainSums_data();
    void seriesEqualPlainSums();

private:
    std::unique_ptr<TestDataSet> m_data;
};

void tst_TrendTables::weeksBelongToOneYear_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("week");
    QTest::newRow("January 1") << QDate(2025, 1, 1) << 1;
    QTest::newRow("January 7") << QDate(2025, 1, 7) << 1;
    QTest::newRow("January 8") << QDate(2025, 1, 8) << 2;
    QTest::newRow("December 30") << QDate(2025, 12, 30) << 52;
    QTest::newRow("December 31") << QDate(2025, 12, 31) << 53;
    QTest::newRow("leap year's December 30") << QDate(2024, 12, 30) << 53;
}

void tst_TrendTables::weeksBelongToOneYear()
{
    QFETCH(QDate, date);
    QFETCH(int, week);
    QCOMPARE(Trends::Week_Of(date), week);
}

// Gifts on December 31 and January 1 fall into their own years; a gift to
// the new year's main fund made in December counts towards its pledge from
// the first week; a correction takes back what it corrects; what is given
// beyond a pledge does not count towards it.
void tst_TrendTables::yearBoundaryPledgesAndCorrections()
{
    TestDataSet& d = *m_data;
    const int building = d.AddFund("Building Fund");
    const int empty = d.AddFund("Altar Flowers");
    const int ann = d.AddContributor("Jones", "Ann"), bob = d.AddContributor("Brown", "Bob");
    d.AddPledge(ann, -2025, 100);
    d.AddPledge(bob, -2025, 50);
    const int dec31 = d.AddCollection(QDate(2024, 12, 31));
    const int jan1 = d.AddCollection(QDate(2025, 1, 1));
    const int jan12 = d.AddCollection(QDate(2025, 1, 12));
    const int feb2 = d.AddCollection(QDate(2025, 2, 2));
    d.AddOffering(ann, dec31, -2025, 30); // pre-paid
    d.AddOffering(bob, dec31, -2024, 20);
    d.AddOffering(1, dec31, -2024, 7);
    d.AddOffering(ann, jan1, -2025, 50);
    d.AddOffering(1, jan1, -2025, 12.5);
    d.AddOffering(bob, jan1, building, 40);
    d.AddOffering(ann, jan12, -2025, 40); // 20 still owed
    d.AddOffering(bob, jan12, -2025, 30);
    d.AddOffering(bob, jan12, -2025, 30); // each against 50 unpaid: 30 + 30
    d.AddOffering(bob, feb2, -2025, -10); // a correction
    d.AddOffering(ann, feb2, building, 25);
    d.AddOffering(ann, feb2, building, -25); // given and taken back

    const Trends::Charts c = Trends::Build(2025, 0);
    QCOMPARE(c.fundID, -2025);
    QCOMPARE(c.weekly.series.size(), 6);
    QCOMPARE(Find(c.weekly, "2025 gifts")->values, (QList<double>{50, 100, 0, 0, -10}));
    QCOMPARE(Find(c.weekly, "2025 loose")->values, (QList<double>{12.5, 0, 0, 0, 0}));
    QCOMPARE(Find(c.weekly, "2025 to date")->values, (QList<double>{62.5, 162.5, 162.5, 162.5, 152.5}));
    QCOMPARE(Find(c.weekly, "2025 gifts")->dates.value(1), QDate(2025, 1, 12));
    // The year before ends with its week 53, the one day December 31.
    const Trends::Series* last = Find(c.weekly, "2024 gifts");
    QCOMPARE(last->values.size(), 53);
    QCOMPARE(last->values.last(), 20.0);
    QCOMPARE(Find(c.weekly, "2024 to date")->values.last(), 27.0);

    const Trends::Series* pledged = Find(c.pledges, "Pledged");
    const Trends::Series* paid = Find(c.pledges, "Paid towards the pledges");
    QCOMPARE(pledged->values.value(0), 150.0);
    // 30 pre-paid and 50 on Jan 1; on Jan 12 both paid in full, Bob 10
    // beyond his pledge, so that his correction leaves it paid.
    QCOMPARE(paid->values, (QList<double>{80, 150, 150, 150, 150}));

    QCOMPARE(c.funds.series.size(), 3);
    QCOMPARE(c.funds.series[0].name, QStringLiteral("2025 Operating Fund"));
    QCOMPARE(c.funds.series[0].values, (QList<double>{150, -10}));
    QCOMPARE(Find(c.funds, "Building Fund")->values, (QList<double>{40, 0}));
    QCOMPARE(Find(c.funds, "Loose Offering")->values, (QList<double>{12.5, 0}));
    QVERIFY(!Find(c.funds, "Altar Flowers"));

    QCOMPARE(Find(c.contributors, "2025")->values, (QList<double>{2, 0}));
    QCOMPARE(Find(c.contributors, "2024")->values.last(), 1.0);
    // Given and taken back in full is not a gift.
    QCOMPARE(Find(Trends::Build(2025, building).contributors, "2025")->values, (QList<double>{1, 0}));

    const Trends::Charts none = Trends::Build(2025, empty);
    QCOMPARE(none.fundName, QStringLiteral("Altar Flowers"));
    for (const Trends::Chart* chart : {&none.weekly, &none.pledges, &none.contributors})
        for (const Trends::Series& s : chart->series)
            for (double v : s.values)
                QCOMPARE(v, 0.0);

    // The CSV table: a date column per year, a blank where a year ends.
    const ReportTable t = Trends::Table(c.weekly);
    QCOMPARE(t.FieldNames(), (QStringList{"Week", "Date 2025", "2025 gifts", "2025 loose",
                                          "2025 to date", "Date 2024", "2024 gifts",
                                          "2024 loose", "2024 to date"}));
    QCOMPARE(t.RowCount(), 53);
    QCOMPARE(t.Value(4, "Date 2025").toDate(), QDate(2025, 2, 2));
    QVERIFY(!t.Value(5, "2025 gifts").isValid());
    QCOMPARE(t.Double(52, "2024 gifts"), 20.0);
}

void tst_TrendTables::seriesEqualPlainSums_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("fund");
    // 2023 begins and ends on a Sunday: sets on January 1 and December 31.
    QTest::newRow("2024 main fund, 2023 before it") << 2024 << QString();
    QTest::newRow("2025 main fund") << 2025 << QString();
    QTest::newRow("2024 first other fund") << 2024 << QStringLiteral("first");
    QTest::newRow("fund without gifts") << 2025 << QStringLiteral("empty");
}

void tst_TrendTables::seriesEqualPlainSums()
{
    QFETCH(int, year);
    QFETCH(QString, fund);
    GenerateBooks(m_data, 30, 3);
    TestDataSet& d = *m_data;
    int fundID = -year;
    if (fund == "first")
        fundID = int(d.Scalar("SELECT Min(FundID) FROM Offering WHERE FundID > 1"));
    else if (fund == "empty")
        fundID = d.AddFund("Bell Tower");
    const int fundBefore = fundID < 0 ? -(year - 1) : fundID;
    const Trends::Charts c = Trends::Build(year, fundID);

    // Week by week and cumulative, this year and the year before.
    for (int y : {year, year - 1}) {
        const int f = y == year ? fundID : fundBefore;
        const QString Y = QString::number(y);
        const auto* gifts = Find(c.weekly, Y + " gifts");
        const auto* loose = Find(c.weekly, Y + " loose");
        const auto* toDate = Find(c.weekly, Y + " to date");
        QVERIFY(gifts && loose && toDate);
        const QDate lastSet = FieldDate(Recordset(QStringLiteral("SELECT Max(CollectionDate) FROM Collection WHERE "
                                                                 "CollectionDate <= %1").arg(Lit(QDate(y, 12, 31))),
                                                  DB()).Field(0));
        QCOMPARE(gifts->values.size(), Trends::Week_Of(lastSet));
        for (int w = 1; w <= gifts->values.size(); ++w) {
            QCOMPARE(gifts->values[w - 1], Sum(d, f, Week_Start(y, w), Week_End(y, w), Who::Contributors));
            QCOMPARE(loose->values[w - 1], Sum(d, f, Week_Start(y, w), Week_End(y, w), Who::Loose));
            QCOMPARE(toDate->values[w - 1], Sum(d, f, QDate(y, 1, 1), Week_End(y, w), Who::Everyone));
        }
        // Givers month by month: net gifts above nothing, loose offering apart.
        const auto* givers = Find(c.contributors, Y);
        QCOMPARE(givers->values.size(), 12);
        for (int m = 1; m <= 12; ++m) {
            Recordset rs(QStringLiteral("SELECT Sum(o.Amount) FROM Offering o, Collection c WHERE o.CollectionID = c.ID"
                                        " AND o.FundID = %1 AND o.ContributorID <> 1 AND c.CollectionDate BETWEEN %2 AND %3"
                                        " GROUP BY o.ContributorID")
                             .arg(f)
                             .arg(Lit(QDate(y, m, 1)), Lit(Month_End(y, m))),
                         DB());
            int count = 0;
            for (; !rs.Eof(); rs.MoveNext())
                count += RoundCents(FieldDouble(rs.Field(0))) > 0;
            QCOMPARE(givers->values[m - 1], double(count));
        }
    }

    // Every fund month by month, the loose offering apart; nothing lost.
    const auto* looseByMonth = Find(c.funds, "Loose Offering");
    QVERIFY(looseByMonth);
    double charted = 0;
    for (const Trends::Series& s : c.funds.series)
        for (double v : s.values)
            charted += v;
    QCOMPARE(RoundCents(charted), RoundCents(d.Scalar(QStringLiteral("SELECT Sum(o.Amount) FROM Offering o, Collection c WHERE "
                                                                     "o.CollectionID = c.ID AND c.CollectionDate BETWEEN %1 AND %2")
                                                          .arg(Lit(QDate(year, 1, 1)), Lit(QDate(year, 12, 31))))));
    Recordset funds("SELECT DISTINCT FundID FROM Offering WHERE ContributorID <> 1", DB());
    for (; !funds.Eof(); funds.MoveNext()) {
        const int f = FieldLong(funds.Field(0));
        const auto* s = Find(c.funds, Fund_Display_Name(f));
        for (int m = 1; m <= 12; ++m) {
            const double sum = Sum(d, f, QDate(year, m, 1), Month_End(year, m), Who::Contributors);
            QCOMPARE(s ? s->values.value(m - 1) : 0.0, sum);
        }
    }
    for (int m = 1; m <= 12; ++m) {
        const double sum = RoundCents(d.Scalar(QStringLiteral("SELECT Sum(o.Amount) FROM Offering o, Collection c WHERE "
                                                              "o.CollectionID = c.ID AND o.ContributorID = 1 AND "
                                                              "c.CollectionDate BETWEEN %1 AND %2")
                                                   .arg(Lit(QDate(year, m, 1)), Lit(Month_End(year, m)))));
        QCOMPARE(looseByMonth->values.value(m - 1), sum);
    }

    // Pledges: the total of the first pledges, and by the end of each week
    // what was paid towards them, gifts of earlier years included, as plain
    // sums and as the pledge status report for January 1 to that day.
    const auto* pledged = Find(c.pledges, "Pledged");
    const auto* paid = Find(c.pledges, "Paid towards the pledges");
    const QString firstPledges = QStringLiteral("SELECT ContributorID, Amount FROM Pledges WHERE ID IN (SELECT Min(ID) "
                                                "FROM Pledges WHERE FundID = %1 GROUP BY ContributorID)").arg(fundID);
    const double pledgeTotal = RoundCents(d.Scalar(QStringLiteral("SELECT Sum(Amount) FROM (%1)").arg(firstPledges)));
    QCOMPARE(pledged->values.value(0), pledgeTotal);
    QCOMPARE(paid->values.size(), c.weekly.series[0].values.size());
    for (int w = 1; w <= paid->values.size(); ++w) {
        const double towards = RoundCents(d.Scalar(
            QStringLiteral("SELECT Sum(Min(p.Amount, g.Given)) FROM (SELECT o.ContributorID, Sum(o.Amount) AS Given "
                           "FROM Offering o, Collection c WHERE o.CollectionID = c.ID AND o.FundID = %1 AND "
                           "c.CollectionDate <= %2 GROUP BY o.ContributorID) g, (%3) p WHERE p.ContributorID = g.ContributorID")
                .arg(fundID)
                .arg(Lit(Week_End(year, w)), firstPledges)));
        QCOMPARE(paid->values[w - 1], towards);
        if (w % 13)
            continue; // the report's run is slower: once a quarter
        PledgeStatus::Options o;
        o.fundID = fundID;
        o.sortOrder = PledgeStatus::NameOrder;
        o.begin = QDate(year, 1, 1);
        o.end = Week_End(year, w);
        const ReportTable status = PledgeStatus::Build(o);
        double reported = 0;
        for (int r = 0; r < status.RowCount(); ++r)
            reported += status.Double(r, "Pledge") - status.Double(r, "Remaining");
        QCOMPARE(paid->values[w - 1], RoundCents(reported));
    }
    if (fundID == -year)
        QVERIFY(paid->values.value(0) > 0);
}

QV_TEST_MAIN(tst_TrendTables, QCoreApplication)
#include "tst_trend_tables.moc"

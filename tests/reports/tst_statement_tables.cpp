// The tables of the contribution statements and of the pledge status report,
// value by value, as a treasurer checks them; and on a generated year, that
// the statements account for every tax-deductible dollar to the cent.
#include "reports/PledgeStatusTables.h"
#include "reports/StatementTables.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "storage/clsChurch.h"
#include "core/modDBConnection.h"

#include <QDir>
#include <QFile>
#include <QtTest/QTest>

#include "support/ChurchSettings.h"
#include "support/GeneratedBooks.h"

using namespace modGlobal;

namespace {
const QString CRLF = QStringLiteral("\r\n");

// A gift line as "date | main second third other | desc".
QStringList Lines(const ReportTable& l, int contributor)
{
    QStringList out;
    for (int r = 0; r < l.RowCount(); ++r) {
        if (l.Integer(r, "ContributorID") != contributor)
            continue;
        const QVariant d = l.Value(r, "ContDate");
        out << QStringLiteral("%1 | %2 %3 %4 %5 | %6")
                   .arg(d.isValid() ? d.toDate().toString(Qt::ISODate) : QStringLiteral("-"))
                   .arg(l.Double(r, "MainAmount"), 0, 'f', 2)
                   .arg(l.Double(r, "SecondAmount"), 0, 'f', 2)
                   .arg(l.Double(r, "ThirdAmount"), 0, 'f', 2)
                   .arg(l.Double(r, "OtherAmount"), 0, 'f', 2)
                   .arg(l.Text(r, "OtherDesc"));
    }
    return out;
}

int SummaryRow(const ReportTable& s, int contributor)
{
    for (int r = 0; r < s.RowCount(); ++r)
        if (s.Integer(r, "ContributorID") == contributor)
            return r;
    return -1;
}

// The money fields of a summary, in the order the statement shows them.
QString Money(const ReportTable& s, int r, std::initializer_list<const char*> fields)
{
    QStringList out;
    for (const char* f : fields)
        out << QString::number(s.Double(r, QLatin1String(f)), 'f', 2);
    return out.join(QLatin1Char(' '));
}

void Address(int id, const QString& a1, const QString& city, const QString& state, const QString& zip)
{
    DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '%1', City = '%2', State = '%3', ZipCode = '%4' WHERE ID = %5;")
                     .arg(a1, city, state, zip)
                     .arg(id));
}

QString PledgeRow(const ReportTable& t, int r)
{
    return QStringLiteral("%1|%2|%3 %4 %5 %6 %7")
        .arg(t.Text(r, "Name"))
        .arg(t.Integer(r, "EnvNum"))
        .arg(t.Double(r, "Pledge"), 0, 'f', 2)
        .arg(t.Double(r, "PrePaid"), 0, 'f', 2)
        .arg(t.Double(r, "PaidNow"), 0, 'f', 2)
        .arg(t.Double(r, "Remaining"), 0, 'f', 2)
        .arg(t.Double(r, "Overpaid"), 0, 'f', 2);
}

// The rows in the report's order: by sort field.
QStringList Sorted(const ReportTable& t)
{
    std::vector<int> order(size_t(t.RowCount()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return t.Text(a, "SortField") < t.Text(b, "SortField"); });
    QStringList out;
    for (int r : order)
        out << PledgeRow(t, r);
    return out;
}
} // namespace

class tst_StatementTables : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_data.reset(); }
    void giftLinesAndTheirColumns();
    void pledgePositionAndTotals();
    void whoGetsAStatement();
    void whichListAndSortKeys();
    void earlyJanuaryEmptyRange();
    void looseOffering();
    void fileNamesAndPreRunCheck();
    void fileNamesAnyDiskTakes_data();
    void fileNamesAnyDiskTakes();
    void pledgeStatusRowsAndOrders();
    void pledgeStatusNonPledgers();
    void generatedYearAccountsForEveryDollar();

private:
    Statements::Tables Run(int id, QDate begin = QDate(2025, 1, 1), QDate end = QDate(2025, 5, 31))
    {
        Statements::Choice c;
        c.contributorID = id;
        return Statements::Build(c, begin, end);
    }
    Statements::Tables RunAll(bool zip, QDate begin = QDate(2025, 1, 1), QDate end = QDate(2025, 5, 31))
    {
        Statements::Choice c;
        c.zipOrder = zip;
        c.alphaOrder = !zip;
        return Statements::Build(c, begin, end);
    }

    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0, m_missions = 0, m_youth = 0, m_flowers = 0;
    int m_smith = 0, m_jones = 0, m_brown = 0, m_gray = 0;
};

void tst_StatementTables::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_building = m_data->AddFund("Building Fund");
    m_missions = m_data->AddFund("Missions");
    m_youth = m_data->AddFund("Youth Camp", false, true);
    m_flowers = m_data->AddFund("Easter Flowers", false, false); // not tax-deductible
    m_smith = m_data->AddContributor("Smith", "John & Mary");
    m_jones = m_data->AddContributor("Jones", "Ann");
    m_brown = m_data->AddContributor("Brown", "Carl");
    m_gray = m_data->AddContributor("Gray", "Dora", true, true); // inactive
    m_data->AddPledge(m_smith, -2025, 520, 7);
    m_data->AddPledge(m_smith, m_building, 200);
    m_data->AddPledge(m_smith, m_missions, 60);
    m_data->AddPledge(m_jones, -2025, 100, 12);
    clsChurch c;
    c.Get_One_Record();
    c.ChurchName("Grace Church");
    c.Address1("1 Church St");
    c.City("Salem");
    c.State("OR");
    c.ZipCode("97301");
    c.Phone("555-0100");
    c.IRSStatement("No goods or services were provided" + CRLF + "in return for these gifts.");
    c.DefaultFund2(m_building);
    c.DefaultFund3(0);
    c.Update_Record_to_DB();
    Address(m_smith, "12 Elm St", "Salem", "OR", "97302");
    Address(m_jones, "3 Oak Ave", "Keizer", "OR", "97303");
}

void tst_StatementTables::giftLinesAndTheirColumns()
{
    const int jan = m_data->AddCollection(QDate(2025, 1, 5));
    const int feb = m_data->AddCollection(QDate(2025, 2, 2));
    m_data->AddOffering(m_smith, jan, -2025, 50);
    m_data->AddOffering(m_smith, jan, m_building, 20);
    m_data->AddOffering(m_smith, jan, m_flowers, 10); // left off: neither main nor tax-deductible
    m_data->AddComment(m_smith, jan, "  in memory of Rose ");
    // A second comment on the same set (old books have them) neither counts
    // the gifts twice nor takes the first one's place.
    m_data->AddComment(m_smith, jan, "a second note");
    m_data->AddOffering(m_smith, feb, -2024, 40); // last year's pledge paid late
    m_data->AddOffering(m_smith, feb, m_youth, 15);
    m_data->AddOffering(m_smith, feb, m_missions, 5);

    const auto t = Run(m_smith);
    // Fund 3 is not set by the church: the first active pledge that is
    // neither fund 1 nor fund 2 (Missions). Two gifts to other funds on one
    // date make two lines, the second with only the other amount (and the
    // Missions gift entered after it, whose column is still free there). The
    // comment fills the description where no other fund did.
    QCOMPARE(Lines(t.lines, m_smith), QStringList({
                                          "2025-01-05 | 50.00 20.00 0.00 0.00 | in memory of Rose",
                                          "2025-02-02 | 0.00 0.00 0.00 40.00 | 2024 Operating Fund",
                                          "2025-02-02 | 0.00 0.00 5.00 15.00 | Youth Camp",
                                      }));
    const int s = SummaryRow(t.summaries, m_smith);
    QCOMPARE(t.summaries.Text(s, "MainTitle"), "2025 Operating Fund");
    QCOMPARE(t.summaries.Text(s, "SecondTitle"), "Building Fund");
    QCOMPARE(t.summaries.Text(s, "ThirdTitle"), "Missions");
    QCOMPARE(t.summaries.Text(s, "MainFund"), "2025" + CRLF + "Operating" + CRLF + "Fund");
    QCOMPARE(t.summaries.Text(s, "ThirdFund"), CRLF + CRLF + "Missions");

    // Without a church default and without pledges the funds given to in the
    // range fill funds 2 and 3, lowest fund number first.
    SetReportFunds(0, 0);
    const int brownSet = m_data->AddCollection(QDate(2025, 3, 2));
    m_data->AddOffering(m_brown, brownSet, m_youth, 7);
    m_data->AddOffering(m_brown, brownSet, m_flowers, 3);
    m_data->AddOffering(m_brown, brownSet, m_missions, 9);
    const auto b = Run(m_brown);
    const int bs = SummaryRow(b.summaries, m_brown);
    QCOMPARE(b.summaries.Text(bs, "SecondTitle"), "Missions");
    QCOMPARE(b.summaries.Text(bs, "ThirdTitle"), "Youth Camp");
    QCOMPARE(Lines(b.lines, m_brown), QStringList({"2025-03-02 | 0.00 9.00 7.00 0.00 | "}));

    // Text of the summary: church block, contributor block, range, tax statement.
    QCOMPARE(t.summaries.Text(s, "ChurchInfo"), "Grace Church" + CRLF + "1 Church St" + CRLF + "Salem, OR  97301" + CRLF + "555-0100");
    QCOMPARE(t.summaries.Text(s, "ContributorInfo"), "John & Mary Smith" + CRLF + "12 Elm St" + CRLF + "Salem, OR  97302");
    QCOMPARE(t.summaries.Text(s, "HeaderLine"), "Statement of Contributions Received Between January 1, 2025 and May 31, 2025");
    QCOMPARE(t.summaries.Text(s, "IRS"), "No goods or services were provided in return for these gifts.");
}

void tst_StatementTables::pledgePositionAndTotals()
{
    const int old = m_data->AddCollection(QDate(2021, 3, 7)); // pre-paid long ago
    const int dec = m_data->AddCollection(QDate(2024, 12, 29));
    const int jan = m_data->AddCollection(QDate(2025, 1, 5));
    const int jun = m_data->AddCollection(QDate(2025, 6, 1)); // after the range
    m_data->AddOffering(m_smith, old, -2025, 30);
    m_data->AddOffering(m_smith, dec, -2025, 100);
    m_data->AddOffering(m_smith, dec, m_building, 50);
    m_data->AddOffering(m_smith, dec, m_missions, 11); // fund 3 before the range: not counted
    m_data->AddOffering(m_smith, jan, -2025, 50);
    m_data->AddOffering(m_smith, jan, m_building, 20);
    m_data->AddOffering(m_smith, jan, m_missions, 6);
    m_data->AddOffering(m_smith, jan, m_youth, 4);
    m_data->AddOffering(m_smith, jan, m_flowers, 10); // not on the statement, not in the total
    m_data->AddOffering(m_smith, jun, -2025, 999);
    m_data->AddOffering(m_jones, jan, -2025, 150); // more than pledged

    const auto t = RunAll(false);
    const int s = SummaryRow(t.summaries, m_smith);
    QCOMPARE(Money(t.summaries, s, {"MainPledged", "MainPrePaid", "MainPaidNow", "MainRemaining"}), "520.00 130.00 50.00 340.00");
    QCOMPARE(Money(t.summaries, s, {"SecondPledged", "SecondPrePaid", "SecondPaidNow", "SecondRemaining"}), "200.00 50.00 20.00 130.00");
    QCOMPARE(Money(t.summaries, s, {"YTDMain", "YTDSecond", "YTDThird", "YTDOther", "YTDTotal"}), "50.00 20.00 6.00 4.00 80.00");
    const int j = SummaryRow(t.summaries, m_jones);
    // Overpaid: nothing remains, never less than nothing.
    QCOMPARE(Money(t.summaries, j, {"MainPledged", "MainPrePaid", "MainPaidNow", "MainRemaining"}), "100.00 0.00 150.00 0.00");
    QCOMPARE(Money(t.summaries, j, {"SecondPledged", "SecondPaidNow", "YTDTotal"}), "0.00 0.00 150.00");
}

void tst_StatementTables::whoGetsAStatement()
{
    const int jan = m_data->AddCollection(QDate(2025, 1, 5));
    m_data->AddOffering(m_gray, jan, -2025, 25);  // inactive, still on "All"
    m_data->AddOffering(m_brown, jan, m_flowers, 5); // only a gift left off

    const auto all = RunAll(true);
    // Smith and Jones are pledged: Smith with no gift gets one zero line.
    // Brown gave nothing that counts and pledged nothing: no statement.
    QVERIFY(SummaryRow(all.summaries, m_smith) >= 0);
    QCOMPARE(Lines(all.lines, m_smith), QStringList({"- | 0.00 0.00 0.00 0.00 | "}));
    QCOMPARE(Lines(all.lines, m_jones), QStringList({"- | 0.00 0.00 0.00 0.00 | "}));
    QCOMPARE(SummaryRow(all.summaries, m_brown), -1);
    QCOMPARE(Lines(all.lines, m_brown), QStringList());
    QVERIFY(SummaryRow(all.summaries, m_gray) >= 0);
    QCOMPARE(all.summaries.RowCount(), 3);

    // Chosen singly, Brown gets his statement with one zero line.
    const auto one = Run(m_brown);
    QCOMPARE(one.summaries.RowCount(), 1);
    QCOMPARE(Lines(one.lines, m_brown), QStringList({"- | 0.00 0.00 0.00 0.00 | "}));
    QCOMPARE(Money(one.summaries, 0, {"YTDTotal", "MainPledged"}), "0.00 0.00");

    // Nothing chosen: no tables.
    QCOMPARE(Statements::Build({}, QDate(2025, 1, 1), QDate(2025, 5, 31)).summaries.RowCount(), 0);
}

void tst_StatementTables::whichListAndSortKeys()
{
    const auto items = Statements::Which_List();
    QStringList texts;
    for (const auto& i : items)
        texts << QStringLiteral("%1=%2").arg(i.text).arg(i.data == 0 || i.data == 1 ? QString::number(i.data) : QStringLiteral("id"));
    // Gray is inactive: not in the single list.
    QCOMPARE(texts, QStringList({"All - Zip Code Order=0", "All - Alphabetical Order=0", "<Loose Offering>=1", "Brown, Carl=id",
                                 "Jones, Ann=id", "Smith, John & Mary=id"}));
    QCOMPARE(items[5].data, m_smith);
    const Statements::Choice zip = Statements::Choice_Of(items[0]);
    QVERIFY(zip.zipOrder && !zip.alphaOrder && zip.contributorID == 0);
    const Statements::Choice one = Statements::Choice_Of(items[4]);
    QVERIFY(!one.All() && one.contributorID == m_jones);

    QCOMPARE(Statements::Sort_Key(true, " 97302 ", " Smith ", "John "), "97302Smith John");
    QCOMPARE(Statements::Sort_Key(false, "97302", "Smith", "John"), "Smith John");
    QCOMPARE(Statements::Sort_Key(false, "", QString(60, 'x'), QString(60, 'y')).size(), 80);

    const auto z = RunAll(true), a = RunAll(false);
    QCOMPARE(z.summaries.Text(SummaryRow(z.summaries, m_jones), "SortField"), "97303Jones Ann");
    QCOMPARE(a.summaries.Text(SummaryRow(a.summaries, m_jones), "SortField"), "Jones Ann");

    // The range a run starts with: the year up to the end of last month.
    QCOMPARE(Statements::Default_Begin(QDate(2025, 6, 15)), QDate(2025, 1, 1));
    QCOMPARE(Statements::Default_End(QDate(2025, 6, 15)), QDate(2025, 5, 31));
    QCOMPARE(Statements::Default_End(QDate(2025, 3, 1)), QDate(2025, 2, 28));
}

void tst_StatementTables::earlyJanuaryEmptyRange()
{
    const QDate today(2026, 1, 4);
    const QDate begin = Statements::Default_Begin(today), end = Statements::Default_End(today);
    QCOMPARE(begin, QDate(2026, 1, 1));
    QCOMPARE(end, QDate(2025, 12, 31));
    const int nov = m_data->AddCollection(QDate(2025, 11, 2));
    m_data->AddOffering(m_smith, nov, -2025, 300);
    m_data->AddOffering(m_brown, nov, -2025, 80);

    // The range is empty; only those pledged to the old year's main fund
    // get (empty) statements, and what they gave is pre-paid.
    const auto t = RunAll(false, begin, end);
    QCOMPARE(t.summaries.RowCount(), 2);
    QCOMPARE(SummaryRow(t.summaries, m_brown), -1);
    const int s = SummaryRow(t.summaries, m_smith);
    QCOMPARE(Lines(t.lines, m_smith), QStringList({"- | 0.00 0.00 0.00 0.00 | "}));
    QCOMPARE(t.summaries.Text(s, "MainTitle"), "2025 Operating Fund");
    QCOMPARE(Money(t.summaries, s, {"MainPledged", "MainPrePaid", "MainPaidNow", "MainRemaining", "YTDTotal"}),
             "520.00 300.00 0.00 220.00 0.00");
}

void tst_StatementTables::looseOffering()
{
    const int jan = m_data->AddCollection(QDate(2025, 1, 5));
    m_data->AddOffering(1, jan, -2025, 75.25);
    m_data->AddOffering(1, jan, m_building, 10);
    m_data->AddOffering(1, jan, m_flowers, 3);
    // "All" is the contributors only; the loose offering is a run of its own.
    QCOMPARE(SummaryRow(RunAll(true).summaries, 1), -1);
    const auto t = Run(1);
    QCOMPARE(t.summaries.RowCount(), 1);
    QCOMPARE(t.summaries.Text(0, "ContributorInfo"), "Loose Offering");
    QCOMPARE(t.summaries.Text(0, "SortField"), QString());
    QCOMPARE(Lines(t.lines, 1), QStringList({"2025-01-05 | 75.25 10.00 0.00 0.00 | "}));
    QCOMPARE(Money(t.summaries, 0, {"YTDTotal"}), "85.25");
    // Chosen singly, it has its statement without any gift.
    QCOMPARE(Run(1, QDate(2025, 2, 1), QDate(2025, 2, 28)).lines.RowCount(), 1);
}

void tst_StatementTables::fileNamesAndPreRunCheck()
{
    const int twin = m_data->AddContributor("Smith", "John & Mary");
    const int odd = m_data->AddContributor("O'Neil/Ward", "Pat");
    const int jan = m_data->AddCollection(QDate(2025, 1, 5));
    m_data->AddCollection(QDate(2025, 1, 12), "Snowed in");
    const int old = m_data->AddFund("Old Roof", false, true, true); // inactive
    for (int c : {m_smith, twin, odd, m_jones})
        m_data->AddOffering(c, jan, -2025, 10);
    m_data->AddOffering(odd, jan, old, 12.5);
    m_data->AddOffering(1, jan, -2025, 5);

    const auto t = RunAll(false);
    const QHash<int, QString> names = Statements::File_Names(t.summaries, -2025);
    QCOMPARE(names.value(m_smith), "0007 Smith, John & Mary");
    QCOMPARE(names.value(m_jones), "0012 Jones, Ann");
    QCOMPARE(names.value(twin), "Smith, John & Mary");
    QCOMPARE(names.value(odd), "O'Neil_Ward, Pat");
    QCOMPARE(Statements::File_Names(Run(1).summaries, -2025).value(1), "Loose Offering");
    // The same name twice never writes over the first file.
    DB().Execute(QStringLiteral("UPDATE Pledges SET AccountNumber = 0 WHERE ContributorID = %1;").arg(m_smith));
    const QHash<int, QString> same = Statements::File_Names(t.summaries, -2025);
    QCOMPARE(QSet<QString>({same.value(m_smith), same.value(twin)}), QSet<QString>({"Smith, John & Mary", "Smith, John & Mary (2)"}));

    const Statements::Check check = Statements::Pre_Run_Check({false, true, 0}, t, QDate(2025, 1, 1), QDate(2025, 5, 31));
    QCOMPARE(check.noAddress, QStringList({"O'Neil/Ward, Pat", "Smith, John & Mary"}));
    QCOMPARE(check.inactiveFunds, QStringList({"Old Roof: 1 gift(s), $12.50"}));
    QCOMPARE(check.emptySets.size(), 1);
    QVERIFY(check.emptySets[0].endsWith("Snowed in"));
    QVERIFY(!check.Clean());
    QVERIFY(check.Text().contains("2 contributor(s) in the run have no address"));
    // The check of one contributor looks at that contributor only.
    const Statements::Check jones = Statements::Pre_Run_Check({false, false, m_jones}, Run(m_jones), QDate(2025, 1, 1), QDate(2025, 5, 31));
    QVERIFY(jones.noAddress.isEmpty());
    QVERIFY(jones.inactiveFunds.isEmpty());
}

void tst_StatementTables::fileNamesAnyDiskTakes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // "" where only the limits are checked
    QTest::newRow("300 characters") << QString(300, QLatin1Char('x')) << QString(120, QLatin1Char('x'));
    QString emoji;
    for (int i = 0; i < 40; ++i)
        emoji += QString::fromUcs4(U"\U0001F64F");
    QTest::newRow("40 emoji") << emoji << QString();
    QTest::newRow("a leading dot") << "..hidden, Pat" << "hidden, Pat";
    QTest::newRow("direction override and tab") << QString::fromUtf8("Ann\u202Eeman\tFoo") << "AnnemanFoo";
    QTest::newRow("device name") << "con" << "con_";
    QTest::newRow("device name with extension") << "NUL.Smith" << "NUL_.Smith";
    QTest::newRow("path characters") << "a/b\\c:d" << "a_b_c_d";
}

void tst_StatementTables::fileNamesAnyDiskTakes()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString safe = Statements::Safe_File_Name(name);
    if (!expected.isEmpty())
        QCOMPARE(safe, expected);
    QVERIFY(safe.toUtf8().size() <= 200);
    QVERIFY(!safe.isEmpty() && !safe.back().isHighSurrogate());
    QCOMPARE(QString::fromUtf8(safe.toUtf8()), safe); // no half character
    // The disk takes it, also as the second file of that name.
    for (const QString& file : {safe + ".pdf", safe + " (2).pdf"}) {
        QFile f(QDir(m_data->Folder()).filePath(file));
        QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(f.errorString()));
        f.close();
        QVERIFY(f.remove());
    }
}

void tst_StatementTables::pledgeStatusRowsAndOrders()
{
    const int nine = m_data->AddContributor("Adams", "Zoe");
    m_data->AddPledge(nine, -2025, 520, 9);
    m_data->AddPledge(m_brown, -2025, 0, 3); // a zero pledge without payments: never listed
    const int old = m_data->AddCollection(QDate(2024, 11, 3));
    const int jan = m_data->AddCollection(QDate(2025, 1, 5));
    const int jul = m_data->AddCollection(QDate(2025, 7, 6)); // after the end date
    m_data->AddOffering(m_smith, old, -2025, 20);
    m_data->AddOffering(m_smith, jan, -2025, 50);
    m_data->AddOffering(m_smith, jan, m_building, 99); // another fund
    m_data->AddOffering(m_smith, jul, -2025, 500);
    m_data->AddOffering(m_jones, jan, -2025, 130);

    PledgeStatus::Options o{-2025, PledgeStatus::EnvelopeOrder, QDate(2025, 1, 1), QDate(2025, 6, 15), false, true};
    ReportTable t = PledgeStatus::Build(o);
    // Envelope 9 before 10 and 12: numbers are right-aligned.
    QCOMPARE(Sorted(t), QStringList({"Smith, John & Mary|7|520.00 20.00 50.00 450.00 0.00", "Adams, Zoe|9|520.00 0.00 0.00 520.00 0.00",
                                     "Jones, Ann|12|100.00 0.00 130.00 0.00 30.00"}));
    QCOMPARE(t.Text(0, "ChurchName"), "Grace Church");
    QCOMPARE(t.Text(0, "HeaderLine"), "2025 Operating Fund Pledge Status Report for the Period 1/1/2025 through 6/15/2025");

    o.sortOrder = PledgeStatus::PledgeOrder;
    o.showNames = false;
    t = PledgeStatus::Build(o);
    // Larger pledges first, equal pledges by name; no names when hidden.
    QCOMPARE(Sorted(t), QStringList({"|9|520.00 0.00 0.00 520.00 0.00", "|7|520.00 20.00 50.00 450.00 0.00",
                                     "|12|100.00 0.00 130.00 0.00 30.00"}));
    QCOMPARE(PledgeStatus::Sort_Key(PledgeStatus::PledgeOrder, 7, 520, "Smith", "John"), "        9,999,480.00Smith John");
    QCOMPARE(PledgeStatus::Sort_Key(PledgeStatus::EnvelopeOrder, 9, 0, " Adams ", "Zoe"), "         9Adams Zoe");
    QCOMPARE(PledgeStatus::Sort_Key(PledgeStatus::NameOrder, 9, 0, "Adams", " Zoe "), "Adams Zoe");

    // The fund list: the main fund of each pledged year, then pledgeable funds.
    QStringList funds;
    for (const auto& f : PledgeStatus::Fund_List())
        funds << QStringLiteral("%1=%2").arg(f.text).arg(f.data);
    QCOMPARE(funds, QStringList({"2025 Operating Fund=-2025", QStringLiteral("Building Fund=%1").arg(m_building),
                                 QStringLiteral("Missions=%1").arg(m_missions)}));
    // Nothing chosen: no rows.
    QCOMPARE(PledgeStatus::Build({0, 1, QDate(2025, 1, 1), QDate(2025, 6, 15), true, true}).RowCount(), 0);
}

void tst_StatementTables::pledgeStatusNonPledgers()
{
    const int jan = m_data->AddCollection(QDate(2025, 1, 5));
    m_data->AddOffering(m_brown, jan, m_building, 35); // gave without pledging
    m_data->AddOffering(m_smith, jan, m_building, 50);
    m_data->AddOffering(1, jan, m_building, 12.5);
    PledgeStatus::Options o{m_building, PledgeStatus::NameOrder, QDate(2025, 1, 1), QDate(2025, 6, 15), false, true};
    QCOMPARE(Sorted(PledgeStatus::Build(o)), QStringList({"Smith, John & Mary|0|200.00 0.00 50.00 150.00 0.00"}));
    o.nonPledgers = true;
    // The non-pledger's whole payment is overpaid; the loose offering has its row.
    QCOMPARE(Sorted(PledgeStatus::Build(o)),
             QStringList({"<Loose Offering>|0|0.00 0.00 12.50 0.00 12.50", "Brown, Carl|0|0.00 0.00 35.00 0.00 35.00",
                          "Smith, John & Mary|0|200.00 0.00 50.00 150.00 0.00"}));
    o.sortOrder = PledgeStatus::EnvelopeOrder;
    o.showNames = false;
    ReportTable t = PledgeStatus::Build(o);
    int loose = -1;
    for (int r = 0; r < t.RowCount(); ++r)
        if (t.Text(r, "SortField").contains("<Loose"))
            loose = r;
    QCOMPARE(t.Text(loose, "SortField"), "         0 <Loose Offering>");
    QCOMPARE(t.Text(loose, "Name"), QString());
}

void tst_StatementTables::generatedYearAccountsForEveryDollar()
{
    GenerateBooks(m_data, 80, 3);
    const QDate begin(2025, 1, 1), end(2025, 12, 31);
    double statements = 0;
    int people = 0;
    for (const auto& t : {RunAll(true, begin, end), Run(1, begin, end)}) {
        for (int r = 0; r < t.summaries.RowCount(); ++r)
            statements += t.summaries.Double(r, "YTDTotal");
        people += t.summaries.RowCount();
        // The lines of each statement add up to its total.
        double lines = 0, totals = 0;
        for (int r = 0; r < t.lines.RowCount(); ++r)
            for (const char* f : {"MainAmount", "SecondAmount", "ThirdAmount", "OtherAmount"})
                lines += t.lines.Double(r, QLatin1String(f));
        for (int r = 0; r < t.summaries.RowCount(); ++r)
            totals += t.summaries.Double(r, "YTDTotal");
        QCOMPARE(RoundCents(lines), RoundCents(totals));
    }
    QVERIFY(people > 40);
    const double offered = m_data->Scalar(
        "SELECT Sum(Offering.Amount) FROM (Offering INNER JOIN Collection ON Offering.CollectionID = Collection.ID)"
        " LEFT JOIN Funds ON Offering.FundID = Funds.ID WHERE Collection.CollectionDate >= "
        + modDBConnection::DateLiteral(begin) + " AND Collection.CollectionDate <= " + modDBConnection::DateLiteral(end)
        + " AND (Offering.FundID < 0 OR Funds.IsTaxDeductible = TRUE);");
    QVERIFY(offered > 1000);
    QCOMPARE(RoundCents(statements), RoundCents(offered));
    // Some of the year's money is not tax-deductible and stays off.
    const double all = m_data->Scalar("SELECT Sum(Offering.Amount) FROM Offering INNER JOIN Collection ON Offering.CollectionID = Collection.ID"
                                      " WHERE Collection.CollectionDate >= " + modDBConnection::DateLiteral(begin)
                                      + " AND Collection.CollectionDate <= " + modDBConnection::DateLiteral(end) + ";");
    QVERIFY(all > offered + 0.5);
}

QV_TEST_MAIN(tst_StatementTables, QCoreApplication)
#include "tst_statement_tables.moc"

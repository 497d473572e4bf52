// The layout engine and the weekly report rendered to PDF and read back:
// what a treasurer hands to the finance committee, page by page; the
// deposit slip and the count sheet as qv-report writes them; and the text
// of a statement run, a weekly report and a label sheet made from the same
// generated books, which must read exactly as the kept copies made before
// the writer was our own, every font an embedded subset that maps back to
// text (searching and copying work).
#include "offering/PlateCount.h"
#include "reports/ListingReports.h"
#include "reports/ListingTables.h"
#include "reports/PageComposer.h"
#include "reports/Report.h"
#include "reports/TableSection.h"
#include "reports/WeeklyReportTables.h"
#include "reports/rptStatement.h"
#include "core/Helpers.h"
#include "core/Connection.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "PdfText.h"
#include "ReportChecks.h"
#include "support/ChurchSettings.h"
#include "support/GeneratedBooks.h"

using namespace modGlobal;

namespace {
std::unique_ptr<rptWeeklyReport> Weekly(int set, bool names)
{
    auto r = std::make_unique<rptWeeklyReport>();
    auto t = WeeklyReport::Build(set, names);
    if (!t)
        return nullptr;
    r->Bind(std::move(*t));
    return r;
}

const QDate kPrinted(2025, 12, 31);

ReportDocument Document(const QString& which, TestDataSet& data)
{
    if (which == QLatin1String("statements")) {
        rptStatement r;
        r.Bind(Statements::Build({false, true, 0}, QDate(2025, 1, 1), QDate(2025, 12, 31)));
        return r.Layout(kPrinted);
    }
    if (which == QLatin1String("weekly")) {
        rptWeeklyReport r;
        // The set with the most gifts: the one that runs over pages.
        const int set = int(data.Scalar(QStringLiteral(
            "SELECT CollectionID FROM Offering GROUP BY CollectionID ORDER BY COUNT(*) DESC, CollectionID LIMIT 1;")));
        r.Bind(std::move(*WeeklyReport::Build(set, true)));
        return r.Layout(kPrinted);
    }
    rptMemorials labels;
    labels.SetDataSource(1, Listings::Mailing_Labels(true, true, true, 2).value_or(ReportTable()));
    return labels.Layout(kPrinted);
}

QString Fixture(const QString& name)
{
    return QStringLiteral(QV_FIXTURES "/pdf-text/") + name + QStringLiteral(".txt");
}

// A document of plain numbered lines, for the engine's own rules.
Band TextBand(PageComposer& c, int font, const QString& text)
{
    Band b = c.NewBand();
    b.Text(0, 0, b.Width(), text, font);
    return b;
}
} // namespace

class tst_ReportEngine : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_data.reset(); }
    void weeklyReportOnOnePage();
    void weeklyReportOverSeveralPages();
    void emptyCollectionAndBlankReport();
    void csvAsPrinted();
    void csvCells_data();
    void csvCells();
    void headingsNeverCut_data();
    void headingsNeverCut();
    void thirdFundNeverMain();
    void numberingGroupsAndAbsolutePlacement();
    void textsReadBackWhenShapesAreDropped();
    void measuresAlikeWhenKeptOrDropped();
    void leastHeightNeverAboveTheWrapped_data();
    void leastHeightNeverAboveTheWrapped();
    void groupsWithTotalsSortedAndNumberedApart();
    void slipHoldsEveryCheckAndAddsUp();
    void collectionReportCarriesTheCountSheet();
    void readsAsBefore_data();
    void readsAsBefore();
    void statementPartsAsOneLayout();

private:
    QString Pdf(const Report& r, const QString& name)
    {
        return ReportChecks::Pdf(r.Layout(QDate(2025, 6, 15)), m_out.filePath(name + ".pdf"));
    }
    // Runs qv-report on the books; its exit status.
    int Tool(const QStringList& args)
    {
        QProcess p;
        p.start(QStringLiteral(QV_REPORT), QStringList{m_data->DataFile()} + args);
        p.waitForFinished(60000);
        if (p.exitCode() != 0)
            qWarning() << p.readAllStandardError();
        return p.exitCode();
    }
    // A counted plate of one set (m_set), with three checks.
    void DepositBooks()
    {
        m_set = m_data->AddCollection(QDate(2025, 6, 15));
        const int smith = m_data->AddContributor("Smith", "Ann");
        m_data->AddPledge(smith, -2025, 520, 7);
        m_data->AddOffering(smith, m_set, -2025, 120);
        m_data->AddOffering(1, m_set, -2025, 63.17);
        PlateCount::Count c;
        c.bills = {0, 1, 0, 0, 2, 0, 3};  // $63
        c.coins = {0, 0, 1, 1, 2};        // 17 cents
        c.checks = {{"1041", 10000, smith}, {"2200", 1999, 0}, {"7", 1, 0}};
        c.counter1 = "Ruth Ames";
        c.counter2 = "Bo Lind";
        c.countedAt = QDateTime(QDate(2025, 6, 15), QTime(12, 40));
        PlateCount::Save(m_set, c);
        PlateCount::Save_Bank_Line("First Bank of Elm, account 0012-3456");
    }

    std::unique_ptr<TestDataSet> m_data;
    int m_set = 0;
    QTemporaryDir m_out;
    int m_building = 0, m_missions = 0;
};

void tst_ReportEngine::init()
{
    m_data = std::make_unique<TestDataSet>();
    // QV_KEEP_PDF=1 keeps the rendered files to look at.
    if (!qEnvironmentVariableIsEmpty("QV_KEEP_PDF")) {
        m_out.setAutoRemove(false);
        qInfo() << "PDF files in" << m_out.path();
    }
    m_building = m_data->AddFund("Building Fund");
    m_missions = m_data->AddFund("Missions");
    SetReportFunds(m_building, m_missions, "Grace Fellowship Church");
}

void tst_ReportEngine::weeklyReportOnOnePage()
{
    const int flowers = m_data->AddFund("Flowers", false, false);
    const int smith = m_data->AddContributor("Smith", "John & Mary");
    const int jones = m_data->AddContributor("Jones", "Ann");
    const int brown = m_data->AddContributor("Brown", "Carl");
    m_data->AddPledge(smith, -2025, 520, 7);
    m_data->AddPledge(jones, -2025, 1000, 12);
    const int earlier = m_data->AddCollection(QDate(2025, 5, 4));
    m_data->AddOffering(smith, earlier, -2025, 500);
    const int set = m_data->AddCollection(QDate(2025, 6, 1), "Pentecost");
    m_data->AddOffering(1, set, -2025, 312.25);
    m_data->AddOffering(smith, set, -2025, 50);
    m_data->AddOffering(smith, set, m_building, 25);
    m_data->AddOffering(jones, set, -2025, 1200);
    m_data->AddOffering(jones, set, m_missions, 40);
    m_data->AddOffering(brown, set, flowers, 15);
    m_data->AddOffering(brown, set, -2024, 60);

    for (bool names : {false, true}) {
        const QString pdf = Pdf(*Weekly(set, names), names ? "names" : "envelopes");
        QCOMPARE(PdfText::PageCount(pdf), 1);
        const QString text = PdfText::Squeezed(PdfText::Pages(pdf).value(0));
        for (const char* s : {"Grace Fellowship Church", "Collection Number 2 for June 1, 2025", "Pentecost",
                              "Collections Report", "Page 1 of 1", "Printed June 15, 2025", "Operating", "Pledged",
                              "Unpledged", "Building", "Missions", "Other Fund", "Loose Offering $312.25",
                              "Totals by Fund", "2024 Operating Fund"})
            QVERIFY2(text.contains(QLatin1String(s)), s);
        if (names) {
            QVERIFY(text.contains("Smith, John & Mary $20.00 $30.00 $25.00"));
            QVERIFY(text.contains("Jones, Ann $1,000.00 $200.00 $40.00"));
            QVERIFY(text.contains("Brown, Carl 2024 Operating Fund $60.00"));
            QVERIFY(text.contains("Brown, Carl Flowers $15.00"));
        } else {
            QVERIFY(text.contains("Envelope"));
            QVERIFY(text.contains("7 $20.00 $30.00 $25.00"));
            QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\b%1 ?\\* Flowers \\$15\\.00").arg(brown))));
            QVERIFY(text.contains("No envelope number for the year"));
        }
        // Contributors' subtotal and the totals under every money column,
        // then the fund totals whose sum is the set's total.
        QVERIFY(text.contains("Total Contributors $1,020.00 $230.00 $25.00 $40.00 $75.00"));
        QVERIFY(text.contains("Total $1,020.00 $542.25 $25.00 $40.00 $75.00"));
        QVERIFY(text.contains("2025 Operating Fund $1,562.25"));
        QVERIFY(text.contains("Building Fund $25.00"));
        QVERIFY(text.contains("Total Amount Collected $1,702.25"));
    }

    // Money is right-aligned: the totals line ends where the column's
    // amounts end.
    const auto words = PdfText::Words(m_out.filePath("names.pdf"));
    QList<double> rightEdges;
    for (const auto& w : words)
        if (w.text == "$312.25" || w.text == "$542.25" || w.text == "$230.00")
            rightEdges << w.box.right();
    QCOMPARE(rightEdges.size(), 3);
    QVERIFY(std::abs(rightEdges[0] - rightEdges[1]) < 0.5 && std::abs(rightEdges[1] - rightEdges[2]) < 0.5);
}

void tst_ReportEngine::weeklyReportOverSeveralPages()
{
    const int set = m_data->AddCollection(QDate(2025, 6, 1));
    double total = 0;
    Connection::Transaction batch(m_data->DB());
    for (int i = 0; i < 200; ++i) {
        const int c = m_data->AddContributor(QStringLiteral("Giver%1").arg(i, 3, 10, QLatin1Char('0')), "Pat");
        m_data->AddPledge(c, -2025, 1000, 100 + i);
        m_data->AddOffering(c, set, -2025, 10 + i);
        m_data->AddOffering(c, set, i % 2 ? m_building : m_missions, 5);
        total += 15 + i;
    }
    batch.Commit();
    const QString pdf = Pdf(*Weekly(set, false), "long");
    const int n = PdfText::PageCount(pdf);
    QVERIFY2(n >= 4, qPrintable(QString::number(n)));
    const QStringList pages = PdfText::Pages(pdf);
    QCOMPARE(pages.size(), n);
    int lines = 0;
    for (int i = 0; i < n; ++i) {
        const QString page = PdfText::Squeezed(pages[i]);
        QVERIFY2(page.contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(n)), qPrintable(page.right(300)));
        QVERIFY(page.contains("Grace Fellowship Church"));
        // Every page lists under the column titles.
        QVERIFY(page.contains("Unpledged") || i == n - 1);
        lines += int(page.count(QRegularExpression(QStringLiteral("(^|\\n) ?(1\\d\\d|2\\d\\d) \\$\\d+\\.00 \\$5\\.00"))));
    }
    QCOMPARE(lines, 200); // every envelope once, none lost at a page break
    QVERIFY(PdfText::Squeezed(pages.join("")).contains("Total Amount Collected " + FormatAmount(total)));
}

void tst_ReportEngine::emptyCollectionAndBlankReport()
{
    const int set = m_data->AddCollection(QDate(2025, 6, 8));
    const QString pdf = Pdf(*Weekly(set, false), "empty");
    QCOMPARE(PdfText::PageCount(pdf), 1);
    const QString text = PdfText::Squeezed(PdfText::Pages(pdf).value(0));
    QVERIFY(text.contains("Total $0.00 $0.00 $0.00 $0.00 $0.00"));
    QVERIFY(text.contains("Total Amount Collected $0.00"));

    const QString blank = Pdf(rptBlank(), "blank");
    QCOMPARE(PdfText::PageCount(blank), 1);
    QVERIFY(PdfText::Pages(blank).join("").trimmed().isEmpty());
}

void tst_ReportEngine::csvAsPrinted()
{
    const int smith = m_data->AddContributor("Smith", "John");
    const int jones = m_data->AddContributor("Jones", "Ann");
    const int formula = m_data->AddContributor("=SUM(A1:A2)", "Eve");
    m_data->AddPledge(smith, -2025, 520, 7);
    m_data->AddPledge(jones, -2025, 1000, 12);
    const int set = m_data->AddCollection(QDate(2025, 6, 1), "Picnic, outdoors");
    m_data->AddOffering(1, set, -2025, 312.25);
    m_data->AddOffering(smith, set, -2025, 50);
    m_data->AddOffering(smith, set, m_building, 25);
    m_data->AddOffering(jones, set, -2025, 1200);
    m_data->AddOffering(formula, set, m_missions, 10);

    QStringList files;
    QString error;
    QVERIFY2(Reports::Export_Csv(*Weekly(set, true), m_out.path(), "week-", &files, &error), qPrintable(error));
    QCOMPARE(files, QStringList({m_out.filePath("week-Contributions.csv"), m_out.filePath("week-Totals by Fund.csv")}));
    // Headings on one line, lines in printed order with their totals, the
    // amounts as plain numbers, a formula-looking name kept as text.
    using Rows = QList<QStringList>;
    QCOMPARE(ReportChecks::Csv(files[0]),
             Rows({{"Contributor", "Operating Fund Pledged", "Operating Fund Unpledged", "Building Fund", "Missions", "Other Fund", "Other"},
                   {"Loose Offering", "", "312.25", "", "", "", ""},
                   {"'=SUM(A1:A2), Eve", "", "", "", "10.00", "", ""},
                   {"Jones, Ann", "1000.00", "200.00", "", "", "", ""},
                   {"Smith, John", "50.00", "", "25.00", "", "", ""},
                   {"Total Contributors", "1050.00", "200.00", "25.00", "10.00", "", "0.00"},
                   {"Total", "1050.00", "512.25", "25.00", "10.00", "", "0.00"}}));
    QCOMPARE(ReportChecks::Csv(files[1]), Rows({{"Fund", "Amount"},
                                                {"2025 Operating Fund", "1562.25"},
                                                {"Building Fund", "25.00"},
                                                {"Missions", "10.00"},
                                                {"Total Amount Collected", "1597.25"}}));
    QFile raw(files[0]);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(raw.readAll().startsWith("Contributor,Operating Fund Pledged,"));

    // By envelope the number stands as printed.
    QVERIFY(Reports::Export_Csv(*Weekly(set, false), m_out.path(), "env-", &files));
    const Rows byEnvelope = ReportChecks::Csv(m_out.filePath("env-Contributions.csv"));
    QCOMPARE(byEnvelope.value(0).value(0), "Envelope");
    QVERIFY(byEnvelope.contains(QStringList({"7", "50.00", "", "25.00", "", "", ""})));
    QStringList numbers;
    for (int r = 1; r <= 4; ++r)
        numbers << byEnvelope.value(r).value(0);
    // Without an envelope for the year the contributor's ID stands, with "*".
    QStringList expected = {"7", "12"};
    expected.insert(formula < 7 ? 0 : formula < 12 ? 1 : 2, QStringLiteral("%1 *").arg(formula));
    QCOMPARE(numbers, QStringList{"Loose Offering"} + expected);
}

void tst_ReportEngine::csvCells_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << "Smith" << QByteArray("Smith");
    QTest::newRow("comma and quotes") << "O'Brien, \"Pat\"" << QByteArray("\"O'Brien, \"\"Pat\"\"\"");
    QTest::newRow("accents") << QString::fromUtf8("Zoë") << QByteArray("Zo\xc3\xab");
    QTest::newRow("negative amount") << "-0.30" << QByteArray("-0.30");
    QTest::newRow("formula") << "=SUM(A1:A9)" << QByteArray("\"'=SUM(A1:A9)\"");
    QTest::newRow("plus") << "+1 555 0100" << QByteArray("\"'+1 555 0100\"");
    QTest::newRow("minus") << "-Smith" << QByteArray("\"'-Smith\"");
    QTest::newRow("at") << "@home" << QByteArray("\"'@home\"");
}

// A cell as the CSV export writes it: RFC 4180 quoting, UTF-8, and text a
// spreadsheet would take for a formula kept as text.
void tst_ReportEngine::csvCells()
{
    QFETCH(QString, cell);
    QFETCH(QByteArray, written);
    const QByteArray csv = Reports::Csv({"T", {"Name"}, {{cell}}});
    QCOMPARE(csv, "Name\r\n" + written + "\r\n");
    const QString back = ReportTable::ParseCsv(csv).value(1).value(0);
    QCOMPARE(back, written.startsWith("\"'") ? "'" + cell : cell);
}

void tst_ReportEngine::headingsNeverCut_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("Benevolence") << "Benevolence";
    const QString words = QStringLiteral("Benevolence and Outreach for the Youth Mission Trip to Kenya Relief");
    const QString one = QStringLiteral("Benevolence").repeated(6);
    for (int n : {1, 4, 9, 13, 18, 24, 31, 38, 45, 52, 60}) {
        QTest::addRow("%d letters", n) << one.left(n);
        QTest::addRow("%d with blanks", n) << words.left(n).trimmed();
    }
}

// A fund's name as a column heading: every letter printed, however long
// the name or its words; nothing drawn outside the margins, no text below
// 8 points, with a contributor named as long.
void tst_ReportEngine::headingsNeverCut()
{
    QFETCH(QString, stored);
    // A data file from elsewhere may hold a longer name than the 30 letters
    // the program keeps of it.
    const int fund = m_data->AddFund("Fund");
    m_data->DB().Execute(QStringLiteral("UPDATE Funds SET FundName = '%1' WHERE ID = %2;").arg(stored).arg(fund));
    const QString name = Fund_Display_Name(fund);
    QCOMPARE(name, stored.left(30).trimmed());
    SetReportFunds(fund, m_missions);
    const int giver = m_data->AddContributor(stored, "Pat");
    const int set = m_data->AddCollection(QDate(2025, 6, 1));
    m_data->AddOffering(giver, set, fund, 5);
    m_data->AddOffering(giver, set, -2024, 7);
    const auto report = Weekly(set, true);
    const ReportDocument doc = report->Layout(QDate(2025, 6, 15));
    const QString pdf = Pdf(*report, "heading");
    const PageItem* heading = ReportChecks::Find_Text(doc, 0, name);
    QVERIFY2(heading, "no heading holds the whole name");
    const QString shown = ReportChecks::Text_In(pdf, 0, heading->rect);
    QVERIFY2(ReportChecks::Reads_Whole(shown, name), qPrintable(shown));
    const QStringList outside = ReportChecks::Outside(doc, ReportChecks::Margin_Box(doc));
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join('\n')));
    const QStringList small = ReportChecks::Smaller_Than(doc, 8);
    QVERIFY2(small.isEmpty(), qPrintable(small.join('\n')));
}

// The main fund is never the second or third column; a column with neither
// a heading nor money is not printed.
void tst_ReportEngine::thirdFundNeverMain()
{
    SetReportFunds(0, 0);
    // With one fund besides the main one there is no third column at all.
    const int a = m_data->AddContributor("Adams", "Al");
    const int small = m_data->AddCollection(QDate(2025, 6, 8));
    m_data->AddOffering(a, small, -2025, 20);
    m_data->AddOffering(a, small, m_building, 5);
    QCOMPARE(WeeklyReport::Report_Funds(small, 0, 0), std::make_pair(m_building, 0));
    QVERIFY(Reports::Export_Csv(*Weekly(small, true), m_out.path(), "small-"));
    QCOMPARE(ReportChecks::Csv(m_out.filePath("small-Contributions.csv")).value(0),
             QStringList({"Contributor", "Operating Fund Pledged", "Operating Fund Unpledged", "Building Fund", "Other Fund", "Other"}));
}

void tst_ReportEngine::numberingGroupsAndAbsolutePlacement()
{
    ReportDocument doc;
    PageComposer c(doc);
    const auto f = ReportStyle::Start(c, "Statements", QDate(2025, 6, 15));
    // Three statements: 70 lines (two pages), 5 lines, 10 lines; each with
    // an address block at 1 inch from the left and 2 inches from the top.
    const int lengths[] = {70, 5, 10};
    for (int s = 0; s < 3; ++s) {
        if (s)
            c.Restart_Numbering();
        Band address = c.NewBand();
        address.Text(0, 0, 3600, QStringLiteral("Addressee%1\n12 Elm St").arg(s), f.body);
        c.Place(address, QPointF(ReportUnits::Inches(1), ReportUnits::Inches(2)));
        c.Skip(ReportUnits::Inches(2.5));
        for (int i = 0; i < lengths[s]; ++i)
            c.Add(TextBand(c, f.body, QStringLiteral("Statement %1 line %2").arg(s).arg(i)));
    }
    // A band taller than a page is placed once, not pushed on forever.
    Band tall = c.NewBand();
    tall.SetHeight(ReportUnits::Inches(20));
    c.Add(tall);
    c.Add(TextBand(c, f.body, "after the tall band"));
    c.Finish();
    const QString pdf = m_out.filePath("groups.pdf");
    QVERIFY(doc.WritePdf(pdf));
    const QStringList pages = PdfText::Pages(pdf);
    QStringList numbers;
    for (const QString& p : pages)
        numbers << QRegularExpression("Page \\d+ of \\d+").match(p).captured(0);
    QCOMPARE(numbers, QStringList({"Page 1 of 2", "Page 2 of 2", "Page 1 of 1", "Page 1 of 3", "Page 2 of 3", "Page 3 of 3"}));
    QVERIFY(pages[5].contains("after the tall band"));
    for (const auto& w : PdfText::Words(pdf))
        if (w.text.startsWith("Addressee")) {
            QVERIFY2(std::abs(w.box.left() - 72) < 1.5, qPrintable(QString::number(w.box.left())));
            QVERIFY(w.box.top() >= 144 - 1 && w.box.top() < 144 + 6);
        }
    int lines = 0;
    for (const QString& p : pages)
        lines += p.count("Statement 0 line");
    QCOMPARE(lines, 70);
}

// More distinct texts than a writing thread keeps shaped, coming back
// while some are still kept and some not: each must show its own glyphs.
void tst_ReportEngine::textsReadBackWhenShapesAreDropped()
{
    ReportDocument doc;
    PageComposer c(doc);
    const auto f = ReportStyle::Start(c, "Texts", QDate(2025, 6, 15));
    constexpr int kDistinct = 5000, kLines = 15000;
    for (int i = 0; i < kLines; ++i)
        c.Add(TextBand(c, f.body, QStringLiteral("t%1").arg(i % kDistinct)));
    c.Finish();
    const QString pdf = m_out.filePath("texts.pdf");
    QVERIFY(doc.WritePdf(pdf));
    QStringList shown;
    static const QRegularExpression line(QStringLiteral("^t\\d+$"));
    for (const QString& l : PdfText::Pages(pdf).join(QLatin1Char('\n')).split(QLatin1Char('\n')))
        if (line.match(l.trimmed()).hasMatch())
            shown << l.trimmed();
    QCOMPARE(shown.size(), kLines);
    for (int i = 0; i < kLines; ++i)
        QVERIFY2(shown[i] == QStringLiteral("t%1").arg(i % kDistinct), qPrintable(QStringLiteral("line %1: %2").arg(i).arg(shown[i])));
}

// A document measures more distinct texts than it keeps; those dropped
// and met again, and those kept, measure as in a document that never
// dropped any.
void tst_ReportEngine::measuresAlikeWhenKeptOrDropped()
{
    ReportDocument doc;
    const int font = doc.Font({QStringLiteral("DejaVu Sans"), 9});
    constexpr int kDistinct = 12000;
    auto text = [](int i) { return QStringLiteral("W").repeated(1 + i % 7) + QString::number(i); };
    std::vector<QSizeF> first;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < kDistinct; i += 1 + pass) {
            const QSizeF size = doc.Measure(font, text(i));
            if (pass == 0) {
                first.push_back(size);
                continue;
            }
            ReportDocument fresh;
            QCOMPARE(size, fresh.Measure(fresh.Font({QStringLiteral("DejaVu Sans"), 9}), text(i)));
            QCOMPARE(size, first[size_t(i)]);
        }
}

void tst_ReportEngine::leastHeightNeverAboveTheWrapped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bounded"); // the font has every letter
    QTest::newRow("address") << QStringLiteral("Mary Ann Whitfield-Okonkwo\n2885 Main Street Apt 12\nSpringfield, IL  62704") << true;
    QTest::newRow("blank line") << QStringLiteral("Smith\n\nDover") << true;
    QTest::newRow("one word") << QStringLiteral("Supercalifragilisticexpialidocious") << true;
    QTest::newRow("accents") << QStringLiteral("Zoë Ångström\nRue de l'Église") << true;
    QTest::newRow("another script") << QStringLiteral("王小明\n北京市") << false;
    QTest::newRow("letter beyond the font") << QStringLiteral("Ann \U00010330\nDover") << false;
}

// Placing an address skips the sizes whose lines are too many for the
// window; the bound it skips by may never exceed the height the text then
// takes, at any width it wraps to.
void tst_ReportEngine::leastHeightNeverAboveTheWrapped()
{
    QFETCH(QString, text);
    QFETCH(bool, bounded);
    ReportDocument doc;
    const int font = doc.Font({QStringLiteral("DejaVu Sans"), 10});
    for (double scale : {1.0, 0.85}) {
        const double least = doc.Least_Height(font, text, scale);
        QCOMPARE(least > 0, bounded);
        if (!bounded)
            continue;
        QCOMPARE(least, doc.Measure(font, text, 0, 0, scale).height());
        for (double width : {300.0, 900.0, 2500.0, 1e6}) {
            const QString shown = doc.Break_Long_Words(font, text, width, scale);
            const double wrapped = doc.Measure(font, shown, width, Qt::AlignLeft | Qt::TextWordWrap, scale).height();
            QVERIFY2(wrapped >= least, qPrintable(QStringLiteral("%1 < %2 at %3").arg(wrapped).arg(least).arg(width)));
        }
    }
}

void tst_ReportEngine::groupsWithTotalsSortedAndNumberedApart()
{
    // Gifts of three givers, out of order; a group per giver on pages of
    // its own with its own numbering, the gifts by date inside it, and
    // totals per giver and for all.
    ReportTable t("Gifts");
    t.AppendField("Giver", ReportTable::Type::Text, 40);
    t.AppendField("Date", ReportTable::Type::Date);
    t.AppendField("Amount", ReportTable::Type::Double);
    struct G { const char* giver; int day; double amount; };
    std::vector<G> gifts = {{"Cole", 3, 10}, {"Abel", 9, 1.25}, {"Cole", 1, 5}, {"Abel", 2, 2.5}, {"Baker", 5, 100}};
    for (int i = 0; i < 60; ++i)
        gifts.push_back({"Baker", 10 + i % 18, 1}); // runs over a page
    for (const G& g : gifts) {
        t.AddNew();
        t.Set("Giver", g.giver);
        t.Set("Date", QDate(2025, 6, g.day));
        t.Set("Amount", g.amount);
    }
    ReportDocument doc;
    PageComposer c(doc);
    const auto f = ReportStyle::Start(c, "Gifts", QDate(2025, 6, 15));
    using F = TableColumn::Format;
    TableSection table(c, {{"Giver", "Giver", 3000, F::Text, false, false, {}},
                           {"Date", "Date", 2000, F::Date, false, false, {}},
                           {"Amount", "Amount", 2000, F::Money, true, false, {}}},
                       f.body, f.bold);
    TableGroup byGiver;
    byGiver.key = [](const ReportTable& t, int r) { return t.Text(r, "Giver"); };
    byGiver.header = [f](PageComposer& c, const ReportTable& t, int r) {
        Band b = c.NewBand();
        b.Text(0, 0, b.Width(), "Statement of " + t.Text(r, "Giver"), f.bold);
        return b;
    };
    byGiver.footerLabel = [](const ReportTable& t, int r) { return "Total of " + t.Text(r, "Giver"); };
    byGiver.newPage = byGiver.restartNumbering = true;
    const auto grand = table.Run(t, {byGiver}, "All givers",
                                 [](const ReportTable& t, int r) { return t.Text(r, "Giver") + t.Value(r, "Date").toDate().toString(Qt::ISODate); });
    c.Finish();
    QCOMPARE(grand[2], 178.75);
    const QString pdf = m_out.filePath("grouped.pdf");
    QVERIFY(doc.WritePdf(pdf));
    QStringList pages = PdfText::Pages(pdf);
    QCOMPARE(pages.size(), 4);
    for (QString& p : pages)
        p = PdfText::Squeezed(p);
    QVERIFY(pages[0].contains("Statement of Abel") && pages[0].contains("Page 1 of 1"));
    QVERIFY(pages[0].indexOf("6/2/2025 $2.50") < pages[0].indexOf("6/9/2025 $1.25"));
    QVERIFY(pages[0].contains("Total of Abel $3.75"));
    QVERIFY(!pages[0].contains("Baker"));
    QVERIFY(pages[1].contains("Statement of Baker") && pages[1].contains("Page 1 of 2"));
    QVERIFY(pages[2].contains("Page 2 of 2") && pages[2].contains("Total of Baker $160.00"));
    QVERIFY(pages[2].contains("Amount")); // the column titles again on the group's second page
    QVERIFY(pages[3].contains("Statement of Cole") && pages[3].contains("Page 1 of 1"));
    QVERIFY(pages[3].indexOf("6/1/2025 $5.00") < pages[3].indexOf("6/3/2025 $10.00"));
    QVERIFY(pages[3].contains("Total of Cole $15.00") && pages[3].contains("All givers $178.75"));
}

void tst_ReportEngine::slipHoldsEveryCheckAndAddsUp()
{
    DepositBooks();
    const QString pdf = QDir(m_data->Folder()).filePath("slip.pdf");
    QCOMPARE(Tool({"deposit", "--collection", QString::number(m_set), "--pdf", pdf, "--csv",
                     QDir(m_data->Folder()).filePath("csv")}),
             0);
    const QString text = PdfText::Squeezed(PdfText::Pages(pdf).join('\n'));
    for (const char* line : {"First Bank of Elm, account 0012-3456", "Deposit of June 15, 2025", "$50 bills 1 $50.00",
                             "Pennies 2 $0.02", "Total Cash $63.17", "1041 Smith, Ann $100.00", "2200 $19.99",
                             "7 $0.01", "Total Checks (3) $120.00", "Total Deposit $183.17", "Ruth Ames", "Bo Lind"})
        QVERIFY2(text.contains(QLatin1String(line)), line);

    // The CSV holds the same lines; the checks add up to their total line.
    const QList<QStringList> checks = ReportChecks::Csv(m_data->Folder() + "/csv/Checks.csv");
    QCOMPARE(checks.value(0), (QStringList{"Check No.", "From", "Amount"}));
    QCOMPARE(checks.size(), 5);
    QCOMPARE(checks.value(2), (QStringList{"2200", "", "19.99"}));
    QCOMPARE(checks.last().last(), "120.00");
    QCOMPARE(ReportChecks::Csv(m_data->Folder() + "/csv/Cash.csv").last().last(), "63.17");

    // No such set: a message and no slip.
    QCOMPARE(Tool({"deposit", "--collection", "99", "--pdf", pdf + ".2"}), 1);
    QVERIFY(!QFile::exists(pdf + ".2"));
}

void tst_ReportEngine::collectionReportCarriesTheCountSheet()
{
    DepositBooks();
    // Two cents of the loose offering were never counted.
    m_data->AddOffering(1, m_set, 10, 0.02);
    const QString folder = QDir(m_data->Folder()).filePath("csv");
    QCOMPARE(Tool({"weekly", "--collection", QString::number(m_set), "--csv", folder}), 0);
    const QList<QStringList> sheet = ReportChecks::Csv(m_data->Folder() + "/csv/Count Sheet.csv");
    QCOMPARE(sheet.size(), 6);
    QCOMPARE(sheet.value(3), (QStringList{"Counted total", "183.17"}));
    QCOMPARE(sheet.value(4), (QStringList{"Entered total", "183.19"}));
    QCOMPARE(sheet.value(5), (QStringList{"Difference", "-0.02"}));
}

void tst_ReportEngine::readsAsBefore_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<bool>("oneAtATime");
    for (const char* which : {"statements", "weekly", "labels"})
        QTest::newRow(which) << QString::fromLatin1(which) << false;
    QTest::newRow("statements laid out one at a time") << QStringLiteral("statements") << true;
}

void tst_ReportEngine::readsAsBefore()
{
    QFETCH(QString, which);
    QFETCH(bool, oneAtATime);
    GenerateBooks(m_data, 25, 1); // the books the kept copies were made from
    const QString pdf = m_data->Folder() + QLatin1Char('/') + which + QStringLiteral(".pdf");
    QString error;
    int pages = 0;
    if (oneAtATime) {
        rptStatement r;
        r.Bind(Statements::Build({false, true, 0}, QDate(2025, 1, 1), QDate(2025, 12, 31)));
        QVERIFY2(r.Write_Pdf(pdf, kPrinted, &pages, &error), qPrintable(error));
    } else {
        const ReportDocument doc = Document(which, *m_data);
        pages = doc.PageCount();
        QVERIFY2(doc.WritePdf(pdf, &error), qPrintable(error));
    }
    QVERIFY(pages > 0);
    QCOMPARE(PdfText::PageCount(pdf), pages);

    const QString text = PdfText::Pages(pdf).join(QLatin1Char('\f'));
    QFile kept(Fixture(which));
    if (qEnvironmentVariableIsSet("QV_KEEP_PDF_TEXT") && !oneAtATime) {
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write(text.toUtf8());
        kept.close();
    }
    QVERIFY2(kept.open(QIODevice::ReadOnly), qPrintable(kept.fileName()));
    const QStringList expected = QString::fromUtf8(kept.readAll()).split(QLatin1Char('\n'));
    const QStringList actual = text.split(QLatin1Char('\n'));
    for (int i = 0; i < std::min(expected.size(), actual.size()); ++i)
        QVERIFY2(actual[i] == expected[i], qPrintable(QStringLiteral("line %1:\n  was: %2\n  now: %3").arg(i + 1).arg(expected[i], actual[i])));
    QCOMPARE(actual.size(), expected.size());

    // name type encoding emb sub uni object ID, after two heading lines.
    const QStringList fonts = PdfText::Run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    static const QRegularExpression subset(QStringLiteral("^[A-Z]{6}\\+\\S+\\s+CID TrueType\\s+Identity-H\\s+yes\\s+yes\\s+yes\\s"));
    for (const QString& font : fonts)
        QVERIFY2(subset.match(font).hasMatch(), qPrintable(font));
}

// Everybody's statements are laid out in parts on every core and put
// together: the pages, their fonts and the printed tables must be those of
// one layout from first to last.
void tst_ReportEngine::statementPartsAsOneLayout()
{
    GenerateBooks(m_data, 25, 1);
    rptStatement r;
    r.Bind(Statements::Build({false, true, 0}, QDate(2025, 1, 1), QDate(2025, 12, 31)));
    QVERIFY(r.Table(2)->RowCount() > 16);
    const ReportDocument parts = r.Layout(kPrinted);
    const ReportDocument one = r.Layout_Statements(kPrinted, r.Statement_Order());
    QCOMPARE(parts.PageCount(), one.PageCount());
    QCOMPARE(parts.Fonts().size(), one.Fonts().size());
    for (int p = 0; p < one.PageCount(); ++p) {
        const ReportPage &a = parts.pages[size_t(p)], &b = one.pages[size_t(p)];
        QCOMPARE(a.number, b.number);
        QCOMPARE(a.count, b.count);
        QCOMPARE(a.items.size(), b.items.size());
        for (size_t i = 0; i < b.items.size(); ++i) {
            QCOMPARE(a.items[i].text, b.items[i].text);
            QCOMPARE(a.items[i].rect, b.items[i].rect);
            QCOMPARE(parts.Fonts()[a.items[i].font], one.Fonts()[b.items[i].font]);
        }
    }
    QCOMPARE(parts.tables.size(), one.tables.size());
    for (size_t t = 0; t < one.tables.size(); ++t) {
        QCOMPARE(parts.tables[t].name, one.tables[t].name);
        QCOMPARE(parts.tables[t].headings, one.tables[t].headings);
        QCOMPARE(parts.tables[t].rows, one.tables[t].rows);
    }
}

QV_TEST_MAIN(tst_ReportEngine, QGuiApplication)
#include "tst_report_engine.moc"

// The statements and the pledge status report rendered to PDF and read back:
// a statement per contributor with its own page numbers, the address where
// a window envelope shows it, the tax statement; the run that writes a file
// per statement, its names, and what Cancel and a failure leave behind.
#include "PdfText.h"
#include "ReportChecks.h"
#include "reports/PledgeStatusTables.h"
#include "reports/StatementTables.h"
#include "reports/rptPledgeStatus.h"
#include "reports/rptStatement.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "core/Connection.h"
#include "storage/clsChurch.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtTest/QTest>

#include "support/ChurchSettings.h"
#include "support/TestDataSet.h"

using namespace modGlobal;

namespace {
void Address(int id, const QString& a1, const QString& city, const QString& zip)
{
    DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '%1', City = '%2', State = 'OR', ZipCode = '%3' WHERE ID = %4;")
                     .arg(a1, city, zip)
                     .arg(id));
}
} // namespace

class tst_StatementRender : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_data.reset(); }
    void aStatementPerContributor();
    void addressInTheEnvelopeWindow_data();
    void addressInTheEnvelopeWindow();
    void aFilePerStatement();
    void cancelAndFailureLeaveNoHalfFile();
    void pledgeStatusTotals();
    void byNameWithoutCaseOrAccents();
    void pledgeLinesTotalsAndCsv();
    void fundHeadingsWhole();
    void longNamesInsideMarginsAndReadable();

private:
    std::unique_ptr<rptStatement> Report()
    {
        auto r = std::make_unique<rptStatement>();
        r->Bind(Statements::Build({false, true, 0}, QDate(2025, 1, 1), QDate(2025, 12, 31)));
        return r;
    }
    QString Pdf(const ReportDocument& doc) { return ReportChecks::Pdf(doc, m_data->Folder() + QStringLiteral("/out.pdf")); }

    std::unique_ptr<TestDataSet> m_data;
    int m_adams = 0, m_baker = 0, m_cole = 0;
};

void tst_StatementRender::init()
{
    m_data = std::make_unique<TestDataSet>();
    SetChurch("Grace Church", "No goods or services were provided in return for these gifts.");
    m_adams = m_data->AddContributor("Adams", "Zoe");
    m_baker = m_data->AddContributor("Baker", "Ann Marie");
    m_cole = m_data->AddContributor("Cole", "Ed");
    Address(m_adams, "4 Birch Rd", "Salem", "97302");
    Address(m_baker, "77 Long Meadow Lane", "Keizer", "97303");
    m_data->AddPledge(m_adams, -2025, 2600, 42);
    m_data->AddPledge(m_cole, -2025, 100, 7);
    // Adams gives every Sunday and to a second fund: more lines than a page holds.
    const int building = m_data->AddFund("Building Fund");
    for (QDate d(2025, 1, 5); d.year() == 2025; d = d.addDays(7)) {
        const int set = m_data->AddCollection(d);
        m_data->AddOffering(m_adams, set, -2025, 50);
        if (d.month() % 2 == 0)
            m_data->AddOffering(m_adams, set, building, 10);
        if (d.day() <= 7)
            m_data->AddOffering(m_baker, set, -2025, 20);
    }
}

void tst_StatementRender::aStatementPerContributor()
{
    const auto report = Report();
    const ReportDocument doc = report->Layout(QDate(2026, 1, 10));
    const QString pdf = Pdf(doc);
    const QStringList pages = PdfText::Pages(pdf);
    QCOMPARE(PdfText::PageCount(pdf), doc.PageCount());
    // Adams on two pages, then Baker and Cole on one each, by name.
    QCOMPARE(pages.size(), 4);
    QVERIFY(pages[0].contains("Zoe Adams"));
    QVERIFY(pages[0].contains("Page 1 of 2"));
    QVERIFY(pages[1].contains("Page 2 of 2"));
    QVERIFY(pages[1].contains("Zoe Adams (continued)"));
    QVERIFY(pages[2].contains("Ann Marie Baker"));
    QVERIFY(pages[2].contains("Page 1 of 1"));
    QVERIFY(pages[3].contains("Ed Cole"));
    QVERIFY(pages[3].contains("Page 1 of 1"));
    QVERIFY(!pages[0].contains("Baker"));

    const QString adams = PdfText::Squeezed(pages[0] + pages[1]);
    QVERIFY(adams.contains("Statement of Contributions Received Between January 1, 2025 and December 31, 2025"));
    // 52 Sundays of $50 and 4 months of $10 Sundays; the pledge is paid up.
    QVERIFY2(adams.contains("Total Contributions for the Period $2,"), qPrintable(adams.right(900)));
    QVERIFY(adams.contains("Printed January 10, 2026"));
    QVERIFY(adams.contains("No goods or services were provided in return for these gifts."));
    // The tax statement, the totals and the pledge position close the
    // statement, on its last page.
    QVERIFY(!pages[0].contains("No goods or services"));
    QVERIFY(PdfText::Squeezed(pages[1]).contains("2025 Operating Fund $2,600.00 $0.00 $2,600.00 $0.00"));

    // Cole pledged and gave nothing: his statement says so.
    QVERIFY(pages[3].contains("No contributions were received in this period."));
    QVERIFY(PdfText::Squeezed(pages[3]).contains("Total Contributions for the Period $0.00"));
}

void tst_StatementRender::addressInTheEnvelopeWindow_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<double>("clearance"); // inches inside the window's edges
    QTest::newRow("three lines") << "Adams" << "" << 0.125;
    QTest::newRow("four lines") << "Adams" << "Apartment 12" << 0.07;
    QTest::newRow("five lines") << "Abercrombie-Fitzgerald Worthington Smythe of Kent" << "Apartment 12" << 0.0;
}

// The name and address stand in the window of a #10 envelope (4 1/2 by
// 1 1/8 in, 7/8 in from the left and 1/2 in from the bottom of the 4 1/8 in
// high envelope) whether the page folded in three rests at the envelope's
// top or bottom, its left or right.
void tst_StatementRender::addressInTheEnvelopeWindow()
{
    QFETCH(QString, last);
    QFETCH(QString, line2);
    QFETCH(double, clearance);
    DB().Execute(QStringLiteral("UPDATE Contributors SET LastName = '%1', Address2 = '%2' WHERE ID = %3;").arg(last, line2).arg(m_adams));
    const QString pdf = Pdf(Report()->Layout(QDate(2026, 1, 10)));
    const double folded = 11.0 / 3, envelope = 4.125;
    const QRectF restingTop(0.875, envelope - 0.5 - 1.125, 4.5, 1.125);
    const QRectF restingBottom = restingTop.translated(-1.0, -(envelope - folded));
    const QRectF seen = restingTop.intersected(restingBottom);
    const QRectF inside(QPointF(seen.left() + clearance, seen.top() + clearance) * 72,
                        QPointF(seen.right() - clearance, seen.bottom() - clearance) * 72);
    QStringList words = {"Zoe", "4", "Birch", "Rd", "Salem,", "OR", "97302"};
    words << last.split(' ') << line2.split(' ', Qt::SkipEmptyParts);
    int found = 0;
    QRectF block;
    for (const PdfText::Word& w : PdfText::Words(pdf))
        if (w.page == 0 && w.box.top() > 2 * 72 && w.box.top() < 3.5 * 72 && words.contains(w.text)) {
            ++found;
            block = block.isNull() ? w.box : block.united(w.box);
        }
    QVERIFY2(found >= words.size() - 1, qPrintable(QString::number(found)));
    QVERIFY2(inside.adjusted(-0.5, -0.5, 0.5, 0.5).contains(block), qPrintable(QStringLiteral("address at %1,%2 to %3,%4 in")
                                                     .arg(block.left() / 72).arg(block.top() / 72)
                                                     .arg(block.right() / 72).arg(block.bottom() / 72)));
}

void tst_StatementRender::aFilePerStatement()
{
    // The loose offering is a run of its own.
    const QString folder = m_data->Folder() + QStringLiteral("/each");
    QDir().mkpath(folder);
    const auto report = Report();
    QList<int> progress;
    const StatementFiles files = Write_Statement_Pdfs(*report, folder, -2025, QDate(2026, 1, 10), [&](int done, int total) {
        progress << done * 10 + total;
        return true;
    });
    QVERIFY(files.error.isEmpty());
    QVERIFY(!files.cancelled);
    QCOMPARE(files.written, 3);
    QCOMPARE(progress, QList<int>({13, 23, 33}));
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             QStringList({"0007 Cole, Ed.pdf", "0042 Adams, Zoe.pdf", "Baker, Ann Marie.pdf"}));
    const QString adams = folder + QStringLiteral("/0042 Adams, Zoe.pdf");
    QCOMPARE(PdfText::PageCount(adams), 2);
    const QStringList pages = PdfText::Pages(adams);
    QVERIFY(pages[0].contains("Zoe Adams") && pages[1].contains("Page 2 of 2"));
    QVERIFY(PdfText::Pages(folder + QStringLiteral("/Baker, Ann Marie.pdf")).value(0).contains("Page 1 of 1"));

    const int set = m_data->AddCollection(QDate(2025, 3, 30));
    m_data->AddOffering(1, set, -2025, 33);
    rptStatement loose;
    loose.Bind(Statements::Build({false, false, 1}, QDate(2025, 1, 1), QDate(2025, 12, 31)));
    QCOMPARE(Write_Statement_Pdfs(loose, folder, -2025, QDate(2026, 1, 10)).written, 1);
    QVERIFY(PdfText::Pages(folder + QStringLiteral("/Loose Offering.pdf")).value(0).contains("Loose Offering"));
}

void tst_StatementRender::cancelAndFailureLeaveNoHalfFile()
{
    const QString folder = m_data->Folder() + QStringLiteral("/cancel");
    QDir().mkpath(folder);
    const auto report = Report();
    // Cancel after the first file: it is whole, and nothing else is there.
    const StatementFiles files = Write_Statement_Pdfs(*report, folder, -2025, QDate(2026, 1, 10), [](int, int) { return false; });
    QVERIFY(files.cancelled);
    QCOMPARE(files.written, 1);
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList({"0042 Adams, Zoe.pdf"}));
    QCOMPARE(PdfText::PageCount(folder + "/" + left[0]), 2);

    // A folder that cannot be written: the reason, and no file.
    const QString notAFolder = m_data->Folder() + QStringLiteral("/plain-file");
    QFile f(notAFolder);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const StatementFiles failed = Write_Statement_Pdfs(*report, notAFolder, -2025, QDate(2026, 1, 10));
    QCOMPARE(failed.written, 0);
    QVERIFY(failed.error.startsWith(QDir::toNativeSeparators(notAFolder)));
    QCOMPARE(failed.failed.size(), 3); // each statement tried, none given up on the first failure

    // One file the disk refuses (a folder has its name): the others are written.
    const QString blocked = m_data->Folder() + QStringLiteral("/blocked");
    QVERIFY(QDir().mkpath(blocked + QStringLiteral("/0042 Adams, Zoe.pdf")));
    const StatementFiles partly = Write_Statement_Pdfs(*report, blocked, -2025, QDate(2026, 1, 10));
    QCOMPARE(partly.written, 2);
    QCOMPARE(partly.failed.size(), 1);
    QVERIFY(partly.failed[0].contains("0042 Adams, Zoe.pdf"));
}

void tst_StatementRender::pledgeStatusTotals()
{
    rptPledgeStatus report;
    report.SetDataSource(1, PledgeStatus::Build({-2025, PledgeStatus::NameOrder, QDate(2025, 1, 1), QDate(2025, 6, 30), true, true}));
    const QString pdf = Pdf(report.Layout(QDate(2025, 7, 1)));
    const QString text = PdfText::Squeezed(PdfText::Pages(pdf).join('\n'));
    QVERIFY(text.contains("Grace Church"));
    QVERIFY(text.contains("2025 Operating Fund Pledge Status Report for the Period 1/1/2025 through 6/30/2025"));
    // Adams 26 Sundays x $50 = $1,300 paid, $1,300 left; Baker gave $120
    // without a pledge; Cole pledged $100 and gave nothing.
    QVERIFY(text.contains("Adams, Zoe 42 $2,600.00 $0.00 $1,300.00 $1,300.00 $0.00"));
    QVERIFY(text.contains("Baker, Ann Marie $0.00 $0.00 $120.00 $0.00 $120.00"));
    QVERIFY(text.contains("Cole, Ed 7 $100.00 $0.00 $0.00 $100.00 $0.00"));
    QVERIFY2(text.contains("Totals $2,700.00 $0.00 $1,420.00 $1,400.00 $120.00"), qPrintable(text));
    // Names come in sort order.
    QVERIFY(text.indexOf("Adams, Zoe") < text.indexOf("Baker, Ann") && text.indexOf("Baker, Ann") < text.indexOf("Cole, Ed"));
}

void tst_StatementRender::byNameWithoutCaseOrAccents()
{
    for (const char* last : {"van der Berg", "Zimmermann", "Smith", "\u00c4ngel", "de la Cruz"}) {
        const int id = m_data->AddContributor(QString::fromUtf8(last), "Pat");
        m_data->AddPledge(id, -2025, 10);
    }
    const auto report = Report();
    QStringList order;
    for (int r : report->Statement_Order())
        order << report->Table(2)->Text(r, "ContributorInfo").section("\r\n", 0, 0);
    QCOMPARE(order, QStringList({"Zoe Adams", QString::fromUtf8("Pat \u00c4ngel"), "Ann Marie Baker", "Ed Cole", "Pat de la Cruz",
                                 "Pat Smith", "Pat van der Berg", "Pat Zimmermann"}));
}

// A second fund nobody pledged to and Baker never gave to: no "$0.00"
// pledge line for it, and no total under its empty column; and the CSV
// files of what is printed.
void tst_StatementRender::pledgeLinesTotalsAndCsv()
{
    const int building = int(m_data->Scalar("SELECT ID FROM Funds WHERE FundName = 'Building Fund';"));
    SetReportFunds(building, 0);
    const auto report = Report();
    const QStringList pages = PdfText::Pages(Pdf(report->Layout(QDate(2026, 1, 10))));
    QCOMPARE(pages.size(), 4);
    const QString adams = PdfText::Squeezed(pages[1]), baker = PdfText::Squeezed(pages[2]), cole = PdfText::Squeezed(pages[3]);
    QVERIFY2(adams.contains("Building Fund $0.00 $0.00 $"), qPrintable(adams));
    QVERIFY2(!baker.contains("Building Fund $0.00"), qPrintable(baker));
    QVERIFY(!cole.contains("Building Fund $0.00"));
    QVERIFY(baker.contains("2025 Operating Fund $0.00 $0.00 $240.00 $0.00"));
    QVERIFY2(QRegularExpression("Totals \\$240\\.00 ?\n").match(baker).hasMatch(), qPrintable(baker));

    QStringList files;
    QString error;
    QVERIFY2(Reports::Export_Csv(*report, m_data->Folder(), "st-", &files, &error), qPrintable(error));
    QCOMPARE(files, QStringList({m_data->Folder() + "/st-Gifts.csv", m_data->Folder() + "/st-Pledges.csv"}));
    const QList<QStringList> gifts = ReportChecks::Csv(files[0]);
    // The third fund has neither a heading nor money: no column.
    QCOMPARE(gifts.value(0), QStringList({"Contributor", "Date", "2025 Operating Fund", "Building Fund", "Other", "Other Fund or Comment"}));
    QCOMPARE(gifts.value(1), QStringList({"Zoe Adams", "1/5/2025", "50.00", "", "", ""}));
    QCOMPARE(gifts.value(5), QStringList({"Zoe Adams", "2/2/2025", "50.00", "10.00", "", ""}));
    QVERIFY(gifts.contains(QStringList({"Ann Marie Baker", "12/7/2025", "20.00", "", "", ""})));
    QVERIFY(gifts.contains(QStringList({"Ann Marie Baker", "Totals", "240.00", "", "", ""})));
    QCOMPARE(ReportChecks::Csv(files[1]),
             QList<QStringList>({{"Contributor", "Pledge", "Pledged", "Paid Before the Period", "Paid in the Period", "Remaining"},
                                 {"Zoe Adams", "2025 Operating Fund", "2600.00", "0.00", "2600.00", "0.00"},
                                 {"Zoe Adams", "Building Fund", "0.00", "0.00", "260.00", "0.00"},
                                 {"Ann Marie Baker", "2025 Operating Fund", "0.00", "0.00", "240.00", "0.00"},
                                 {"Ed Cole", "2025 Operating Fund", "100.00", "0.00", "0.00", "100.00"}}));
}

// Fund names as column headings: every letter printed however long the
// name or its words.
void tst_StatementRender::fundHeadingsWhole()
{
    const QString one = QStringLiteral("Benevolence").repeated(6);
    for (const QString& name : {QStringLiteral("Benevolence"), one.left(30), one.left(60),
                                QStringLiteral("Building and Grounds Improvement Capital Campaign Fund 2025 x").left(60)}) {
        DB().Execute(QStringLiteral("UPDATE Funds SET FundName = '%1' WHERE FundName <> 'Operating Fund' AND ID > 1;").arg(name));
        const ReportDocument doc = Report()->Layout(QDate(2026, 1, 10));
        const QString pdf = Pdf(doc);
        const PageItem* heading = ReportChecks::Find_Text(doc, 0, name);
        QVERIFY2(heading, qPrintable(name));
        const QString shown = ReportChecks::Text_In(pdf, 0, heading->rect);
        QVERIFY2(ReportChecks::Reads_Whole(shown, name), qPrintable(name + " read as " + shown));
    }
}

// Sixty-letter names and forty-letter address lines: every item inside the
// margins, no text cut, none smaller than 8 points, on every page of the
// statements and the pledge status report.
void tst_StatementRender::longNamesInsideMarginsAndReadable()
{
    const QString last = QStringLiteral("Montgomery-Fitzgerald-Worthington");
    const QString first = QStringLiteral("Bartholomew Alexander Jr.");
    const int id = m_data->AddContributor(last, first);
    DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '%1', Address2 = '%2', City = 'Salem', State = 'OR', "
                                "ZipCode = '97301-1234' WHERE ID = %3;")
                     .arg(QStringLiteral("1234 Northwest Long Meadow Lane Extended"), QStringLiteral("Apartment 5678, Building C, Suite 100"))
                     .arg(id));
    m_data->AddPledge(id, -2025, 500, 77);
    DB().Execute(QStringLiteral("UPDATE Funds SET FundName = '%1' WHERE FundName = 'Building Fund';")
                     .arg(QStringLiteral("Building and Grounds Improvement Capital Campaign Fund 2025")));
    rptPledgeStatus status;
    status.SetDataSource(1, PledgeStatus::Build({-2025, PledgeStatus::NameOrder, QDate(2025, 1, 1), QDate(2025, 6, 30), true, true}));
    for (const ReportDocument& doc : {Report()->Layout(QDate(2026, 1, 10)), status.Layout(QDate(2025, 7, 1))}) {
        const QStringList outside = ReportChecks::Outside(doc, ReportChecks::Margin_Box(doc));
        QVERIFY2(outside.isEmpty(), qPrintable(doc.title + ": " + outside.join('\n')));
        const QStringList small = ReportChecks::Smaller_Than(doc, 8);
        QVERIFY2(small.isEmpty(), qPrintable(doc.title + ": " + small.join('\n')));
    }
}

QV_TEST_MAIN(tst_StatementRender, QGuiApplication)
#include "tst_statement_render.moc"

// The statements and the pledge status report rendered to PDF and read back:
// a statement per contributor with its own page numbers, the address where
// a window envelope shows it, the tax statement; the run that writes a file
// per statement, its names, and what Cancel and a failure leave behind.
#include "PdfText.h"
#include "reports/PledgeStatusTables.h"
#include "reports/StatementTables.h"
#include "reports/rptPledgeStatus.h"
#include "reports/rptStatement.h"
#include "shell/modGlobal.h"
#include "storage/Connection.h"
#include "storage/clsChurch.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtTest/QTest>

#include "support/TestDataSet.h"

using namespace modGlobal;

namespace {
void Address(int id, const QString& a1, const QString& city, const QString& zip)
{
    DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '%1', City = '%2', State = 'OR', ZipCode = '%3' WHERE ID = %4;")
                     .arg(a1, city, zip)
                     .arg(id));
}

// Words of a page that make up a text, in reading order.
QList<PdfText::Word> Find(const QList<PdfText::Word>& words, int page, const QStringList& texts)
{
    QList<PdfText::Word> found;
    for (const PdfText::Word& w : words)
        if (w.page == page && texts.contains(w.text) && w.box.top() > 1.5 * 72) // below the church's block
            found << w;
    return found;
}
} // namespace

class tst_StatementRender : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_data.reset(); }
    void aStatementPerContributor();
    void addressInTheEnvelopeWindow();
    void aFilePerStatement();
    void cancelAndFailureLeaveNoHalfFile();
    void pledgeStatusTotals();

private:
    std::unique_ptr<rptStatement> Report()
    {
        auto r = std::make_unique<rptStatement>();
        r->Bind(Statements::Build({false, true, 0}, QDate(2025, 1, 1), QDate(2025, 12, 31)));
        return r;
    }
    QString Pdf(const ReportDocument& doc)
    {
        const QString path = m_data->Folder() + QStringLiteral("/out.pdf");
        QString error;
        if (!doc.WritePdf(path, &error))
            qWarning() << error;
        return path;
    }

    std::unique_ptr<TestDataSet> m_data;
    int m_adams = 0, m_baker = 0, m_cole = 0;
};

void tst_StatementRender::init()
{
    m_data = std::make_unique<TestDataSet>();
    clsChurch c;
    c.Get_One_Record();
    c.ChurchName("Grace Church");
    c.Address1("1 Church St");
    c.City("Salem");
    c.State("OR");
    c.ZipCode("97301");
    c.IRSStatement("No goods or services were provided in return for these gifts.");
    c.Update_Record_to_DB();
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

void tst_StatementRender::addressInTheEnvelopeWindow()
{
    const auto report = Report();
    const QString pdf = Pdf(report->Layout(QDate(2026, 1, 10)));
    const QList<PdfText::Word> words = PdfText::Words(pdf);
    const QRectF window = rptStatement::Envelope_Window();
    const QRectF points(window.x() / 1200 * 72, window.y() / 1200 * 72, window.width() / 1200 * 72, window.height() / 1200 * 72);
    // The window of a #10 envelope lies between 2.5 and 3.15 in from the top.
    QVERIFY(points.top() >= 2.5 * 72 - 0.1 && points.bottom() <= 3.2 * 72);
    QVERIFY(points.left() >= 0.875 * 72 && points.right() <= 4.375 * 72);
    struct Expect {
        int page;
        QStringList words;
    };
    for (const Expect& e : {Expect{0, {"Zoe", "Adams", "4", "Birch", "Rd", "Salem,", "OR", "97302"}},
                            Expect{2, {"Ann", "Marie", "Baker", "77", "Long", "Meadow", "Lane", "Keizer,", "97303"}}}) {
        const QList<PdfText::Word> found = Find(words, e.page, e.words);
        QVERIFY2(found.size() >= e.words.size(), qPrintable(QString::number(found.size())));
        for (const PdfText::Word& w : found)
            QVERIFY2(points.contains(w.box), qPrintable(w.text + QStringLiteral(" at %1,%2").arg(w.box.x()).arg(w.box.y())));
    }
    // The church's own address is not in the window.
    for (const PdfText::Word& w : Find(words, 0, {"Church"}))
        QVERIFY(!points.intersects(w.box));
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

int main(int argc, char** argv)
{
    // Text is measured with real fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    PrepareTestEnvironment();
    tst_StatementRender tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_statement_render.moc"

// The PDF files the program writes, read back with poppler's tools: the text
// of a statement run, a weekly report and a label sheet made from the same
// generated books must read exactly as the kept copies made before the
// writer was our own, and every font in them must be an embedded subset
// that maps back to text (searching and copying work).
#include "PdfText.h"
#include "SampleData.h"
#include "reports/ListingReports.h"
#include "reports/ListingTables.h"
#include "reports/Report.h"
#include "reports/WeeklyReportTables.h"
#include "reports/rptStatement.h"
#include "support/TestDataSet.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtTest/QTest>

namespace {
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
} // namespace

class tst_PdfFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readsAsBefore_data();
    void readsAsBefore();
    void statementPartsAsOneLayout();

private:
    std::unique_ptr<TestDataSet> m_data;
};

void tst_PdfFile::initTestCase()
{
    m_data = std::make_unique<TestDataSet>();
    SampleData::Params p;
    p.contributors = 25;
    p.years = 1;
    SampleData::Generate(p);
}

void tst_PdfFile::readsAsBefore_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<bool>("oneAtATime");
    for (const char* which : {"statements", "weekly", "labels"})
        QTest::newRow(which) << QString::fromLatin1(which) << false;
    QTest::newRow("statements laid out one at a time") << QStringLiteral("statements") << true;
}

// Everybody's statements are laid out in parts on every core and put
// together: the pages, their fonts and the printed tables must be those of
// one layout from first to last.
void tst_PdfFile::statementPartsAsOneLayout()
{
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

void tst_PdfFile::readsAsBefore()
{
    QFETCH(QString, which);
    QFETCH(bool, oneAtATime);
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

QTEST_MAIN(tst_PdfFile)
#include "tst_pdf_file.moc"

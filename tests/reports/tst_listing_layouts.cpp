// The fund report, telephone directory and label layouts rendered to PDF
// and read back: what each page says, and where each label lands.
#include "PdfText.h"
#include "ReportChecks.h"
#include "reports/ListingReports.h"
#include "reports/ListingTables.h"
#include "support/ChurchSettings.h"
#include "support/CoreTest.h"

#include <QGuiApplication>

using namespace modGlobal;

namespace {
// A label's cell in points, as pdftotext -bbox measures.
QRectF Cell(const LabelTemplate& t, int index, QPointF offset = {})
{
    return QRectF(t.positions.at(index % t.PerSheet()) + offset, t.label);
}

ReportTable Address_Labels(int blanks, int people)
{
    ReportTable t = Listings::Label_Table();
    for (int i = 0; i < blanks; ++i) {
        t.AddNew();
        t.Set("NameAddr", ".");
        t.Set("SortField", "A");
    }
    for (int i = 0; i < people; ++i) {
        t.AddNew();
        t.Set("NameAddr", QStringLiteral("Person%1 Name\r\n%1 Elm St\r\nSpringfield, IL  62704").arg(i, 2, 10, QLatin1Char('0')));
        t.Set("SortField", QStringLiteral("Z%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    return t;
}
} // namespace

class tst_ListingLayouts : public QObject {
    Q_OBJECT
private slots:
    void init() { m_data = std::make_unique<TestDataSet>(); }
    void cleanup() { m_data.reset(); }
    void fundReportGroupedByDateWithTotals();
    void fundReportWithoutGifts();
    void telephoneDirectorySorted();
    void labelsLandInTheirCells();
    void offsetMovesEveryLabel();
    void otherSheetsAndLongAddresses();
    void envelopeBoxLabels();
    void fromTheCommandLine();
    void insideTheMarginsAndReadable();

private:
    QString Pdf(const Report& r, const QString& name) { return ReportChecks::Pdf(r.Layout(QDate(2025, 6, 15)), m_out.filePath(name)); }
    std::unique_ptr<TestDataSet> m_data;
    QTemporaryDir m_out;
};

void tst_ListingLayouts::fundReportGroupedByDateWithTotals()
{
    SetChurch("Grace Church");
    const int fund = m_data->AddFund("Memorial Fund");
    const int smith = m_data->AddContributor("Smith", "John");
    const int jones = m_data->AddContributor("Jones", "Ann");
    const int c1 = m_data->AddCollection(QDate(2025, 3, 2));
    const int c2 = m_data->AddCollection(QDate(2025, 3, 9));
    m_data->AddOffering(smith, c1, fund, 25);
    m_data->AddOffering(jones, c1, fund, 1200.5);
    m_data->AddOffering(1, c2, fund, 7.25);
    rptFunds r;
    r.SetDataSource(1, *Listings::Fund_Report({fund, false, 0, QDate(2025, 3, 1), QDate(2025, 3, 31)}, true));
    const QString pdf = Pdf(r, "funds.pdf");
    const QStringList pages = PdfText::Pages(pdf);
    QCOMPARE(pages.size(), 1);
    const QString p = PdfText::Squeezed(pages[0]);
    QVERIFY(p.contains("Grace Church"));
    QVERIFY(p.contains("Memorial Fund Receipts from March 1, 2025 through March 31, 2025"));
    QVERIFY2(p.contains(QStringLiteral("3/2/2025 %1 Jones, Ann $1,200.50").arg(c1)), qPrintable(p));
    QVERIFY(p.contains(QStringLiteral("3/2/2025 %1 Smith, John $25.00").arg(c1)));
    QVERIFY(p.contains("Total for 3/2/2025 $1,225.50"));
    QVERIFY(p.contains(QStringLiteral("3/9/2025 %1 Loose Offering $7.25").arg(c2)));
    QVERIFY(p.contains("Total for 3/9/2025 $7.25"));
    QVERIFY(p.contains("Total $1,232.75"));
    QVERIFY(p.contains("Page 1 of 1"));
    // The date totals come after their lines and before the next date.
    QVERIFY(p.indexOf("Total for 3/2/2025") < p.indexOf("3/9/2025 "));
}

void tst_ListingLayouts::fundReportWithoutGifts()
{
    const int fund = m_data->AddFund("Building Fund");
    rptFunds r;
    r.SetDataSource(1, *Listings::Fund_Report({fund, false, 0, QDate(2025, 1, 1), QDate(2025, 6, 15)}, true));
    const QString p = PdfText::Squeezed(PdfText::Pages(Pdf(r, "nogifts.pdf")).value(0));
    QVERIFY(p.contains("Building Fund Receipts from January 1, 2025 through June 15, 2025"));
    QVERIFY2(p.contains("Total $0.00"), qPrintable(p));
    QVERIFY(!p.contains("Total for"));
}

void tst_ListingLayouts::telephoneDirectorySorted()
{
    m_data->AddContributor("Zeller", "Amy");
    m_data->AddContributor("adams", "Bob"); // lower case sorts among the A's
    m_data->AddContributor("Baker", "Cy");
    m_data->DB().Execute("UPDATE Contributors SET Phone = '555-0' || ID, Address1 = ID || ' Main St', City = 'Alton'");
    rptTelephone r;
    r.SetDataSource(1, *Listings::Telephone_Directory(true, false, false));
    const QString p = PdfText::Squeezed(PdfText::Pages(Pdf(r, "phone.pdf")).value(0));
    QVERIFY(p.contains("Telephone Directory"));
    const int a = p.indexOf("adams, Bob"), b = p.indexOf("Baker, Cy"), z = p.indexOf("Zeller, Amy");
    QVERIFY2(a >= 0 && a < b && b < z, qPrintable(p));
    QVERIFY(QRegularExpression("Baker, Cy \\d+ Main St, Alton 555-0\\d+").match(p).hasMatch());
}

void tst_ListingLayouts::labelsLandInTheirCells()
{
    rptMemorials r;
    const LabelTemplate sheet = LabelTemplates::Avery5160();
    r.SetSheet(sheet);
    r.SetDataSource(1, Address_Labels(3, 30)); // 3 skipped + 30 = a second sheet
    const QString pdf = Pdf(r, "labels.pdf");
    QCOMPARE(PdfText::PageCount(pdf), 2);
    QMap<int, int> found; // label number -> cell it landed in
    for (const PdfText::Word& w : PdfText::Words(pdf)) {
        if (!w.text.startsWith("Person"))
            continue;
        const int n = w.text.mid(6).toInt();
        const int cell = n + 3;
        QCOMPARE(w.page, cell / 30);
        QVERIFY2(Cell(sheet, cell).contains(w.box), qPrintable(w.text));
        found[n] = cell;
    }
    QCOMPARE(found.size(), 30);
    // Nothing stands in the three skipped cells; the "." of a blank label
    // is never printed.
    for (const PdfText::Word& w : PdfText::Words(pdf)) {
        QVERIFY(w.text != ".");
        for (int cell = 0; cell < 3; ++cell)
            QVERIFY(!(w.page == 0 && Cell(sheet, cell).intersects(w.box)));
    }
}

void tst_ListingLayouts::offsetMovesEveryLabel()
{
    const LabelTemplate sheet = LabelTemplates::Avery5160();
    rptMemorials plain, moved;
    plain.SetDataSource(1, Address_Labels(0, 6));
    moved.SetDataSource(1, Address_Labels(0, 6));
    moved.SetOffset(QPointF(-4.5, 9));
    // Words come out in the same order; each one moved by the offset.
    const QList<PdfText::Word> before = PdfText::Words(Pdf(plain, "plain.pdf"));
    const QList<PdfText::Word> after = PdfText::Words(Pdf(moved, "moved.pdf"));
    QCOMPARE(after.size(), before.size());
    QVERIFY(after.size() >= 6 * 6);
    for (int i = 0; i < after.size(); ++i) {
        QCOMPARE(after[i].text, before[i].text);
        QVERIFY(std::abs(after[i].box.x() - (before[i].box.x() - 4.5)) < 0.2);
        QVERIFY(std::abs(after[i].box.y() - (before[i].box.y() + 9)) < 0.2);
    }
}

void tst_ListingLayouts::otherSheetsAndLongAddresses()
{
    LabelTemplate wide = LabelTemplates::Avery5160();
    if (auto installed = LabelTemplates::Find(LabelTemplates::Installed(), "Avery 5161"))
        wide = *installed;
    else
        QSKIP("glabels-data is not installed");
    rptMemorials r;
    r.SetSheet(wide);
    ReportTable t = Address_Labels(1, 2);
    t.AddNew();
    t.Set("NameAddr", "The Reverend Doctor Bartholomew Montgomery-Fitzgerald III and family\r\nApartment 5678, "
                      "1234 Long Avenue Name Boulevard\r\nSpringfield, IL  62701-1234\r\nUnited States of America");
    t.Set("SortField", "Z99");
    r.SetDataSource(1, t);
    const QString pdf = Pdf(r, "wide.pdf");
    int words = 0;
    for (const auto& w : PdfText::Words(pdf)) {
        const int cell = w.text.startsWith("Person") ? w.text.mid(6).toInt() + 1 : 3;
        if (w.text.startsWith("Person") || w.text.startsWith("Montgomery-") || w.text == "America") {
            QVERIFY2(Cell(wide, cell).contains(w.box), qPrintable(w.text));
            ++words;
        }
    }
    QCOMPARE(words, 4); // the long address shrunk and wrapped into its label, nothing cut off
    // 5161 is two across: the third label (Person01) opens the second row.
    QVERIFY(Cell(wide, 2).top() > Cell(wide, 0).top());
}

void tst_ListingLayouts::envelopeBoxLabels()
{
    const int smith = m_data->AddContributor("Smith", "John");
    const int jones = m_data->AddContributor("Jones", "Ann");
    const int brown = m_data->AddContributor("Brown", "Carl");
    m_data->AddPledge(smith, -2025, 1, 10);
    m_data->AddPledge(jones, -2025, 1, 9);
    m_data->AddPledge(brown, -2025, 1, 0);
    rptEnvLabels r;
    r.SetDataSource(1, *Listings::Envelope_Labels(-2025, true, 2));
    const QString pdf = Pdf(r, "env.pdf");
    const LabelTemplate sheet = LabelTemplates::Avery5160();
    QMap<QString, int> cellOf;
    for (const auto& w : PdfText::Words(pdf))
        for (int cell = 0; cell < 30; ++cell)
            if (Cell(sheet, cell).contains(w.box))
                cellOf[w.text] = cell;
    // Two blank labels, then Brown without a number, 9 and 10.
    QCOMPARE(cellOf.value("Brown,", -1), 2);
    QCOMPARE(cellOf.value("9", -1), 3);
    QCOMPARE(cellOf.value("Jones,", -1), 3);
    QCOMPARE(cellOf.value("10", -1), 4);
    QCOMPARE(cellOf.value("Smith,", -1), 4);
    QVERIFY(!cellOf.contains("0"));
    // The number is what the eye looks for: at least twice the name's
    // height, with the name under it.
    QRectF number, name;
    for (const auto& w : PdfText::Words(pdf)) {
        if (w.text == "10")
            number = w.box;
        if (w.text == "Smith,")
            name = w.box;
    }
    QVERIFY2(number.height() >= 2 * name.height(), qPrintable(QStringLiteral("%1 and %2").arg(number.height()).arg(name.height())));
    QVERIFY(number.bottom() <= name.top() + 0.5);
}

void tst_ListingLayouts::fromTheCommandLine()
{
    const int fund = m_data->AddFund("Memorial Fund");
    const int smith = m_data->AddContributor("Smith", "John");
    const int jones = m_data->AddContributor("Jones", "Ann");
    const int c1 = m_data->AddCollection(QDate(2025, 3, 2));
    m_data->AddOffering(smith, c1, fund, 25);
    m_data->AddOffering(jones, c1, fund, 10);
    m_data->AddOffering(1, c1, fund, 4);
    m_data->AddPledge(smith, -2025, 1, 10);
    m_data->AddPledge(jones, -2025, 1, 9);
    auto run = [this](QStringList args, QString* err = nullptr) {
        QProcess p;
        p.start(QStringLiteral(QV_REPORT), QStringList{m_data->DataFile()} + args);
        p.waitForFinished(60000);
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    };
    // The fund report as CSV: as printed, a line per gift, then the totals.
    const QString csv = m_out.filePath("csv");
    QCOMPARE(run({"funds", "--fund", "memorial fund", "--from", "2025-03-01", "--to", "2025-03-31", "--names", "--csv", csv}), 0);
    // (The tool writes dates in the short form of the machine's locale.)
    const QString c = QString::number(c1);
    QList<QStringList> rows = ReportChecks::Csv(csv + "/Gifts.csv");
    QCOMPARE(rows.size(), 6);
    for (QStringList& row : rows)
        row[0] = row[0].startsWith("Total for ") ? "Total for" : row[0] == "Total" || row[0] == "Date" ? row[0] : "-";
    QCOMPARE(rows, QList<QStringList>({{"Date", "Collection", "Name", "Amount"},
                                       {"-", c, "Loose Offering", "4.00"},
                                       {"-", c, "Jones, Ann", "10.00"},
                                       {"-", c, "Smith, John", "25.00"},
                                       {"Total for", "", "", "39.00"},
                                       {"Total", "", "", "39.00"}}));

    // Memorial labels on another sheet after three skipped.
    const QString pdf = m_out.filePath("mem.pdf");
    QCOMPARE(run({"memorials", "--fund", QString::number(fund), "--collection", QString::number(c1), "--skip", "3",
                  "--sheet", "Avery 5161", "--pdf", pdf}),
             0);
    const auto sheet = LabelTemplates::Find(LabelTemplates::Installed(), "Avery 5161");
    if (sheet) {
        int placed = 0;
        for (const auto& w : PdfText::Words(pdf)) {
            if (w.text == "Jones")
                placed += Cell(*sheet, 3).contains(w.box);
            if (w.text == "Smith")
                placed += Cell(*sheet, 4).contains(w.box);
        }
        QCOMPARE(placed, 2);
    }
    QVERIFY(PdfText::Run("pdftotext", {pdf, "-"}).count("John") == 1); // one label for Smith, none for the loose offering

    const QString env = m_out.filePath("env.pdf");
    QCOMPARE(run({"envelope-labels", "--fund", "2025 Operating Fund", "--by-number", "--pdf", env}), 0);
    const QString text = PdfText::Squeezed(PdfText::Run("pdftotext", {"-layout", env, "-"}));
    const int nine = text.indexOf(QRegularExpression("\\b9\\b")), ten = text.indexOf(QRegularExpression("\\b10\\b"));
    QVERIFY2(nine >= 0 && nine < ten, qPrintable(text));

    // Mistakes are named, and nothing is written.
    QString err;
    QCOMPARE(run({"memorials", "--fund", "Nothing", "--pdf", m_out.filePath("x.pdf")}, &err), 1);
    QVERIFY2(err.contains("no fund Nothing in the list: ") && err.contains("Memorial Fund (" + QString::number(fund) + ")"),
             qPrintable(err));
    QCOMPARE(run({"mailing-labels", "--skip", "two", "--pdf", m_out.filePath("x.pdf")}, &err), 1);
    QVERIFY(err.contains("--skip needs a whole number, not two"));
    QCOMPARE(run({"mailing-labels", "--sheet", "Avery 99999", "--pdf", m_out.filePath("x.pdf")}, &err), 1);
    QVERIFY(err.contains("no label sheet named Avery 99999"));
    QCOMPARE(run({"directory", "--by-zip", "--pdf", m_out.filePath("x.pdf")}, &err), 1);
    QVERIFY(err.contains("unknown argument: --by-zip"));
    QCOMPARE(run({"envelope-labels", "--pdf", m_out.filePath("x.pdf")}, &err), 1);
    QVERIFY(err.contains("--fund is needed"));
    QVERIFY(!QFile::exists(m_out.filePath("x.pdf")));
}

// Every listing keeps to its margins (labels to their cells), cuts no text
// and prints nothing smaller than 8 points, with sixty-letter names and
// forty-letter address lines; a label that still does not fit is listed.
void tst_ListingLayouts::insideTheMarginsAndReadable()
{
    const QString last = QStringLiteral("Montgomery-Fitzgerald-Worthington");
    const QString first = QStringLiteral("Bartholomew Alexander Jr.");
    const int fund = m_data->AddFund("Building and Grounds Improvement Capital Campaign Fund");
    const int c1 = m_data->AddCollection(QDate(2025, 3, 2));
    for (int i = 0; i < 40; ++i) {
        const int who = m_data->AddContributor(last + QString::number(i), first);
        m_data->AddOffering(who, c1, fund, 10 + i);
        m_data->AddPledge(who, -2025, 1, 1000 + i);
    }
    m_data->DB().Execute("UPDATE Contributors SET Phone = '(503) 555-0100 ext. 1234', Address1 = '1234 Northwest Long Meadow "
                         "Lane Extended', Address2 = 'Apartment 5678, Building C, Suite 100', City = 'Salem', State = 'OR', "
                         "ZipCode = '97301-1234'");
    rptFunds funds;
    funds.SetDataSource(1, *Listings::Fund_Report({fund, false, 0, QDate(2025, 3, 1), QDate(2025, 3, 31)}, true));
    rptTelephone phone;
    phone.SetDataSource(1, *Listings::Telephone_Directory(true, false, false));
    for (const Report* r : std::initializer_list<const Report*>{&funds, &phone}) {
        const ReportDocument doc = r->Layout(QDate(2025, 6, 15));
        QVERIFY(doc.PageCount() >= 2);
        const QRectF margins = ReportChecks::Margin_Box(doc);
        const QStringList outside = ReportChecks::Outside(doc, margins);
        QVERIFY2(outside.isEmpty(), qPrintable(r->Name() + ": " + outside.join('\n')));
        const QStringList small = ReportChecks::Smaller_Than(doc, 8);
        QVERIFY2(small.isEmpty(), qPrintable(r->Name() + ": " + small.join('\n')));
        // The table runs from margin to margin.
        double right = 0;
        for (const PageItem& it : doc.pages[0].items)
            right = std::max(right, it.rect.normalized().right());
        QVERIFY2(std::abs(right - margins.right()) < 1, qPrintable(r->Name() + QStringLiteral(" ends at %1").arg(right)));
    }

    // Labels: the long ones wrap inside their cells at 8 points or more; the
    // one that cannot fit even so is listed before printing.
    rptMemorials labels;
    ReportTable t = Listings::Mailing_Labels(true, false, false, 0).value_or(ReportTable());
    t.AddNew();
    t.Set("NameAddr", QStringLiteral("Too Long\r\n") + QStringLiteral("Line\r\n").repeated(12));
    t.Set("SortField", "ZZZ");
    labels.SetDataSource(1, t);
    rptEnvLabels boxes;
    boxes.SetDataSource(1, *Listings::Envelope_Labels(-2025, true, 0));
    for (const LabelReport* r : std::initializer_list<const LabelReport*>{&labels, &boxes}) {
        const ReportDocument doc = r->Layout(QDate(2025, 6, 15));
        const QStringList small = ReportChecks::Smaller_Than(doc, 8);
        QVERIFY2(small.isEmpty(), qPrintable(r->Name() + ": " + small.join('\n')));
        const LabelGeometry g = r->Geometry();
        for (int p = 0; p < doc.PageCount(); ++p)
            for (const PageItem& it : doc.pages[size_t(p)].items) {
                int cell = 0;
                while (cell < g.PerSheet() && !QRectF(g.cells[size_t(cell)], QSizeF(g.width, g.height)).contains(it.rect.center()))
                    ++cell;
                QVERIFY2(cell < g.PerSheet(), qPrintable(ReportChecks::Describe(it, p)));
                QVERIFY2(ReportChecks::Inside(doc, it, QRectF(g.cells[size_t(cell)], QSizeF(g.width, g.height)))
                             || it.text.startsWith("Too Long"),
                         qPrintable(ReportChecks::Describe(it, p)));
            }
        QCOMPARE(doc.unfit, r == &labels ? QStringList{"Too Long"} : QStringList());
    }
}

QV_TEST_MAIN(tst_ListingLayouts, QGuiApplication)
#include "tst_listing_layouts.moc"

// The statements and pledge status windows driven as a treasurer does:
// opened by name as the Print menu opens them, lists and dates, the report
// rebuilt on each choice, and the run that saves a PDF per contributor with
// its check, its folder dialog and its Cancel.
#include "reports/CRViewer91.h"
#include "reports/Report.h"
#include "reports/frmRptPledgeStatus.h"
#include "reports/frmRptStatements.h"
#include "widgets/QvDateBox.h"
#include "widgets/frmProgess.h"
#include "support/WindowTest.h"

#include <QCheckBox>
#include <QDir>
#include <QMdiArea>
#include <QTimer>

#include "support/GeneratedBooks.h"
#include "support/TestWindowArea.h"
#include "PdfText.h"
#include "reports/ReportParts.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolButton>

using namespace modGlobal;

namespace {
int Rows(const frmReportWindow* w, int table)
{
    const ReportTable* t = w->Current_Report() ? w->Current_Report()->Table(table) : nullptr;
    return t ? t->RowCount() : -1;
}
} // namespace

class tst_StatementWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void statementsWindowChoicesAndRange();
    void saveAPdfForEachContributor();
    void everybodyShownAStatementAtATime();
    void pledgeStatusWindow();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<TestWindowArea> m_windows;
    int m_smith = 0, m_jones = 0, m_brown = 0, m_building = 0;
};

void tst_StatementWindows::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_windows = std::make_unique<TestWindowArea>(QSize(1100, 720));
    QVERIFY(m_windows->Exposed());

    m_building = m_data->AddFund("Building Fund");
    m_smith = m_data->AddContributor("Smith", "John");
    m_jones = m_data->AddContributor("Jones", "Ann");
    m_brown = m_data->AddContributor("Brown", "Carl", true, true); // inactive
    DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '1 Elm St', City = 'Salem', ZipCode = '97302' WHERE ID = %1;").arg(m_smith));
    m_data->AddPledge(m_smith, -2025, 520, 42);
    m_data->AddPledge(m_jones, m_building, 300);
    const int set = m_data->AddCollection(QDate(2025, 3, 2));
    m_data->AddCollection(QDate(2025, 3, 9)); // no offering at all
    m_data->AddOffering(m_smith, set, -2025, 40);
    m_data->AddOffering(m_jones, set, -2025, 25);
    m_data->AddOffering(m_jones, set, m_building, 60);
    m_data->AddOffering(m_brown, set, -2025, 5);
    m_data->AddOffering(1, set, -2025, 11);
}

void tst_StatementWindows::cleanup()
{
    m_windows.reset();
    m_data.reset();
}

void tst_StatementWindows::statementsWindowChoicesAndRange()
{
    auto* w = OpenNew<frmRptStatements>("frmRptStatements");
    QVERIFY(w);
    // The fixed date is June 15, 2025: the year up to the end of May.
    QCOMPARE(w->dpBegin->date(), QDate(2025, 1, 1));
    QCOMPARE(w->dpEnd->date(), QDate(2025, 5, 31));
    // Two "All" entries, the loose offering, the active contributors.
    QStringList items;
    for (int i = 0; i < w->cboWhich->count(); ++i)
        items << w->cboWhich->itemText(i);
    QCOMPARE(items, QStringList({"All - Zip Code Order", "All - Alphabetical Order", "<Loose Offering>", "Jones, Ann", "Smith, John"}));
    QCOMPARE(w->cboWhich->currentIndex(), -1);
    QCOMPARE(w->Current_Report()->Name(), "rptBlank");
    QVERIFY(!w->cmdSaveEach->isEnabled());

    // Everybody, the inactive Brown included: three statements.
    w->cboWhich->setCurrentIndex(1);
    QCOMPARE(w->Current_Report()->Name(), "rptStatement");
    QCOMPARE(Rows(w, 2), 3);
    QCOMPARE(w->viewer->PageCount(), 3);
    QVERIFY(w->cmdSaveEach->isEnabled());
    w->cboWhich->setCurrentIndex(2);
    QCOMPARE(Rows(w, 2), 1);
    QCOMPARE(w->Current_Report()->Table(2)->Text(0, "ContributorInfo"), "Loose Offering");
    w->cboWhich->setCurrentIndex(3);
    QCOMPARE(w->Current_Report()->Table(2)->Integer(0, "ContributorID"), m_jones);

    // A range without gifts: Jones, chosen singly, still gets a statement.
    w->dpEnd->setDate(QDate(2025, 2, 28));
    emit w->dpEnd->editingFinished();
    QCOMPARE(Rows(w, 1), 1);
    QCOMPARE(w->Current_Report()->Table(2)->Double(0, "YTDTotal"), 0.0);
    QVERIFY(w->Current_Report()->Table(2)->Text(0, "HeaderLine").endsWith("February 28, 2025"));

    // A change elsewhere reloads the list and keeps the choice.
    m_data->AddContributor("Adams", "Zoe");
    QCOMPARE(w->cboWhich->count(), 6);
    QCOMPARE(w->cboWhich->currentText(), "Jones, Ann");
    QCOMPARE(w->Current_Report()->Name(), "rptStatement");

    // The Print menu's entry opens a new window each time.
    Windows::Open_New(QStringLiteral("frmRptStatements"), {});
    int open = 0;
    for (frmChild* c : frmChild::OpenWindows())
        open += qobject_cast<frmRptStatements*>(c) != nullptr;
    QCOMPARE(open, 2);
}

// Everybody's statements are shown a statement at a time: the pages, the
// PDF, the printed pages and the CSV tables are those of the whole run
// laid out at once.
void tst_StatementWindows::everybodyShownAStatementAtATime()
{
    GenerateBooks(m_data, 25, 1);
    auto* w = OpenNew<frmRptStatements>("frmRptStatements");
    w->dpEnd->setDate(QDate(2025, 12, 31)); // a whole year: some run over a page
    emit w->dpEnd->editingFinished();
    w->cboWhich->setCurrentIndex(1);
    CRViewer91* v = w->viewer;
    QVERIFY(v->Parted() && !v->Document());
    const ReportDocument whole = w->Current_Report()->Layout(Today());
    QVERIFY(whole.PageCount() > Rows(w, 2));
    QCOMPARE(v->PageCount(), whole.PageCount());
    QVERIFY(v->cmdPrint->isEnabled() && v->cmdExportPdf->isEnabled() && v->cmdExportCsv->isEnabled());
    // Counting the pages tells its progress part by part, in order, to the end.
    const auto* report = dynamic_cast<const ReportParts*>(w->Current_Report());
    QVERIFY(report);
    std::vector<std::pair<int, int>> told;
    QCOMPARE(Index_Parts(*report, Today(), [&](int done, int total) { told.emplace_back(done, total); }).pages, whole.PageCount());
    QCOMPARE(int(told.size()), report->Part_Count());
    for (size_t i = 0; i < told.size(); ++i)
        QCOMPARE(told[i], std::make_pair(int(i) + 1, report->Part_Count()));

    // Every page painted alike, last to first and then a jump back to the
    // end, so that statements are laid out again after being let go.
    const QSize size(340, 440);
    auto image = [&](const std::function<void(QPainter&, const QRectF&)>& paint) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
        return img;
    };
    QList<int> order;
    for (int i = whole.PageCount() - 1; i >= 0; --i)
        order << i;
    order << whole.PageCount() - 1 << whole.PageCount() / 2;
    for (int i : order)
        QVERIFY2(image([&](QPainter& p, const QRectF& r) { v->Parted()->Paint(p, i, r); })
                     == image([&](QPainter& p, const QRectF& r) { whole.Paint(p, i, r); }),
                 qPrintable(QStringLiteral("page %1").arg(i + 1)));
    v->ShowLastPage();
    QCOMPARE(v->CurrentPage(), whole.PageCount() - 1);

    // Exported and printed: the pages of the whole run.
    QTemporaryDir out;
    QVERIFY(whole.WritePdf(out.filePath("whole.pdf")));
    WindowServices::SetModalHook(ChooseFile(out.filePath("parts.pdf"), "dlgExportPdf"));
    QVERIFY(v->ExportPdf());
    QCOMPARE(PdfText::Pages(out.filePath("parts.pdf")), PdfText::Pages(out.filePath("whole.pdf")));
    // A folder that cannot be written: the system's reason, no file, and the
    // viewer goes on.
    WindowServices::SetModalHook(ChooseFile(out.filePath("no/such/folder/parts.pdf"), "dlgExportPdf"));
    m_data->Messages().Expect("could not be saved");
    QVERIFY(!v->ExportPdf());
    m_data->Messages().VerifyAllShown();
    QVERIFY(!QFile::exists(out.filePath("no/such/folder/parts.pdf")));
    QCOMPARE(v->PageCount(), whole.PageCount());
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath("whole-printed.pdf"));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setFullPage(true);
        whole.Render(printer);
    }
    WindowServices::SetModalHook(PrintTo(out.filePath("printed.pdf")));
    QVERIFY(v->PrintReport());
    QCOMPARE(PdfText::Pages(out.filePath("printed.pdf")), PdfText::Pages(out.filePath("whole-printed.pdf")));

    QDir().mkpath(out.filePath("parts"));
    WindowServices::SetModalHook(ChooseFile(out.filePath("parts"), "dlgExportCsv"));
    QVERIFY(v->ExportCsv());
    QDir().mkpath(out.filePath("whole"));
    QVERIFY(Reports::Export_Csv(whole, out.filePath("whole"), "Statements - "));
    const QStringList parts = QDir(out.filePath("parts")).entryList(QDir::Files, QDir::Name);
    const QStringList wholes = QDir(out.filePath("whole")).entryList(QDir::Files, QDir::Name);
    QVERIFY(!wholes.isEmpty());
    QCOMPARE(parts.size(), wholes.size());
    for (int i = 0; i < parts.size(); ++i) {
        QCOMPARE(parts[i].section(" - ", -1), wholes[i].section(" - ", -1));
        QFile a(out.filePath("parts/" + parts[i])), b(out.filePath("whole/" + wholes[i]));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(parts[i]));
    }
}

void tst_StatementWindows::saveAPdfForEachContributor()
{
    auto* w = OpenNew<frmRptStatements>("frmRptStatements");
    w->cboWhich->setCurrentIndex(0);
    QCOMPARE(Rows(w, 2), 3);
    const QString folder = m_data->Folder() + QStringLiteral("/statements");
    QDir().mkpath(folder);
    int dialogs = 0;
    WindowServices::SetModalHook([&](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        if (!fd || fd->objectName() != "dlgSaveEach")
            return int(QDialog::Rejected);
        ++dialogs;
        fd->setDirectory(folder);
        fd->selectFile(folder);
        return int(QDialog::Accepted);
    });

    // The check names what would make a statement unmailable; No stops.
    m_data->Messages().Expect("2 contributor(s) in the run have no address", Messages::Answer::No);
    QCOMPARE(w->Save_Each(), 0);
    m_data->Messages().VerifyAllShown();
    QCOMPARE(dialogs, 0);
    const QString text = m_data->Messages().Seen().value(0).text;
    QVERIFY(text.contains("Brown, Carl") && text.contains("Jones, Ann"));
    QVERIFY(text.contains("1 collection set(s) in the range have no offering"));

    m_data->Messages().Expect("have no address", Messages::Answer::Yes);
    m_data->Messages().Expect("3 statements were saved in");
    QCOMPARE(w->Save_Each(), 3);
    m_data->Messages().VerifyAllShown();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), QStringList({"0042 Smith, John.pdf", "Brown, Carl.pdf", "Jones, Ann.pdf"}));

    // Cancel in the progress window: the file being written is finished,
    // nothing more is started.
    const QString second = m_data->Folder() + QStringLiteral("/cancelled");
    QDir().mkpath(second);
    WindowServices::SetModalHook([&](QDialog* d) {
        auto* fd = static_cast<QFileDialog*>(d);
        fd->setDirectory(second);
        fd->selectFile(second);
        QTimer::singleShot(0, [] {
            for (QWidget* top : QApplication::allWidgets())
                if (auto* p = qobject_cast<frmProgess*>(top); p && p->cmdCancel)
                    p->cmdCancel->click();
        });
        return int(QDialog::Accepted);
    });
    m_data->Messages().Expect("have no address", Messages::Answer::Yes);
    m_data->Messages().Expect("Cancelled: 1 of 3 statements were saved");
    QCOMPARE(w->Save_Each(), 1);
    m_data->Messages().VerifyAllShown();
    QCOMPARE(QDir(second).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // Nothing chosen: nothing to save.
    Windows::Open_New(QStringLiteral("frmRptStatements"), {});
    frmRptStatements* blank = nullptr;
    for (frmChild* c : frmChild::OpenWindows())
        if (auto* s = qobject_cast<frmRptStatements*>(c); s && s != w)
            blank = s;
    QVERIFY(blank);
    m_data->Messages().Expect("There are no statements to save.");
    QCOMPARE(blank->Save_Each(), 0);
    m_data->Messages().VerifyAllShown();
}

void tst_StatementWindows::pledgeStatusWindow()
{
    auto* w = OpenNew<frmRptPledgeStatus>("frmRptPledgeStatus");
    QVERIFY(w);
    QCOMPARE(w->dpBegin->date(), QDate(2025, 1, 1));
    QCOMPARE(w->dpEnd->date(), QDate(2025, 6, 15));
    QVERIFY(w->chkShowNames->isChecked());
    QVERIFY(!w->chkShowAll->isChecked());
    QCOMPARE(w->cboFund->count(), 2); // 2025's main fund, the Building Fund
    QCOMPARE(w->cboSort->count(), 3);
    QCOMPARE(w->Current_Report()->Name(), "rptBlank");

    w->cboFund->setCurrentIndex(0);
    QCOMPARE(w->Current_Report()->Name(), "rptBlank"); // no order yet
    w->cboSort->setCurrentIndex(1);
    QCOMPARE(w->Current_Report()->Name(), "rptPledgeStatus");
    QCOMPARE(Rows(w, 1), 1); // Smith's pledge
    w->chkShowAll->click(); // Jones, Brown and the loose offering gave without pledging
    QCOMPARE(Rows(w, 1), 4);
    w->chkShowNames->click();
    QVERIFY(!w->Current_Report()->Table(1)->Value(0, "Name").isValid());
    w->cboFund->setCurrentIndex(1);
    QCOMPARE(Rows(w, 1), 1);
    QCOMPARE(w->Current_Report()->Table(1)->Double(0, "Remaining"), 240.0);
    // Payments after the end date do not count.
    w->dpEnd->setDate(QDate(2025, 3, 1));
    emit w->dpEnd->editingFinished();
    QCOMPARE(w->Current_Report()->Table(1)->Double(0, "Remaining"), 300.0);
}

QV_TEST_MAIN(tst_StatementWindows, QApplication)
#include "tst_statement_windows.moc"

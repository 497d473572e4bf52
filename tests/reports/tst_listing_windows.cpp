// The fund, memorial, directory and label windows as a treasurer uses them:
// opened from the Print menu's names and the fund list's Report, their
// choices clicked, labels printed at full size through the print dialog
// that the test answers, the sheet kept for the next time.
#include "PdfText.h"
#include "maintenance/frmFundList.h"
#include "reports/CRViewer91.h"
#include "reports/LabelSettings.h"
#include "reports/LabelSheetControls.h"
#include "reports/ListingReports.h"
#include "reports/frmRptEnvLabels.h"
#include "reports/frmRptFunds.h"
#include "reports/frmRptMailingLabels.h"
#include "reports/frmRptMemorials.h"
#include "reports/frmRptTelephone.h"
#include "support/ChurchSettings.h"
#include "support/WindowTest.h"
#include "app/frmPassword.h"
#include "core/modSettings.h"

#include <QCheckBox>
#include "widgets/QvDateBox.h"
#include <QDoubleSpinBox>
#include <QMdiArea>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>

#include "support/TestWindowArea.h"

using namespace modGlobal;

namespace {
int IndexOf(QComboBox* list, int id)
{
    return list->findData(id);
}

// Text of the viewer's pages, written to a PDF and read back.
QString Shown(frmReportWindow* w, const QString& pdf)
{
    const ReportDocument* doc = w->viewer->Document();
    if (!doc || !doc->WritePdf(pdf))
        return {};
    return PdfText::Squeezed(PdfText::Pages(pdf).join("\f"));
}
} // namespace

class tst_ListingWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fundReportFromTheFundListAndItsChoices();
    void memorialLabelsSkipAndSheetKept();
    void directoryShowBoxes();
    void mailingLabelsPrintedAtFullSize();
    void envelopeLabelsBlankUntilAFundIsChosen();
    void theMainWindowsPrintMenu();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<TestWindowArea> m_windows;
    QTemporaryDir m_out;
    int m_memorial = 0, m_smith = 0, m_jones = 0, m_set = 0;
};

void tst_ListingWindows::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_windows = std::make_unique<TestWindowArea>(QSize(1100, 720));
    QVERIFY(m_windows->Exposed());
    SetChurch("Grace Church");
    m_memorial = m_data->AddFund("Memorial Fund", false);
    m_smith = m_data->AddContributor("Smith", "John");
    m_jones = m_data->AddContributor("Jones", "Ann");
    m_data->AddContributor("Old", "Timer", true, true);
    m_data->DB().Execute("UPDATE Contributors SET Address1 = ID || ' Elm St', City = 'Alton', State = 'IL', "
                         "ZipCode = '6200' || ID, Phone = '555-010' || ID");
    m_set = m_data->AddCollection(QDate(2025, 3, 2), "Lent");
    m_data->AddOffering(m_smith, m_set, m_memorial, 50);
    m_data->AddOffering(m_jones, m_set, m_memorial, 20);
    m_data->AddOffering(1, m_set, m_memorial, 5);
    const int later = m_data->AddCollection(QDate(2025, 5, 4));
    m_data->AddOffering(m_smith, later, m_memorial, 30);
}

void tst_ListingWindows::cleanup()
{
    m_windows.reset();
    m_data.reset();
}

void tst_ListingWindows::fundReportFromTheFundListAndItsChoices()
{
    auto* list = OpenNew<frmFundList>("frmFundList");
    QVERIFY(list);
    const int row = list->fgFunds->FindRow(1, "Memorial Fund");
    QVERIFY(row >= 2);
    list->fgFunds->SetRow(row);
    list->cmdReport->click();
    frmRptFunds* w = nullptr;
    for (frmChild* c : frmChild::OpenWindows())
        if (auto* f = qobject_cast<frmRptFunds*>(c))
            w = f;
    QVERIFY(w);
    QCOMPARE(w->cboFund->currentData().toInt(), m_memorial);
    // Date Range from the first of the year to today, names shown.
    QVERIFY(w->optDateRange->isChecked());
    QVERIFY(!w->cboCollections->isEnabled());
    QCOMPARE(w->dpBegin->date(), QDate(2025, 1, 1));
    QCOMPARE(w->dpEnd->date(), QDate(2025, 6, 15));
    QVERIFY(w->chkShowNames->isChecked());
    QCOMPARE(w->Current_Report()->Name(), "rptFunds");
    QString text = Shown(w, m_out.filePath("f1.pdf"));
    QVERIFY2(text.contains("Memorial Fund Receipts from January 1, 2025 through June 15, 2025"), qPrintable(text));
    QVERIFY(text.contains("Smith, John $50.00"));
    QVERIFY(text.contains("Loose Offering $5.00"));
    QVERIFY(text.contains("Total $105.00"));

    // Names off: the same lines without names.
    w->chkShowNames->click();
    text = Shown(w, m_out.filePath("f2.pdf"));
    QVERIFY(!text.contains("Smith"));
    QVERIFY(text.contains("Total $105.00"));

    // A narrower range rebuilds on the date change.
    w->dpEnd->setDate(QDate(2025, 4, 30));
    QVERIFY(Shown(w, m_out.filePath("f3.pdf")).contains("Total $75.00"));
    // A range that ends before it begins is said and shows no report, not
    // a report of a range without gifts.
    w->dpEnd->setDate(QDate(2024, 12, 31));
    QVERIFY(!w->Current_Report() || w->Current_Report()->Name() == "rptBlank");
    QCOMPARE(m_data->Messages().Notes().last(),
             "The date range ends on 12/31/2024, before it begins on 1/1/2025. Please choose an end date on or after "
             "the beginning.");
    w->dpEnd->setDate(QDate(2025, 4, 30));

    // Collection Set only switches the controls; a click in the list builds.
    const Report* before = w->Current_Report();
    w->optColNum->click();
    QVERIFY(w->cboCollections->isEnabled());
    QVERIFY(!w->dpBegin->isEnabled());
    QCOMPARE(w->Current_Report(), before);
    Choose(w->cboCollections, IndexOf(w->cboCollections, m_set));
    QVERIFY(w->Current_Report() != before);
    text = Shown(w, m_out.filePath("f4.pdf"));
    QVERIFY(text.contains(QStringLiteral("Memorial Fund Receipts for Collection Number %1").arg(m_set)));

    // A change to the data reloads the lists and keeps the choices.
    const int other = m_data->AddFund("Youth Trip");
    QVERIFY(IndexOf(w->cboFund, other) >= 0);
    QCOMPARE(w->cboFund->currentData().toInt(), m_memorial);
    QCOMPARE(w->cboCollections->currentData().toInt(), m_set);

    // From the menu, with no fund: the blank report.
    auto* fromMenu = OpenNew<frmRptFunds>("frmRptFunds", {{"Fund_ID", 0}});
    QCOMPARE(fromMenu->cboFund->currentIndex(), -1);
    QCOMPARE(fromMenu->Current_Report()->Name(), "rptBlank");
}

void tst_ListingWindows::memorialLabelsSkipAndSheetKept()
{
    auto* w = OpenNew<frmRptMemorials>("frmRptMemorials");
    QVERIFY(w);
    QCOMPARE(w->Current_Report()->Name(), "rptBlank");
    Choose(w->cboFund, IndexOf(w->cboFund, m_memorial));
    QCOMPARE(w->Current_Report()->Name(), "rptMemorials");
    auto* report = static_cast<const rptMemorials*>(w->Current_Report());
    QCOMPARE(report->Table(1)->RowCount(), 2); // Smith once, Jones; no loose offering
    QCOMPARE(report->Sheet().Name(), "Avery 5160");

    // Leaving the skip box: its text becomes the number, the labels move on.
    w->txtSkip->setText("3.2");
    emit w->txtSkip->editingFinished();
    QCOMPARE(w->txtSkip->text(), "3");
    report = static_cast<const rptMemorials*>(w->Current_Report());
    QCOMPARE(report->Table(1)->RowCount(), 5);
    const QString pdf = m_out.filePath("mem.pdf");
    QVERIFY(w->viewer->Document()->WritePdf(pdf));
    const LabelTemplate sheet = LabelTemplates::Avery5160();
    const QRectF fourth(sheet.positions[3], sheet.label);
    bool jonesFourth = false;
    for (const auto& w : PdfText::Words(pdf))
        if (w.text == "Jones")
            jonesFourth = fourth.contains(w.box);
    QVERIFY(jonesFourth);

    // Another sheet: kept in the settings file, and the next window opens with it.
    const int wide = w->sheet->cboSheet->findData("Avery 5161");
    if (wide < 0)
        QSKIP("glabels-data is not installed");
    w->sheet->cboSheet->setCurrentIndex(wide);
    QCOMPARE(static_cast<const rptMemorials*>(w->Current_Report())->Sheet().Name(), "Avery 5161");
    QCOMPARE(modSettings::Read("Labels", "MemorialsSheet"), "Avery 5161");
    QCOMPARE(w->sheet->cboSheet->currentText(), "Avery 5161 - Address Labels");
    auto* again = OpenNew<frmRptMemorials>("frmRptMemorials");
    QCOMPARE(again->sheet->Sheet().Name(), "Avery 5161");
    // The mailing labels keep a sheet of their own.
    auto* mailing = OpenNew<frmRptMailingLabels>("frmRptMailingLabels");
    QCOMPARE(mailing->sheet->Sheet().Name(), "Avery 5160");
}

void tst_ListingWindows::directoryShowBoxes()
{
    auto* w = OpenNew<frmRptTelephone>("frmRptTelephone");
    QVERIFY(w);
    QVERIFY(w->chkActive->isChecked() && !w->chkInactive->isChecked() && w->optName->isChecked());
    QCOMPARE(w->Current_Report()->Table(1)->RowCount(), 2);
    w->chkInactive->click();
    QCOMPARE(w->Current_Report()->Table(1)->RowCount(), 3);
    // Neither box: the last report stays.
    const Report* last = w->Current_Report();
    w->chkActive->click();
    QCOMPARE(w->Current_Report()->Table(1)->RowCount(), 1);
    last = w->Current_Report();
    w->chkInactive->click();
    QCOMPARE(w->Current_Report(), last);
    w->optPhone->click();
    QCOMPARE(w->Current_Report(), last);
    // A changed church name shows at once.
    w->chkActive->click();
    clsChurch c;
    c.Get_One_Record();
    c.ChurchName("Grace Chapel");
    c.Update_Record_to_DB();
    QVERIFY(Shown(w, m_out.filePath("dir.pdf")).contains("Grace Chapel"));
}

void tst_ListingWindows::mailingLabelsPrintedAtFullSize()
{
    // The printer's calibration from the settings file moves every label.
    QVERIFY(LabelSettings::Keep_Offset(QPointF(3, -2)));
    auto* w = OpenNew<frmRptMailingLabels>("frmRptMailingLabels");
    QVERIFY(w);
    QVERIFY(w->optZip->isChecked());
    QCOMPARE(w->sheet->txtOffsetX->value(), 3.0);
    QCOMPARE(w->sheet->txtOffsetY->value(), -2.0);
    w->txtSkip->setText("1");
    emit w->txtSkip->editingFinished();
    QCOMPARE(w->Current_Report()->Table(1)->RowCount(), 3);

    // Printed on A4 paper picked in the dialog: the sheet is not fitted to
    // the paper, every label stays where the Letter sheet has it.
    const QString printed = m_out.filePath("printed.pdf");
    WindowServices::SetModalHook(PrintTo(printed, QPageSize(QPageSize::A4)));
    QVERIFY(w->sheet->Print_Labels());
    const LabelTemplate sheet = LabelTemplates::Avery5160();
    int found = 0;
    for (const auto& word : PdfText::Words(printed)) {
        // By zip code: Smith (62002) after the skipped label, then Jones (62003).
        const int cell = word.text == "Smith" ? 1 : word.text == "Jones" ? 2 : -1;
        if (cell < 0)
            continue;
        QVERIFY2(QRectF(sheet.positions[cell] + QPointF(3, -2), sheet.label).contains(word.box), qPrintable(word.text));
        ++found;
    }
    QCOMPARE(found, 2);

    // Calibration typed in the window is kept for the next time.
    w->sheet->txtOffsetX->setValue(-1.5);
    QCOMPARE(LabelSettings::Offset(), QPointF(-1.5, -2));
    QCOMPARE(static_cast<const LabelReport*>(w->Current_Report())->Offset(), QPointF(-1.5, -2));

    // A label whose text does not fit even at 8 points is named before
    // printing; Cancel prints nothing.
    const int long_ = m_data->AddContributor("Montgomery-Fitzgerald-Worthington-Smythe", "Bartholomew Alexander and Family of Kent");
    m_data->DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '1234 Northwest Long Meadow Lane Extended', "
                                        "Address2 = 'Apartment 5678, Building C, Suite 1000', City = 'North Springfield Heights Twp', "
                                        "State = 'OR', ZipCode = '97301-1234' WHERE ID = %1;")
                             .arg(long_));
    emit w->txtSkip->editingFinished();
    m_data->Messages().Expect("1 label does not fit: Bartholomew Alexander",
                              Messages::Answer::Cancel);
    QVERIFY(!w->sheet->Print_Labels());
    m_data->Messages().VerifyAllShown();
}

void tst_ListingWindows::envelopeLabelsBlankUntilAFundIsChosen()
{
    m_data->AddPledge(m_smith, -2025, 100, 10);
    m_data->AddPledge(m_jones, -2025, 100, 9);
    auto* w = OpenNew<frmRptEnvLabels>("frmRptEnvLabels");
    QVERIFY(w);
    QCOMPARE(w->Current_Report()->Name(), "rptBlank");
    QCOMPARE(w->cboFund->count(), 1); // the main fund of 2025; the memorial fund takes no pledges
    Choose(w->cboFund, 0);
    QCOMPARE(w->Current_Report()->Name(), "rptEnvLabels");
    w->optNum->click();
    const QString text = Shown(w, m_out.filePath("env.pdf"));
    const int nine = text.indexOf(QRegularExpression("\\b9\\b")), ten = text.indexOf(QRegularExpression("\\b10\\b"));
    QVERIFY2(nine >= 0 && nine < ten, qPrintable(text));
}

void tst_ListingWindows::theMainWindowsPrintMenu()
{
    // The main window starts on a data set of its own, asking for the
    // initial password.
    cleanup();
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    RegisterAllWindows();
    WindowServices::SetModalHook([](QDialog* d) {
        return qobject_cast<frmPassword*>(d) ? AnswerPassword(d, {"Brv9kQ2e"}) : int(QDialog::Rejected);
    });
    frmMain main;
    QVERIFY(main.Loaded());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTRY_VERIFY(main.Password_Accepted());
    const QList<std::tuple<QString, QString, QString>> entries = {
        {"mnuPrntFunds", "frmRptFunds", "Fund Report"},
        {"mnuPrntMemCont", "frmRptMemorials", "Memorial Fund Donors"},
        {"mnuPrntDirectory", "frmRptTelephone", "Print Telephone Directory"},
        {"mnuPrntMailingLabels", "frmRptMailingLabels", "Print Mailing Labels"},
        {"mnuPrntEnvLabels", "frmRptEnvLabels", "Print Offering Envelope Box Labels"},
    };
    for (const auto& [entry, window, caption] : entries) {
        QAction* a = main.Menu(entry);
        QVERIFY2(a && a->isEnabled(), qPrintable(entry));
        a->trigger();
        a->trigger();
        int open = 0;
        for (frmChild* w : frmChild::OpenWindows())
            if (w->objectName() == window) {
                QCOMPARE(w->windowTitle(), caption);
                ++open;
            }
        QVERIFY2(open == 2, qPrintable(window)); // every opening a new window
    }
    // From the menu the fund report has no fund: the blank report.
    for (frmChild* w : frmChild::OpenWindows())
        if (auto* f = qobject_cast<frmRptFunds*>(w))
            QCOMPARE(f->Current_Report()->Name(), "rptBlank");
    CloseAllWindows();
    main.close();
}

QV_TEST_MAIN(tst_ListingWindows, QApplication)
#include "tst_listing_windows.moc"

// The weekly report window as a treasurer uses it: opened from the offering
// window's Print or from the menu, paged and zoomed by keyboard, printed
// and exported through dialogs that the test answers.
#include "offering/CollectionSets.h"
#include "offering/frmCollections.h"
#include "reports/CRViewer91.h"
#include "reports/Report.h"
#include "reports/frmRptWeeklyReport.h"
#include "support/WindowTest.h"
#include "core/modSettings.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolButton>

#include "PdfText.h"
#include "support/ChurchSettings.h"
#include "support/TestWindowArea.h"

using namespace modGlobal;

class tst_ReportWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void printFromTheOfferingWindowPagesAndZoomByKeyboard();
    void exportAndPrintThroughTheirDialogs();
    void openedFromTheMenuWithNothingChosen();
    void fillsTheMainAreaAndTheViewerFollowsResizing();
    void aDatabaseErrorIsShownAndTheWindowStays();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<TestWindowArea> m_windows;
    QTemporaryDir m_out;
    int m_set = 0, m_building = 0;
    double m_total = 0;
};

void tst_ReportWindows::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_windows = std::make_unique<TestWindowArea>(QSize(1000, 720));
    QVERIFY(m_windows->Exposed());

    m_building = m_data->AddFund("Building Fund");
    SetReportFunds(m_building, 0, "Grace Fellowship Church");
    m_set = m_data->AddCollection(QDate(2025, 6, 8), "Pentecost");
    m_total = 0;
    // Enough contributors for several pages, written at once.
    Connection::Transaction batch(m_data->DB());
    for (int i = 0; i < 150; ++i) {
        const int c = m_data->AddContributor(QStringLiteral("Member%1").arg(i, 3, 10, QLatin1Char('0')), "Chris");
        m_data->AddPledge(c, -2025, 2000, 200 + i);
        m_data->AddOffering(c, m_set, -2025, 20 + i);
        m_total += 20 + i;
    }
    m_data->AddOffering(1, m_set, m_building, 99.5);
    m_total += 99.5;
    batch.Commit();
}

void tst_ReportWindows::cleanup()
{
    m_windows.reset();
    m_data.reset();
}

void tst_ReportWindows::printFromTheOfferingWindowPagesAndZoomByKeyboard()
{
    auto* offering = OpenSet(m_set, QDate(2025, 6, 8), "Pentecost");
    QVERIFY(offering);
    offering->cmdPrint->click();
    frmRptWeeklyReport* w = OpenWindowOf<frmRptWeeklyReport>();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Collections Report - Collection Number %1 for June 8, 2025, Pentecost").arg(m_set));
    QCOMPARE(w->cboCollections->currentText(), QStringLiteral("6/8/2025, #%1, Pentecost").arg(m_set));
    QCOMPARE(w->cboCollections->currentData().toInt(), m_set);
    QVERIFY(!w->chkShowNames->isChecked());
    CRViewer91* v = w->viewer;
    const int n = v->PageCount();
    QVERIFY2(n >= 3, qPrintable(QString::number(n)));
    QCOMPARE(v->lblPage->text(), QStringLiteral("Page 1 of %1").arg(n));
    QVERIFY(!v->cmdPrevious->isEnabled());

    // By keyboard: opened for a set, the viewer has the focus.
    w->activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), v);
    Key(Qt::Key_PageDown);
    QCOMPARE(v->lblPage->text(), QStringLiteral("Page 2 of %1").arg(n));
    Key(Qt::Key_End);
    QCOMPARE(v->CurrentPage(), n - 1);
    QVERIFY(!v->cmdNext->isEnabled());
    Key(Qt::Key_PageDown); // nothing after the last page
    QCOMPARE(v->CurrentPage(), n - 1);
    Key(Qt::Key_PageUp);
    QCOMPARE(v->CurrentPage(), n - 2);
    Key(Qt::Key_Home);
    QCOMPARE(v->lblPage->text(), QStringLiteral("Page 1 of %1").arg(n));

    // Zoom: fitted to the width at first, then by steps.
    QCOMPARE(v->cboZoom->currentText(), QStringLiteral("Fit Width"));
    const int fitted = v->view->PageSizePixels().width();
    QVERIFY(std::abs(fitted - (v->view->viewport()->width() - 24)) <= 2);
    v->SetZoomPercent(100);
    Key(Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(v->ZoomPercent(), 125);
    QCOMPARE(v->cboZoom->currentText(), QStringLiteral("125%"));
    Key(Qt::Key_Minus, Qt::ControlModifier);
    Key(Qt::Key_Minus, Qt::ControlModifier);
    Key(Qt::Key_Minus, Qt::ControlModifier);
    Key(Qt::Key_Minus, Qt::ControlModifier); // not below 50 %
    QCOMPARE(v->ZoomPercent(), 50);
    v->cboZoom->setCurrentIndex(1);
    emit v->cboZoom->activated(1);
    const QSize whole = v->view->PageSizePixels();
    QVERIFY(whole.height() <= v->view->viewport()->height());

    // Only the pages in sight are painted.
    v->view->viewport()->repaint();
    QVERIFY(v->view->LastPaintedPages() >= 1 && v->view->LastPaintedPages() <= 2);

    // Show Names builds again, with the names.
    w->chkShowNames->click();
    QCOMPARE(w->Current_Report()->AllTables()[1]->Text(2, "Contributor"), QStringLiteral("Member001, Chris"));
    QCOMPARE(v->CurrentPage(), 0);
}

void tst_ReportWindows::exportAndPrintThroughTheirDialogs()
{
    Windows::Open_New("frmRptWeeklyReport", {{"CollectionNumber", m_set}});
    frmRptWeeklyReport* w = OpenWindowOf<frmRptWeeklyReport>();
    CRViewer91* v = w->viewer;
    const QString pdf = m_out.filePath("week.pdf");
    QStringList started;
    WindowServices::SetModalHook([&](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        if (!fd)
            return int(QDialog::Rejected);
        started << fd->directory().absolutePath();
        if (fd->objectName() == "dlgExportPdf")
            fd->selectFile(pdf);
        else
            fd->selectFile(m_out.path());
        return int(QDialog::Accepted);
    });
    QVERIFY(v->ExportPdf());
    QCOMPARE(PdfText::PageCount(pdf), v->PageCount());
    const QString text = PdfText::Squeezed(PdfText::Pages(pdf).join(""));
    QVERIFY(text.contains("Total Amount Collected " + FormatAmount(m_total)));
    QVERIFY(text.contains("Loose Offering $99.50"));
    // The folder is kept for the next export, also in the settings file.
    QCOMPARE(modSettings::Read("Reports", "ExportFolder"), m_out.path());
    QVERIFY(v->ExportCsv());
    QCOMPARE(started.last(), QDir(m_out.path()).absolutePath());
    for (const char* table : {"Contributions", "Totals by Fund"})
        QVERIFY2(QFile::exists(m_out.filePath(w->windowTitle() + " - " + table + ".csv")), table);

    // Ctrl+P opens the print dialog; printed to a file, it holds every page.
    const QString printed = m_out.filePath("printed.pdf");
    WindowServices::SetModalHook(PrintTo(printed));
    // Ctrl+P prints from the collection list as well.
    w->activateWindow();
    w->cboCollections->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w->cboCollections);
    Key(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(PdfText::PageCount(printed), v->PageCount());
    const QString info = PdfText::Run("pdfinfo", {printed});
    QVERIFY2(info.contains("612 x 792 pts"), qPrintable(info)); // US Letter, not A4

    // A folder that cannot be written: the system's reason, and the program goes on.
    WindowServices::SetModalHook(ChooseFile(m_out.filePath("no/such/folder/week.pdf")));
    m_data->Messages().Expect("could not be saved");
    QVERIFY(!v->ExportPdf());
    m_data->Messages().VerifyAllShown();
}

void tst_ReportWindows::openedFromTheMenuWithNothingChosen()
{
    m_data->AddCollection(QDate(2024, 3, 3));
    m_data->AddCollection(QDate(2023, 12, 31)); // two years back: not listed
    Windows::Open_New("frmRptWeeklyReport", {{"CollectionNumber", 0}});
    frmRptWeeklyReport* w = OpenWindowOf<frmRptWeeklyReport>();
    QCOMPARE(w->windowTitle(), QStringLiteral("Collections Report"));
    w->activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), w->cboCollections); // a set to choose first
    QCOMPARE(w->cboCollections->count(), 2);
    QCOMPARE(w->cboCollections->currentIndex(), -1);
    QCOMPARE(w->Current_Report()->Name(), QStringLiteral("rptBlank"));
    QCOMPARE(w->viewer->PageCount(), 1);
    QVERIFY(!w->viewer->cmdPrint->isEnabled());
    QVERIFY(!w->viewer->cmdExportCsv->isEnabled());
    // Show Names with nothing chosen builds nothing.
    w->chkShowNames->click();
    QCOMPARE(w->Current_Report()->Name(), QStringLiteral("rptBlank"));

    w->cboCollections->setCurrentIndex(0);
    QCOMPARE(w->Current_Report()->Name(), QStringLiteral("rptWeeklyReport"));
    QVERIFY(w->windowTitle().endsWith("June 8, 2025, Pentecost"));
    QVERIFY(w->viewer->cmdPrint->isEnabled());

    // A new collection set reloads the list and keeps the choice.
    const int newer = CollectionSets::Create_Set(QDate(2025, 6, 15), "").id;
    QCOMPARE(w->cboCollections->count(), 3);
    QCOMPARE(w->cboCollections->currentData().toInt(), m_set);
    QCOMPARE(w->cboCollections->itemData(0).toInt(), newer);
}

void tst_ReportWindows::fillsTheMainAreaAndTheViewerFollowsResizing()
{
    Windows::Open_New("frmRptWeeklyReport", {{"CollectionNumber", m_set}});
    frmRptWeeklyReport* w = OpenWindowOf<frmRptWeeklyReport>();
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    QVERIFY(sub);
    QCOMPARE(sub->geometry(), QRect(QPoint(0, 0), m_windows->Area()->viewport()->size()));
    const int top = w->viewer->y();
    QVERIFY(top >= w->cboCollections->geometry().bottom());
    sub->resize(800, 500);
    QCOMPARE(w->viewer->geometry(), QRect(0, top, w->width(), w->height() - top));
    // A second opening is a second window.
    Windows::Open_New("frmRptWeeklyReport", {{"CollectionNumber", m_set}});
    QCOMPARE(frmChild::OpenWindows().size(), 2);
}

void tst_ReportWindows::aDatabaseErrorIsShownAndTheWindowStays()
{
    Windows::Open_New("frmRptWeeklyReport", {{"CollectionNumber", 0}});
    frmRptWeeklyReport* w = OpenWindowOf<frmRptWeeklyReport>();
    m_data->DB().Execute("ALTER TABLE Offering RENAME TO OfferingGone");
    m_data->Messages().Expect("no such table: Offering");
    w->cboCollections->setCurrentIndex(0);
    m_data->Messages().VerifyAllShown();
    QCOMPARE(w->Current_Report()->Name(), QStringLiteral("rptBlank"));
    QVERIFY(!w->Building());
    QVERIFY(!w->IsClosed());
}

QV_TEST_MAIN(tst_ReportWindows, QApplication)
#include "tst_report_windows.moc"

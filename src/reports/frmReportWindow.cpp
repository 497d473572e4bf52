#include "frmReportWindow.h"

#include "CRViewer91.h"
#include "Report.h"
#include "ReportQueries.h"
#include "widgets/Layouts.h"
#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "core/modGlobal.h"
#include "core/DbError.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

frmReportWindow::frmReportWindow(QWidget* parent) : frmChild(parent)
{
    viewer = new CRViewer91(this);
    // Ctrl+P prints from anywhere in the window, not only from the viewer.
    auto* print = new QShortcut(QKeySequence::Print, this);
    print->setContext(Qt::WidgetWithChildrenShortcut);
    connect(print, &QShortcut::activated, viewer, &CRViewer91::PrintReport);
    // The window's own controls in rows above the viewer, wrapping onto
    // another row when the window is too narrow for them; the viewer takes
    // the rest of the window.
    m_strip = new Layouts::FlowLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    m_strip->setContentsMargins(margin, margin / 2, margin, margin / 2);
    // Also the spacing inside a group of controls that stay together.
    const int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    m_strip->setSpacing(spacing >= 0 ? spacing : 6);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addLayout(m_strip);
    page->addWidget(viewer, 1);
    // Small enough for any screen; the window opens filling the main area.
    resize(WindowServices::TwipsSize(9000, 6500));
}

void frmReportWindow::Add_To_Strip(std::initializer_list<QWidget*> together)
{
    if (together.size() == 1)
        m_strip->addWidget(*together.begin());
    else
        m_strip->addLayout(Layouts::Row(together));
}

frmReportWindow::~frmReportWindow() = default;

void frmReportWindow::Form_Load()
{
    m_loading = true;
    Build_Controls();
    Fill_Lists();
    if (QWidget* area = WindowServices::MainArea())
        resize(area->size());
    Build();
    m_loading = false;
}

void frmReportWindow::Fill_Main_Area()
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* area = WindowServices::MainArea();
    if (!sub || !area)
        return;
    QWidget* inner = area;
    if (auto* mdi = qobject_cast<QMdiArea*>(area))
        inner = mdi->viewport();
    sub->setGeometry(QRect(QPoint(0, 0), inner->size()));
}

void frmReportWindow::showEvent(QShowEvent* e)
{
    frmChild::showEvent(e);
    if (!m_placed) {
        m_placed = true;
        Fill_Main_Area();
    }
}

QString frmReportWindow::Export_Name() const
{
    return windowTitle();
}

bool frmReportWindow::Range_Refused(const QDate& begin, const QDate& end)
{
    const QString problem = ReportQueries::Range_Problem(begin, end);
    if (problem.isEmpty())
        return false;
    // Said in the status bar, not in a box: the range is often passing
    // through such a state while a date is typed digit by digit.
    Messages::Beep();
    Messages::Note(problem);
    return true;
}

void frmReportWindow::Build()
{
    if (m_building)
        return;
    m_building = true;
    // The window keeps painting while the report is made.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    {
        WindowServices::Hourglass wait;
        std::unique_ptr<Report> report;
        try {
            report = Make_Report();
        } catch (const DbError& e) {
            // The engine's own words; the window stays open on the blank report.
            Messages::Show(e.Message(), {}, Messages::Icon::Critical);
            report.reset();
        }
        if (!report)
            report = Reports::Create(QStringLiteral("rptBlank"));
        m_report = std::move(report);
        viewer->SetExportName(Export_Name());
        viewer->SetReportSource(m_report);
        viewer->ViewReport();
    }
    m_building = false;
}

bool frmReportWindow::Fill_Collection_List(QComboBox* list, int selectID)
{
    const QSignalBlocker quiet(list);
    list->clear();
    int selected = -1;
    for (const ReportQueries::CollectionItem& item : ReportQueries::Collection_List(modGlobal::ProcessingYear)) {
        list->addItem(item.text, item.id);
        if (item.id == selectID)
            selected = list->count() - 1;
    }
    list->setCurrentIndex(selected);
    return selected >= 0;
}

#include "frmRptWeeklyReport.h"

#include "widgets/Layouts.h"
#include "CRViewer91.h"
#include "Report.h"
#include "WeeklyReportTables.h"
#include "widgets/WindowServices.h"
#include "core/clsDBEvent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

using namespace Layouts;

namespace {
const QString kCaption = QStringLiteral("Collections Report");
}

frmRptWeeklyReport::frmRptWeeklyReport(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(kCaption);
}

void frmRptWeeklyReport::Build_Controls()
{
    cboCollections = Combo(this, "cboCollections");
    lblCollection = Label(this, "lblCollection", QStringLiteral("&Collection"), cboCollections);
    chkShowNames = Check(this, "chkShowNames", QStringLiteral("Show &Names"));
    Add_To_Strip({lblCollection, cboCollections});
    Add_To_Strip({chkShowNames});
    connect(cboCollections, &QComboBox::currentIndexChanged, this, &frmRptWeeklyReport::Collection_Chosen);
    connect(chkShowNames, &QCheckBox::toggled, this, &frmRptWeeklyReport::Show_Names_Clicked);
    setTabOrder(cboCollections, chkShowNames);
    setTabOrder(chkShowNames, viewer);
    // Opened for a set, the keys page through its report; opened with none,
    // they choose a set first.
    Set_First_Control(m_number > 0 ? static_cast<QWidget*>(viewer) : cboCollections);
}

void frmRptWeeklyReport::Fill_Lists()
{
    Fill_Collection_List(cboCollections, m_number);
}

void frmRptWeeklyReport::Collection_Chosen(int index)
{
    if (Loading() || index < 0)
        return;
    m_number = cboCollections->itemData(index).toInt();
    Build();
}

void frmRptWeeklyReport::Show_Names_Clicked()
{
    if (Loading() || m_number < 1)
        return;
    Build();
}

std::unique_ptr<Report> frmRptWeeklyReport::Make_Report()
{
    if (m_number < 1) {
        setWindowTitle(kCaption);
        return nullptr;
    }
    auto tables = WeeklyReport::Build(m_number, chkShowNames->isChecked());
    if (!tables) {
        // The set was deleted since it was chosen.
        setWindowTitle(kCaption);
        return nullptr;
    }
    setWindowTitle(tables->caption);
    auto report = std::make_unique<rptWeeklyReport>();
    report->Bind(std::move(*tables));
    return report;
}

void frmRptWeeklyReport::Handle_DBChange(int table, bool, bool, bool, int, int)
{
    if (table == dbCollection)
        Fill_Collection_List(cboCollections, m_number);
}

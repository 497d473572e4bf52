#include "frmRptFunds.h"

#include "widgets/Layouts.h"
#include "ListingReports.h"
#include "widgets/WindowServices.h"

#include <QCheckBox>
#include "widgets/QvDateBox.h"
#include <QComboBox>

using namespace Layouts;

namespace {
const QString kCaption = QStringLiteral("Fund Report");
}

frmRptFunds::frmRptFunds(QWidget* parent) : frmRptFundSelection(parent)
{
    setWindowTitle(kCaption);
}

void frmRptFunds::Build_Controls()
{
    Build_Selection_Controls();
    chkShowNames = Check(this, "chkShowNames", QStringLiteral("Show &Names"));
    Add_To_Strip({chkShowNames});
    chkShowNames->setChecked(true);
    connect(chkShowNames, &QCheckBox::clicked, this, [this] {
        if (!Loading())
            Build();
    });
    setTabOrder(dpEnd, chkShowNames);
}

void frmRptFunds::Fill_Lists()
{
    Fill_Fund_List(m_fundID);
    Fill_Collection_List(cboCollections, 0);
}

std::unique_ptr<Report> frmRptFunds::Make_Report()
{
    const Listings::Selection s = Selection();
    if (!s.byCollection && Range_Refused(s.begin, s.end)) {
        m_title.clear();
        return nullptr;
    }
    auto table = Listings::Fund_Report(s, chkShowNames->isChecked());
    if (!table) {
        m_title.clear();
        return nullptr;
    }
    m_fundID = s.fundID;
    m_title = Listings::Fund_Report_Title(s);
    auto report = std::make_unique<rptFunds>();
    report->SetDataSource(1, std::move(*table));
    return report;
}

QString frmRptFunds::Export_Name() const
{
    return m_title.isEmpty() ? windowTitle() : m_title;
}

void frmRptFunds::Handle_DBChange(int, bool, bool, bool, int, int)
{
    // Keep the chosen collection set chosen when it is still listed.
    const int collection = cboCollections->currentIndex() >= 0 ? cboCollections->currentData().toInt() : 0;
    Fill_Fund_List(Chosen_Fund() != 0 ? Chosen_Fund() : m_fundID);
    Fill_Collection_List(cboCollections, collection);
    Build();
}

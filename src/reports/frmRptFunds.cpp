#include "frmRptFunds.h"

#include "ListingReports.h"
#include "shell/WindowServices.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QComboBox>

namespace {
const QString kCaption = QStringLiteral("Fund Report");
}

frmRptFunds::frmRptFunds(QWidget* parent) : frmRptFundSelection(parent)
{
    setWindowTitle(kCaption);
}

int frmRptFunds::Build_Controls()
{
    Build_Selection_Controls();
    chkShowNames = new QCheckBox(QStringLiteral("Show &Names"), this);
    chkShowNames->setObjectName(QStringLiteral("chkShowNames"));
    WindowServices::Place(chkShowNames, kOwnLeft, 120, 1800, 300);
    chkShowNames->setChecked(true);
    connect(chkShowNames, &QCheckBox::clicked, this, [this] {
        if (!Loading())
            Build();
    });
    setTabOrder(dpEnd, chkShowNames);
    return WindowServices::TwipsToPixels(960);
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

#include "frmRptPledgeStatus.h"

#include "widgets/Layouts.h"
#include "PledgeStatusTables.h"
#include "rptPledgeStatus.h"
#include "core/Helpers.h"
#include "widgets/WindowServices.h"
#include "core/modGlobal.h"

#include <QCheckBox>
#include <QComboBox>
#include "widgets/QvDateBox.h"
#include <QLabel>
#include <QSignalBlocker>

using namespace Layouts;

frmRptPledgeStatus::frmRptPledgeStatus(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Pledge Status Report"));
}

void frmRptPledgeStatus::Build_Controls()
{
    cboFund = Combo(this, "cboFund");
    lblFund = Label(this, "lblFund", QStringLiteral("&Fund"), cboFund);
    cboSort = Combo(this, "cboSort");
    lblSort = Label(this, "lblSort", QStringLiteral("S&ort Order"), cboSort);
    auto date = [this](const char* name) {
        auto* box = new QvDateBox(this);
        box->setObjectName(QLatin1String(name));
        // The box tells of a date once it is whole: left, picked or stepped.
        connect(box, &QvDateBox::dateChanged, this, &frmRptPledgeStatus::Date_Changed);
        return box;
    };
    dpBegin = date("dpBegin");
    lblThrough = Label(this, "lblThrough", QStringLiteral("through"));
    dpEnd = date("dpEnd");
    chkShowAll = Check(this, "chkShowAll", QStringLiteral("Include &Non-Pledgers"));
    chkShowNames = Check(this, "chkShowNames", QStringLiteral("Show N&ames"));
    chkShowNames->setChecked(true);
    Add_To_Strip({lblFund, cboFund});
    Add_To_Strip({lblSort, cboSort});
    Add_To_Strip({dpBegin, lblThrough, dpEnd});
    Add_To_Strip({chkShowAll});
    Add_To_Strip({chkShowNames});

    connect(cboFund, &QComboBox::currentIndexChanged, this, &frmRptPledgeStatus::Changed);
    connect(cboSort, &QComboBox::currentIndexChanged, this, &frmRptPledgeStatus::Changed);
    connect(chkShowAll, &QCheckBox::toggled, this, &frmRptPledgeStatus::Changed);
    connect(chkShowNames, &QCheckBox::toggled, this, &frmRptPledgeStatus::Changed);
    setTabOrder(cboFund, cboSort);
    setTabOrder(cboSort, dpBegin);
    setTabOrder(dpBegin, dpEnd);
    setTabOrder(dpEnd, chkShowAll);
    setTabOrder(chkShowAll, chkShowNames);
}

void frmRptPledgeStatus::Fill_Lists()
{
    const QDate today = modGlobal::Today();
    dpBegin->setDate(QDate(today.year(), 1, 1));
    dpEnd->setDate(today);
    for (auto [box, items] : {std::pair{cboFund, PledgeStatus::Fund_List()}, std::pair{cboSort, PledgeStatus::Sort_List()}}) {
        const QSignalBlocker quiet(box);
        box->clear();
        for (const PledgeStatus::Item& item : items)
            box->addItem(item.text, item.data);
        box->setCurrentIndex(-1);
    }
}

void frmRptPledgeStatus::Changed()
{
    if (!Loading())
        Build();
}

void frmRptPledgeStatus::Date_Changed()
{
    if (!Loading() && (dpBegin->date() != m_builtBegin || dpEnd->date() != m_builtEnd))
        Build();
}

std::unique_ptr<Report> frmRptPledgeStatus::Make_Report()
{
    m_builtBegin = dpBegin->date();
    m_builtEnd = dpEnd->date();
    if (cboFund->currentIndex() < 0 || cboSort->currentIndex() < 0 || Range_Refused(m_builtBegin, m_builtEnd))
        return nullptr;
    PledgeStatus::Options o;
    o.fundID = cboFund->currentData().toInt();
    o.sortOrder = cboSort->currentData().toInt();
    o.begin = m_builtBegin;
    o.end = m_builtEnd;
    o.nonPledgers = chkShowAll->isChecked();
    o.showNames = chkShowNames->isChecked();
    auto report = std::make_unique<rptPledgeStatus>();
    report->SetDataSource(1, PledgeStatus::Build(o));
    return report;
}

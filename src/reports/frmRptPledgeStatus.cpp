#include "frmRptPledgeStatus.h"

#include "PledgeStatusTables.h"
#include "rptPledgeStatus.h"
#include "shell/Helpers.h"
#include "shell/WindowServices.h"
#include "shell/modGlobal.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QSignalBlocker>

using WindowServices::Place;

frmRptPledgeStatus::frmRptPledgeStatus(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Pledge Status Report"));
}

int frmRptPledgeStatus::Build_Controls()
{
    lblFund = new QLabel(QStringLiteral("&Fund"), this);
    lblFund->setObjectName(QStringLiteral("lblFund"));
    Place(lblFund, 120, 150, 480, 285);
    cboFund = new QComboBox(this);
    cboFund->setObjectName(QStringLiteral("cboFund"));
    Place(cboFund, 620, 105, 2400, 330);
    lblFund->setBuddy(cboFund);
    lblSort = new QLabel(QStringLiteral("S&ort Order"), this);
    lblSort->setObjectName(QStringLiteral("lblSort"));
    Place(lblSort, 3120, 150, 960, 285);
    cboSort = new QComboBox(this);
    cboSort->setObjectName(QStringLiteral("cboSort"));
    Place(cboSort, 4100, 105, 2400, 330);
    lblSort->setBuddy(cboSort);
    auto date = [this](const char* name) {
        auto* box = new QDateEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setCalendarPopup(true);
        box->setDisplayFormat(modGlobal::ShortDateFormat());
        // Taken when the box is left or a day is picked, not at each digit.
        connect(box, &QDateEdit::editingFinished, this, &frmRptPledgeStatus::Date_Changed);
        connect(box->calendarWidget(), &QCalendarWidget::clicked, this, &frmRptPledgeStatus::Date_Changed);
        return box;
    };
    dpBegin = date("dpBegin");
    Place(dpBegin, 6600, 105, 1300, 330);
    lblThrough = new QLabel(QStringLiteral("through"), this);
    lblThrough->setObjectName(QStringLiteral("lblThrough"));
    Place(lblThrough, 7960, 150, 600, 285);
    dpEnd = date("dpEnd");
    Place(dpEnd, 8580, 105, 1300, 330);
    chkShowAll = new QCheckBox(QStringLiteral("Include &Non-Pledgers"), this);
    chkShowAll->setObjectName(QStringLiteral("chkShowAll"));
    Place(chkShowAll, 10000, 120, 2100, 300);
    chkShowNames = new QCheckBox(QStringLiteral("Show N&ames"), this);
    chkShowNames->setObjectName(QStringLiteral("chkShowNames"));
    Place(chkShowNames, 12160, 120, 1500, 300);
    chkShowNames->setChecked(true);

    connect(cboFund, &QComboBox::currentIndexChanged, this, &frmRptPledgeStatus::Changed);
    connect(cboSort, &QComboBox::currentIndexChanged, this, &frmRptPledgeStatus::Changed);
    connect(chkShowAll, &QCheckBox::toggled, this, &frmRptPledgeStatus::Changed);
    connect(chkShowNames, &QCheckBox::toggled, this, &frmRptPledgeStatus::Changed);
    setTabOrder(cboFund, cboSort);
    setTabOrder(cboSort, dpBegin);
    setTabOrder(dpBegin, dpEnd);
    setTabOrder(dpEnd, chkShowAll);
    setTabOrder(chkShowAll, chkShowNames);
    return WindowServices::TwipsToPixels(540);
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

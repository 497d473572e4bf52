#include "frmRptFundSelection.h"

#include "core/Helpers.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/modGlobal.h"

#include <QComboBox>
#include "widgets/QvDateBox.h"
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Layouts;

frmRptFundSelection::frmRptFundSelection(QWidget* parent) : frmReportWindow(parent) {}

void frmRptFundSelection::Build_Selection_Controls()
{
    cboFund = Combo(this, "cboFund");
    lblFund = Label(this, "lblFund", QStringLiteral("&Fund"), cboFund);

    fraOption = Group(this, "fraOption", QStringLiteral("Report Option"));
    optColNum = Radio(fraOption, "optColNum", QStringLiteral("Co&llection Set"));
    optDateRange = Radio(fraOption, "optDateRange", QStringLiteral("&Date Range"));
    fraOption->setLayout(Column({optColNum, optDateRange}));

    cboCollections = Combo(this, "cboCollections");
    dpBegin = new QvDateBox(this);
    dpBegin->setObjectName(QStringLiteral("dpBegin"));
    lblThrough = Label(this, "lblThrough", QStringLiteral("through"));
    lblThrough->setAlignment(Qt::AlignCenter);
    dpEnd = new QvDateBox(this);
    dpEnd->setObjectName(QStringLiteral("dpEnd"));
    Add_To_Strip({lblFund, cboFund});
    Add_To_Strip({fraOption});
    // The set and the range sit one above the other, beside the choice
    // between them.
    auto* choice = new QVBoxLayout;
    choice->addWidget(cboCollections);
    choice->addLayout(Row({dpBegin, lblThrough, dpEnd}));
    Strip()->addLayout(choice);

    // At load: a date range from the first of the year to today.
    const QDate today = modGlobal::Today();
    optDateRange->setChecked(true);
    dpBegin->setDate(QDate(today.year(), 1, 1));
    dpEnd->setDate(today);
    Option_Clicked();

    connect(optColNum, &QRadioButton::clicked, this, &frmRptFundSelection::Option_Clicked);
    connect(optDateRange, &QRadioButton::clicked, this, &frmRptFundSelection::Option_Clicked);
    connect(cboFund, &QComboBox::activated, this, &frmRptFundSelection::List_Clicked);
    connect(cboCollections, &QComboBox::activated, this, &frmRptFundSelection::List_Clicked);
    connect(dpBegin, &QvDateBox::dateChanged, this, &frmRptFundSelection::List_Clicked);
    connect(dpEnd, &QvDateBox::dateChanged, this, &frmRptFundSelection::List_Clicked);
    setTabOrder(cboFund, optColNum);
    setTabOrder(optColNum, optDateRange);
    setTabOrder(optDateRange, cboCollections);
    setTabOrder(cboCollections, dpBegin);
    setTabOrder(dpBegin, dpEnd);
}

void frmRptFundSelection::Fill_Lists()
{
    Fill_Fund_List(0);
    Fill_Collection_List(cboCollections, 0);
}

void frmRptFundSelection::Fill_Fund_List(int selectID)
{
    const QSignalBlocker quiet(cboFund);
    cboFund->clear();
    int selected = -1;
    for (const Listings::FundItem& item : Listings::Offering_Fund_List()) {
        cboFund->addItem(item.text, item.id);
        if (selectID != 0 && item.id == selectID)
            selected = cboFund->count() - 1;
    }
    cboFund->setCurrentIndex(selected);
}

int frmRptFundSelection::Chosen_Fund() const
{
    return cboFund->currentIndex() >= 0 ? cboFund->currentData().toInt() : 0;
}

Listings::Selection frmRptFundSelection::Selection() const
{
    Listings::Selection s;
    s.fundID = Chosen_Fund();
    s.byCollection = optColNum->isChecked();
    s.collectionID = cboCollections->currentIndex() >= 0 ? cboCollections->currentData().toInt() : 0;
    s.begin = dpBegin->date();
    s.end = dpEnd->date();
    return s;
}

void frmRptFundSelection::Option_Clicked()
{
    const bool bySet = optColNum->isChecked();
    cboCollections->setEnabled(bySet);
    dpBegin->setEnabled(!bySet);
    dpEnd->setEnabled(!bySet);
}

void frmRptFundSelection::List_Clicked()
{
    if (!Loading())
        Build();
}

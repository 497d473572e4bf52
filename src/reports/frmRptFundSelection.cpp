#include "frmRptFundSelection.h"

#include "shell/Helpers.h"
#include "shell/WindowServices.h"
#include "shell/modGlobal.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

using WindowServices::Place;

frmRptFundSelection::frmRptFundSelection(QWidget* parent) : frmReportWindow(parent) {}

void frmRptFundSelection::Build_Selection_Controls()
{
    lblFund = new QLabel(QStringLiteral("&Fund"), this);
    lblFund->setObjectName(QStringLiteral("lblFund"));
    Place(lblFund, 120, 150, 600, 285);
    cboFund = new QComboBox(this);
    cboFund->setObjectName(QStringLiteral("cboFund"));
    Place(cboFund, 720, 105, 3240, 330);
    lblFund->setBuddy(cboFund);

    fraOption = new QGroupBox(QStringLiteral("Report Option"), this);
    fraOption->setObjectName(QStringLiteral("fraOption"));
    Place(fraOption, 4080, 0, 1920, 900);
    optColNum = new QRadioButton(QStringLiteral("Co&llection Set"), fraOption);
    optColNum->setObjectName(QStringLiteral("optColNum"));
    Place(optColNum, 120, 270, 1740, 285);
    optDateRange = new QRadioButton(QStringLiteral("&Date Range"), fraOption);
    optDateRange->setObjectName(QStringLiteral("optDateRange"));
    Place(optDateRange, 120, 570, 1740, 285);

    cboCollections = new QComboBox(this);
    cboCollections->setObjectName(QStringLiteral("cboCollections"));
    Place(cboCollections, 6120, 105, 4200, 330);
    dpBegin = new QDateEdit(this);
    dpBegin->setObjectName(QStringLiteral("dpBegin"));
    lblThrough = new QLabel(QStringLiteral("through"), this);
    lblThrough->setObjectName(QStringLiteral("lblThrough"));
    lblThrough->setAlignment(Qt::AlignCenter);
    dpEnd = new QDateEdit(this);
    dpEnd->setObjectName(QStringLiteral("dpEnd"));
    for (QDateEdit* d : {dpBegin, dpEnd}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(modGlobal::ShortDateFormat());
    }
    Place(dpBegin, 6120, 540, 1680, 330);
    Place(lblThrough, 7800, 585, 840, 285);
    Place(dpEnd, 8640, 540, 1680, 330);

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
    connect(dpBegin, &QDateEdit::dateChanged, this, &frmRptFundSelection::List_Clicked);
    connect(dpEnd, &QDateEdit::dateChanged, this, &frmRptFundSelection::List_Clicked);
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

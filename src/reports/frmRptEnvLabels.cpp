#include "frmRptEnvLabels.h"

#include "LabelSheetControls.h"
#include "ListingReports.h"
#include "ListingTables.h"
#include "frmRptTelephone.h"
#include "shell/WindowServices.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

using WindowServices::Place;

frmRptEnvLabels::frmRptEnvLabels(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Print Offering Envelope Box Labels"));
}

int frmRptEnvLabels::Build_Controls()
{
    lblFund = new QLabel(QStringLiteral("&Fund"), this);
    lblFund->setObjectName(QStringLiteral("lblFund"));
    Place(lblFund, 120, 150, 600, 285);
    cboFund = new QComboBox(this);
    cboFund->setObjectName(QStringLiteral("cboFund"));
    Place(cboFund, 720, 105, 2340, 330);
    lblFund->setBuddy(cboFund);
    connect(cboFund, &QComboBox::activated, this, &frmRptEnvLabels::Rebuild);
    fraSort = frmRptTelephone::Build_Sort_Frame(this, QStringLiteral("fraSort"), optName, QStringLiteral("Alp&habetical Order"),
                                                optNum, QStringLiteral("optNum"), QStringLiteral("&Envelope Number Order"),
                                                [this] { Rebuild(); });
    optName->setChecked(true);
    sheet = new LabelSheetControls(this, viewer, QStringLiteral("EnvelopeLabels"), 1020);
    sheet->Add_Skip_Box(QStringLiteral("Number of labels to &skip"), 6120, 105, 2100);
    lblSkip = sheet->lblSkip;
    txtSkip = sheet->txtSkip;
    connect(sheet, &LabelSheetControls::Changed, this, &frmRptEnvLabels::Rebuild);
    setTabOrder(cboFund, optName);
    return WindowServices::TwipsToPixels(1440);
}

void frmRptEnvLabels::Fill_Lists()
{
    const QSignalBlocker quiet(cboFund);
    cboFund->clear();
    for (const Listings::FundItem& item : Listings::Pledge_Fund_List())
        cboFund->addItem(item.text, item.id);
    cboFund->setCurrentIndex(-1);
}

void frmRptEnvLabels::Rebuild()
{
    if (!Loading())
        Build();
}

std::unique_ptr<Report> frmRptEnvLabels::Make_Report()
{
    const int fund = cboFund->currentIndex() >= 0 ? cboFund->currentData().toInt() : 0;
    auto table = Listings::Envelope_Labels(fund, optNum->isChecked(), sheet->Skip());
    if (!table)
        return nullptr;
    auto report = std::make_unique<rptEnvLabels>();
    sheet->Apply(*report);
    report->SetDataSource(1, std::move(*table));
    return report;
}

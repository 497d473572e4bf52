#include "frmRptEnvLabels.h"

#include "widgets/Layouts.h"
#include "LabelSheetControls.h"
#include "ListingReports.h"
#include "ListingTables.h"
#include "frmRptTelephone.h"
#include "widgets/WindowServices.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace Layouts;

frmRptEnvLabels::frmRptEnvLabels(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Print Offering Envelope Box Labels"));
}

void frmRptEnvLabels::Build_Controls()
{
    cboFund = Combo(this, "cboFund");
    lblFund = Label(this, "lblFund", QStringLiteral("&Fund"), cboFund);
    Add_To_Strip({lblFund, cboFund});
    connect(cboFund, &QComboBox::activated, this, &frmRptEnvLabels::Rebuild);
    fraSort = frmRptTelephone::Build_Sort_Frame(this, QStringLiteral("fraSort"), optName, QStringLiteral("Alp&habetical Order"),
                                                optNum, QStringLiteral("optNum"), QStringLiteral("&Envelope Number Order"),
                                                [this] { Rebuild(); });
    Add_To_Strip({fraSort});
    optName->setChecked(true);
    sheet = new LabelSheetControls(this, viewer, QStringLiteral("EnvelopeLabels"), Strip());
    sheet->Add_Skip_Box(QStringLiteral("Number of labels to &skip"));
    lblSkip = sheet->lblSkip;
    txtSkip = sheet->txtSkip;
    connect(sheet, &LabelSheetControls::Changed, this, &frmRptEnvLabels::Rebuild);
    setTabOrder(cboFund, optName);
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

#include "frmRptMailingLabels.h"

#include "LabelSheetControls.h"
#include "ListingReports.h"
#include "ListingTables.h"
#include "frmRptTelephone.h"
#include "shell/WindowServices.h"

#include <QCheckBox>
#include <QRadioButton>

frmRptMailingLabels::frmRptMailingLabels(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Print Mailing Labels"));
}

int frmRptMailingLabels::Build_Controls()
{
    frmRptTelephone::Build_Show_Boxes(this, chkActive, chkInactive, [this] { Rebuild(); });
    fraOrder = frmRptTelephone::Build_Sort_Frame(this, QStringLiteral("fraOrder"), optName,
                                                 QStringLiteral("Alp&habetical Order"), optZip, QStringLiteral("optZip"),
                                                 QStringLiteral("&Zip Code Order"), [this] { Rebuild(); });
    optZip->setChecked(true);
    sheet = new LabelSheetControls(this, viewer, QStringLiteral("MailingLabels"), 1020);
    sheet->Add_Skip_Box(QStringLiteral("Number of labels to &skip"), 6120, 105, 2100);
    lblSkip = sheet->lblSkip;
    txtSkip = sheet->txtSkip;
    connect(sheet, &LabelSheetControls::Changed, this, &frmRptMailingLabels::Rebuild);
    return WindowServices::TwipsToPixels(1440);
}

void frmRptMailingLabels::Rebuild()
{
    if (!Loading() && (chkActive->isChecked() || chkInactive->isChecked()))
        Build();
}

std::unique_ptr<Report> frmRptMailingLabels::Make_Report()
{
    auto table = Listings::Mailing_Labels(chkActive->isChecked(), chkInactive->isChecked(), optZip->isChecked(),
                                          sheet->Skip());
    if (!table)
        return nullptr;
    auto report = std::make_unique<rptMemorials>();
    sheet->Apply(*report);
    report->SetDataSource(1, std::move(*table));
    return report;
}

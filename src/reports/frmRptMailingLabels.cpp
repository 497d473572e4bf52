#include "frmRptMailingLabels.h"

#include "widgets/Layouts.h"
#include "LabelSheetControls.h"
#include "ListingReports.h"
#include "ListingTables.h"
#include "frmRptTelephone.h"
#include "widgets/WindowServices.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>
#include <QRadioButton>

using namespace Layouts;

frmRptMailingLabels::frmRptMailingLabels(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Print Mailing Labels"));
}

void frmRptMailingLabels::Build_Controls()
{
    frmRptTelephone::Build_Show_Boxes(this, chkActive, chkInactive, [this] { Rebuild(); });
    fraOrder = frmRptTelephone::Build_Sort_Frame(this, QStringLiteral("fraOrder"), optName,
                                                 QStringLiteral("Alp&habetical Order"), optZip, QStringLiteral("optZip"),
                                                 QStringLiteral("&Zip Code Order"), [this] { Rebuild(); });
    Strip()->addLayout(Column({chkActive, chkInactive}));
    Add_To_Strip({fraOrder});
    optZip->setChecked(true);
    sheet = new LabelSheetControls(this, viewer, QStringLiteral("MailingLabels"), Strip());
    sheet->Add_Skip_Box(QStringLiteral("Number of labels to &skip"));
    lblSkip = sheet->lblSkip;
    txtSkip = sheet->txtSkip;
    connect(sheet, &LabelSheetControls::Changed, this, &frmRptMailingLabels::Rebuild);
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

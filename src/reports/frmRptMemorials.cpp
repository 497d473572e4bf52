#include "frmRptMemorials.h"

#include "widgets/Layouts.h"
#include "LabelSheetControls.h"
#include "ListingReports.h"
#include "widgets/WindowServices.h"

#include "widgets/QvDateBox.h"
#include <QLineEdit>

using namespace Layouts;

frmRptMemorials::frmRptMemorials(QWidget* parent) : frmRptFundSelection(parent)
{
    setWindowTitle(QStringLiteral("Memorial Fund Donors"));
}

void frmRptMemorials::Build_Controls()
{
    Build_Selection_Controls();
    sheet = new LabelSheetControls(this, viewer, QStringLiteral("Memorials"), Strip());
    sheet->Add_Skip_Box(QStringLiteral("Number of labels to &skip at the top"));
    lblSkip = sheet->lblSkip;
    txtSkip = sheet->txtSkip;
    connect(sheet, &LabelSheetControls::Changed, this, [this] {
        if (!Loading())
            Build();
    });
    setTabOrder(dpEnd, txtSkip);
}

std::unique_ptr<Report> frmRptMemorials::Make_Report()
{
    const Listings::Selection s = Selection();
    if (!s.byCollection && Range_Refused(s.begin, s.end))
        return nullptr;
    auto table = Listings::Memorial_Labels(s, sheet->Skip());
    if (!table)
        return nullptr;
    auto report = std::make_unique<rptMemorials>();
    sheet->Apply(*report);
    report->SetDataSource(1, std::move(*table));
    return report;
}

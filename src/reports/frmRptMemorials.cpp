#include "frmRptMemorials.h"

#include "LabelSheetControls.h"
#include "ListingReports.h"
#include "shell/WindowServices.h"

#include <QDateEdit>
#include <QLineEdit>

frmRptMemorials::frmRptMemorials(QWidget* parent) : frmRptFundSelection(parent)
{
    setWindowTitle(QStringLiteral("Memorial Fund Donors"));
}

int frmRptMemorials::Build_Controls()
{
    Build_Selection_Controls();
    sheet = new LabelSheetControls(this, viewer, QStringLiteral("Memorials"), 1020);
    sheet->Add_Skip_Box(QStringLiteral("Number of labels to &skip at the top"), kOwnLeft, 105, 2100);
    lblSkip = sheet->lblSkip;
    txtSkip = sheet->txtSkip;
    connect(sheet, &LabelSheetControls::Changed, this, [this] {
        if (!Loading())
            Build();
    });
    setTabOrder(dpEnd, txtSkip);
    return WindowServices::TwipsToPixels(1440);
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

#pragma once

#include "YearEnd.h"
#include "reports/frmReportWindow.h"

class QLabel;

// The changed numbers of a numbering run, to print, save as PDF or CSV.
// The opener hands over the fund reference ("FundID") and the changes
// ("Changes", a QList<modGlobal::NumberChange>) as properties: the old
// numbers are no longer in the file.
class frmRptNumbers : public frmReportWindow {
    Q_OBJECT
public:
    explicit frmRptNumbers(QWidget* parent = nullptr);

    QLabel* lblFund;

protected:
    void Build_Controls() override;
    std::unique_ptr<Report> Make_Report() override;
};

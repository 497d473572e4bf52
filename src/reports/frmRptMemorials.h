#pragma once

#include "frmRptFundSelection.h"

class LabelSheetControls;
class QLineEdit;

// An address label for every donor to a fund (a memorial fund) in a
// collection set or a range of dates, for the thank-you letters, after the
// labels already used on the sheet.
class frmRptMemorials : public frmRptFundSelection {
    Q_OBJECT
public:
    explicit frmRptMemorials(QWidget* parent = nullptr);

    QLabel* lblSkip;
    QLineEdit* txtSkip;
    LabelSheetControls* sheet;

protected:
    void Build_Controls() override;
    std::unique_ptr<Report> Make_Report() override;
};

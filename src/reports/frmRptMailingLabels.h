#pragma once

#include "frmReportWindow.h"

class LabelSheetControls;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// An address label for every active and/or inactive contributor, by zip
// code or by name, after the labels already used on the sheet.
class frmRptMailingLabels : public frmReportWindow {
    Q_OBJECT
public:
    explicit frmRptMailingLabels(QWidget* parent = nullptr);

    QCheckBox* chkActive;
    QCheckBox* chkInactive;
    QGroupBox* fraOrder;
    QRadioButton* optName;
    QRadioButton* optZip;
    QLabel* lblSkip;
    QLineEdit* txtSkip;
    LabelSheetControls* sheet;

protected:
    void Build_Controls() override;
    std::unique_ptr<Report> Make_Report() override;

private:
    // With neither Show box ticked nothing is built: the last labels stay.
    void Rebuild();
};

#pragma once

#include "frmReportWindow.h"

class LabelSheetControls;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// A label for every pledge to one fund by a contributor who uses offering
// envelopes, to mark the envelope boxes, by name or by envelope number.
class frmRptEnvLabels : public frmReportWindow {
    Q_OBJECT
public:
    explicit frmRptEnvLabels(QWidget* parent = nullptr);

    QLabel* lblFund;
    QComboBox* cboFund;
    QGroupBox* fraSort;
    QRadioButton* optName;
    QRadioButton* optNum;
    QLabel* lblSkip;
    QLineEdit* txtSkip;
    LabelSheetControls* sheet;

protected:
    void Build_Controls() override;
    void Fill_Lists() override;
    std::unique_ptr<Report> Make_Report() override;

private:
    void Rebuild();
};

#pragma once

#include "widgets/frmChild.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Marks every pledge to one fund (or one year's main fund) active or inactive.
class frmActive : public frmChild {
    Q_OBJECT
public:
    explicit frmActive(QWidget* parent = nullptr);

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel* lblFund;
    QComboBox* cboFund;
    QGroupBox* fraActive;
    QRadioButton *optActive, *optInactive;
    QPushButton *cmdOK, *cmdCancel;

private:
    void Build_Fund_List();
    void cmdOK_Click();
};

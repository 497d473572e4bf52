#pragma once

#include "widgets/frmChild.h"

#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;
class QvGrid;

// The funds: the main fund's name on its own, the additional funds in a
// list from which they are added, edited, deleted and reported on.
class frmFundList : public frmChild {
    Q_OBJECT
public:
    explicit frmFundList(QWidget* parent = nullptr);

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QGroupBox* fraMainFund;
    QLabel* lblMainFund;
    QPushButton* cmdChange;
    QGroupBox* fraFunds;
    QWidget* picFunds;
    QvGrid* fgFunds;
    QCheckBox* chkShowAll;
    QPushButton *cmdReport, *cmdAdd, *cmdEdit, *cmdDelete, *cmdClose;

private:
    void Load_Grid();
    int Selected_Fund_Row() const;
    void cmdEdit_Click();
    void cmdReport_Click();
    void cmdDelete_Click();

};

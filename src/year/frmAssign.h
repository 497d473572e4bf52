#pragma once

#include "YearWindows.h"
#include "widgets/frmChild.h"

class QComboBox;
class QLabel;
class QPushButton;

// Numbers the envelopes (and the auxiliary numbers of contributors without
// envelopes) of any year's main fund or any pledgeable fund.
class frmAssign : public frmChild {
    Q_OBJECT
public:
    explicit frmAssign(QWidget* parent = nullptr);

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel* lblFund;
    QComboBox* cboFund;
    YearWindows::NumberChoice Choice[2];
    QPushButton *cmdOK, *cmdCancel;

    // The numbers changed by the last OK, for the list handed out with the envelopes.
    QList<modGlobal::NumberChange> Last_Changes() const { return m_changes; }

private:
    void Build_Fund_List();
    void cmdOK_Click();

    QList<modGlobal::NumberChange> m_changes;
};

#pragma once

#include "widgets/frmChild.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Creates or changes one pledge of one contributor. A new pledge is
// proposed the next envelope or auxiliary number of the chosen fund.
class frmPledge : public frmChild {
    Q_OBJECT
    Q_PROPERTY(int PledgeID READ PledgeID WRITE SetPledgeID)
    Q_PROPERTY(int ContributorID READ ContributorID WRITE SetContributorID)
    Q_PROPERTY(bool UseEnvelopes READ UseEnvelopes WRITE SetUseEnvelopes)
public:
    explicit frmPledge(QWidget* parent = nullptr);

    int PledgeID() const { return m_pledgeID; }
    void SetPledgeID(int id) { m_pledgeID = id; }
    int ContributorID() const { return m_contributorID; }
    void SetContributorID(int id) { m_contributorID = id; }
    bool UseEnvelopes() const { return m_useEnvelopes; }
    void SetUseEnvelopes(bool b) { m_useEnvelopes = b; }

    void Form_Load() override;

    QComboBox* cboFund;
    QLabel *lblFund, *lblAccountNumber, *lblAmount;
    QLineEdit *txtAccountNumber, *txtAmount;
    QCheckBox* chkInactive;
    QGroupBox* fraNotes;
    QPlainTextEdit* txtNotes;
    QPushButton *cmdOK, *cmdCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fund_Chosen();
    bool Save_Changes() override;
    void cmdOK_Click();

    int m_pledgeID = 0, m_contributorID = 0;
    bool m_useEnvelopes = true;
    int m_loadedNumber = 0; // the stored number of an existing pledge
};

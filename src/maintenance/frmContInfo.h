#pragma once

#include "widgets/frmChild.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QvGrid;

// One contributor: name, address, telephone, two flags and the pledges.
// The contributor is written by OK; pledges are written at once by the
// pledge dialog this window opens.
class frmContInfo : public frmChild {
    Q_OBJECT
    Q_PROPERTY(int ContributorID READ ContributorID WRITE SetContributorID)
public:
    explicit frmContInfo(QWidget* parent = nullptr);

    int ContributorID() const { return m_id; }
    void SetContributorID(int id) { m_id = id; }

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel *lblLastName, *lblFirstNames, *lblAddress1, *lblAddress2, *lblCityStateZip, *lblPhone;
    QLineEdit *txtLastName, *txtFirstNames, *txtAddress1, *txtAddress2, *txtCity, *txtState, *txtZip, *txtPhone;
    QCheckBox *chkIsInactive, *chkEnv;
    // Where the statements go: the e-mail address and paper, e-mail or both.
    QLabel *lblEmail, *lblDelivery;
    QLineEdit* txtEmail;
    QComboBox* cboDelivery;
    QGroupBox* fraPledges;
    QvGrid* fgPledges;
    QCheckBox* chkShowAll;
    QPushButton *cmdAdd, *cmdEdit, *cmdDelete, *cmdReport, *cmdOK, *cmdCancel;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Put_Pledge(int row, int id, int number, const QString& fund, double amount, bool inactive);
    void Open_Pledge(int pledgeID);
    void Add_Pledge();
    void Edit_Pledge();
    void Delete_Pledge();
    bool Save_Changes() override;
    void cmdOK_Click();
    // The address's form is checked as soon as it is typed.
    void Email_Typed();
    // Why the e-mail fields cannot be saved; empty when they can.
    QString Email_Problem() const;

    int m_id = 0;
    bool m_pledgesToDiscard = false;
};

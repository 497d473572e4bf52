#pragma once

#include "YearWindows.h"
#include "widgets/frmChild.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// Sets the processing year and, when asked, does the year-end pledge work in
// one go: last year's main fund pledges inactive, the new year's envelope
// and auxiliary numbers, the new year's pledges active.
class frmYear : public frmChild {
    Q_OBJECT
public:
    explicit frmYear(QWidget* parent = nullptr);

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel* lblYear;
    QComboBox* cboYear;
    QCheckBox *chkOldInactive, *chkNewActive;
    YearWindows::NumberChoice Choice[2];
    QPushButton *cmdOK, *cmdCancel;

    QList<modGlobal::NumberChange> Last_Changes() const { return m_changes; }

private:
    int Chosen_Year() const;
    void Build_Captions();
    void cmdOK_Click();

    QList<modGlobal::NumberChange> m_changes;
};

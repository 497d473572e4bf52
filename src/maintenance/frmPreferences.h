#pragma once

#include "FundQueries.h"
#include "widgets/frmChild.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The program settings kept in the Church row: the proposed date of a new
// collection set, the default funds, the tax statement and the envelope
// default of new contributors.
class frmPreferences : public frmChild {
    Q_OBJECT
public:
    explicit frmPreferences(QWidget* parent = nullptr);

    void Form_Load() override;

    QGroupBox* fraDateDefault;
    QRadioButton *optCurrentDate, *optPrevDay;
    QComboBox* cboWeekday;
    QGroupBox* fraFunds;
    QLabel *lblFirstFund, *lblFirstFundName, *lblSecondFund, *lblThirdFund;
    QComboBox *cboSecondFund, *cboThirdFund;
    QGroupBox* fraStatements;
    QPlainTextEdit* txtIRS;
    QGroupBox* fraContributors;
    QCheckBox* chkAssign;
    QPushButton *cmdOK, *cmdCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill_Fund_List(QComboBox* list, int fundID);
    bool Save_Changes() override;
    void cmdOK_Click();

    QList<FundQueries::Choice> m_choices;
};

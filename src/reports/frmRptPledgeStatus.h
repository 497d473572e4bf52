#pragma once

#include "frmReportWindow.h"

#include <QDate>

class QCheckBox;
class QComboBox;
class QvDateBox;
class QLabel;

// The pledge status of one pledgeable fund for a date range.
class frmRptPledgeStatus : public frmReportWindow {
    Q_OBJECT
public:
    explicit frmRptPledgeStatus(QWidget* parent = nullptr);

    QLabel *lblFund, *lblSort, *lblThrough;
    QComboBox *cboFund, *cboSort;
    QvDateBox *dpBegin, *dpEnd;
    QCheckBox *chkShowAll, *chkShowNames;

protected:
    void Build_Controls() override;
    void Fill_Lists() override;
    std::unique_ptr<Report> Make_Report() override;

private:
    void Changed();
    void Date_Changed();

    QDate m_builtBegin, m_builtEnd;
};

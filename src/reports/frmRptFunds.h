#pragma once

#include "frmRptFundSelection.h"

class QCheckBox;

// Every gift to one fund in a collection set or a range of dates, by date,
// with the givers' names or without. The fund list's Report opens it for
// its fund.
class frmRptFunds : public frmRptFundSelection {
    Q_OBJECT
    Q_PROPERTY(int Fund_ID READ Fund_ID WRITE SetFund_ID)
public:
    explicit frmRptFunds(QWidget* parent = nullptr);

    int Fund_ID() const { return m_fundID; }
    void SetFund_ID(int id) { m_fundID = id; }

    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QCheckBox* chkShowNames;

protected:
    void Build_Controls() override;
    void Fill_Lists() override;
    std::unique_ptr<Report> Make_Report() override;
    QString Export_Name() const override;

private:
    int m_fundID = 0;
    QString m_title; // of the report shown; names its exported files
};

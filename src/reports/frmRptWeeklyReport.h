#pragma once

#include "frmReportWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;

// The weekly collection report of one collection set, chosen in the list or
// handed over by the offering window's Print.
class frmRptWeeklyReport : public frmReportWindow {
    Q_OBJECT
    Q_PROPERTY(int CollectionNumber READ CollectionNumber WRITE SetCollectionNumber)
public:
    explicit frmRptWeeklyReport(QWidget* parent = nullptr);

    int CollectionNumber() const { return m_number; }
    void SetCollectionNumber(int n) { m_number = n; }

    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel* lblCollection;
    QComboBox* cboCollections;
    QCheckBox* chkShowNames;

protected:
    void Build_Controls() override;
    void Fill_Lists() override;
    std::unique_ptr<Report> Make_Report() override;

private:
    void Collection_Chosen(int index);
    void Show_Names_Clicked();

    int m_number = 0;
};

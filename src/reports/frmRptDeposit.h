#pragma once

#include "frmReportWindow.h"

class QComboBox;
class QLabel;

// The deposit slip of one collection set's count, chosen in the list or
// handed over by the offering window's Print.
class frmRptDeposit : public frmReportWindow {
    Q_OBJECT
    Q_PROPERTY(int CollectionNumber READ CollectionNumber WRITE SetCollectionNumber)
public:
    explicit frmRptDeposit(QWidget* parent = nullptr);

    int CollectionNumber() const { return m_number; }
    void SetCollectionNumber(int n) { m_number = n; }

    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel* lblCollection;
    QComboBox* cboCollections;

protected:
    void Build_Controls() override;
    void Fill_Lists() override;
    std::unique_ptr<Report> Make_Report() override;

private:
    void Collection_Chosen(int index);

    int m_number = 0;
};

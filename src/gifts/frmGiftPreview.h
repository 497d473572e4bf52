#pragma once

#include "GiftImport.h"
#include "widgets/frmChild.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QvGrid;

// The gifts of a file as they will be booked, before anything is written:
// each row's contributor and fund, the donors and designations still to be
// decided, the totals per fund and per deposit date with the fees. Import
// writes them all at once.
class frmGiftPreview : public frmChild {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
public:
    explicit frmGiftPreview(QWidget* parent = nullptr);

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& f) { m_fileName = f; }
    void Form_Load() override;
    // A fund added or renamed meanwhile is offered at once.
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;
    const GiftImport::Plan& Plan() const { return m_plan; }

    QvGrid *fgGifts, *fgTotals;
    QListWidget *lstDonors, *lstDesignations;
    QComboBox *cboContributor, *cboFund;
    QLabel* lblQuestions;
    QPushButton *cmdImport, *cmdCancel;

private:
    void Fill_Gifts();
    void Fill_Lists();
    void Fill_Totals();
    void Show_Choices();
    void cmdImport_Click();

    QString m_fileName;
    GiftImport::Plan m_plan;
    QList<int> m_openDonors; // lstDonors row -> donor
    bool m_filling = false;
};

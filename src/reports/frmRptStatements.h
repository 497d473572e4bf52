#pragma once

#include "StatementTables.h"
#include "frmReportWindow.h"

class QComboBox;
class QvDateBox;
class QLabel;
class QPushButton;

// Contribution statements for a date range: for everybody (by zip code or
// by name), the loose offering or one contributor; printed as one document
// or saved as a PDF file per contributor.
class frmRptStatements : public frmReportWindow {
    Q_OBJECT
public:
    explicit frmRptStatements(QWidget* parent = nullptr);

    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;
    // Checks the run, asks for a folder and writes a PDF file per statement.
    // Returns the number of files written.
    int Save_Each();
    // Checks the run and opens the list of who gets an e-mail before
    // sending. Returns false when there was nothing to send.
    bool Email_Statements();

    QLabel *lblWhich, *lblDate, *lblThrough;
    QComboBox* cboWhich;
    QvDateBox *dpBegin, *dpEnd;
    QPushButton *cmdSaveEach, *cmdEmail;

protected:
    void Build_Controls() override;
    void Fill_Lists() override;
    std::unique_ptr<Report> Make_Report() override;

private:
    void Which_Chosen(int index);
    void Date_Changed();

    Statements::Choice m_choice;
    QDate m_builtBegin, m_builtEnd;
};

#pragma once

#include "StatementMail.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// Before statements go by e-mail: who gets an e-mail, who gets paper and
// who has neither, what the pre-run check found, and the password; Send
// sends what the log does not hold yet and offers the paper statements as
// one PDF file.
class frmEmailStatements : public QDialog {
    Q_OBJECT
public:
    frmEmailStatements(const rptStatement& report, const QDate& from, const QDate& to, const QString& checkText,
                       QWidget* parent = nullptr);

    // Sends; returns the number of messages the server accepted.
    int Send();

    QLabel *lblCheck, *lblList, *lblSummary, *lblPassword;
    QTreeWidget* lstWho;
    QLineEdit* txtPassword;
    QCheckBox* chkKeep;
    QPushButton *cmdSend, *cmdCancel;

private:
    void Fill();

    const rptStatement& m_report;
    QDate m_from, m_to;
    StatementMail::Plan m_plan;
    StatementMail::Settings m_settings;
};

#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the church's password at start. Three wrong entries are each
// answered with a message; the fourth closes the window without one.
class frmPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmPassword(QWidget* parent = nullptr);
    bool Password_OK() const { return m_ok; }
    bool Cancelled() const { return m_cancelled; }

    QLabel* Image2;
    QLabel* lblQV;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void cmdOK_Click();
    bool m_ok = false;
    bool m_cancelled = true;
    short m_attempts = 0;
};

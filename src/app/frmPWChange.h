#pragma once

#include "widgets/frmChild.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Sets, changes or removes the church's password.
class frmPWChange : public frmChild {
    Q_OBJECT
public:
    explicit frmPWChange(QWidget* parent = nullptr);

    QLabel *lblCurPW, *lblNewPW, *lblNewPWConfirm;
    QLineEdit *txtCurPW, *txtNewPW, *txtNewPW2;
    QPushButton *cmdOK, *cmdCancel;

private:
    void cmdOK_Click();
};

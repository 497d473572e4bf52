#pragma once

#include "widgets/frmChild.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The church's name, address and telephone, shown in the main window's
// caption and on every report.
class frmChurch : public frmChild {
    Q_OBJECT
public:
    explicit frmChurch(QWidget* parent = nullptr);

    void Form_Load() override;

    QLabel *lblName, *lblAddress, *lblCityStateZip, *lblPhone;
    QLineEdit *txtName, *txtAddress1, *txtAddress2, *txtCity, *txtState, *txtZip, *txtPhone;
    // The bank and account the deposit slip names.
    QLineEdit* txtBank;
    QPushButton *cmdOK, *cmdCancel;

private:
    bool Save_Changes() override;
    void cmdOK_Click();
};

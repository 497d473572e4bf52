#include "frmPWChange.h"

#include "core/Messages.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "storage/modPassword.h"

#include <QVBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

frmPWChange::frmPWChange(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmPWChange", QStringLiteral("Change Password"));
    auto box = [this](const char* name) {
        QLineEdit* e = Box(this, name, 40);
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    lblCurPW = Label(this, "lblCurPW", QStringLiteral("Current Password"));
    txtCurPW = box("txtCurPW");
    lblNewPW = Label(this, "lblNewPW", QStringLiteral("New Password"));
    txtNewPW = box("txtNewPW");
    lblNewPWConfirm = Label(this, "lblNewPWConfirm", QStringLiteral("Confirm New Password"));
    txtNewPW2 = box("txtNewPW2");
    lblCurPW->setBuddy(txtCurPW);
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdOK->setDefault(true);
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto* form = Form();
    form->addRow(lblCurPW, txtCurPW);
    form->addRow(lblNewPW, txtNewPW);
    form->addRow(lblNewPWConfirm, txtNewPW2);
    Form_Page(this, form, {cmdOK, cmdCancel});
    Open_At(this, 5000, 2520);
    setTabOrder(txtCurPW, txtNewPW);
    setTabOrder(txtNewPW, txtNewPW2);
    setTabOrder(txtNewPW2, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &frmPWChange::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    SelectAllOnFocus(this);
}

void frmPWChange::cmdOK_Click()
{
    using modPassword::Normalise;
    if (Normalise(txtNewPW->text()) != Normalise(txtNewPW2->text())) {
        Messages::Show(QStringLiteral("The new password you typed does not match\r\nthe confirmed one. Please re-type "
                                      "your new\r\npassword in both places."));
        txtNewPW->clear();
        txtNewPW2->clear();
        txtNewPW->setFocus();
        return;
    }
    if (!modPassword::Password_Matches(txtCurPW->text())) {
        Messages::Show(QStringLiteral("Your current password is incorrect."));
        txtCurPW->clear();
        txtCurPW->setFocus();
        return;
    }
    const bool removing = txtNewPW->text().trimmed().isEmpty();
    if (removing
        && Messages::Show(QStringLiteral("Are you sure you want to remove the password?"), {}, Messages::Icon::Question,
                          Messages::Buttons::YesNo)
            != Messages::Answer::Yes)
        return;
    modPassword::Store_Password(txtNewPW->text());
    Messages::Show(removing ? QStringLiteral("Your password was successfully removed.")
                            : QStringLiteral("Your password was successfully changed."));
    close();
}

#include "frmPWChange.h"

#include "Messages.h"
#include "WindowServices.h"
#include "modPassword.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;

frmPWChange::frmPWChange(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmPWChange"));
    setWindowTitle(QStringLiteral("Change Password"));
    resize(TwipsSize(5000, 2520));
    auto label = [this](QLabel*& l, const char* name, const char* text, int top) {
        l = new QLabel(QString::fromLatin1(text), this);
        l->setObjectName(QString::fromLatin1(name));
        Place(l, 240, top + 30, 2300, 300);
    };
    auto box = [this](QLineEdit*& e, const char* name, int top) {
        e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(40);
        Place(e, 2640, top, 2100, 330);
    };
    label(lblCurPW, "lblCurPW", "Current Password", 240);
    box(txtCurPW, "txtCurPW", 240);
    label(lblNewPW, "lblNewPW", "New Password", 720);
    box(txtNewPW, "txtNewPW", 720);
    label(lblNewPWConfirm, "lblNewPWConfirm", "Confirm New Password", 1200);
    box(txtNewPW2, "txtNewPW2", 1200);
    lblCurPW->setBuddy(txtCurPW);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Place(cmdOK, 2100, 1860, 1200, 390);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 3540, 1860, 1200, 390);
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

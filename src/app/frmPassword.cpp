#include "frmPassword.h"

#include "core/Messages.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "storage/modPassword.h"

#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

using namespace WindowServices;
using namespace Layouts;

frmPassword::frmPassword(QWidget* parent) : QDialog(parent)
{
    Set_Up(this, "frmPassword", QStringLiteral("Quorvane"));
    Image2 = Label(this, "Image2", QString());
    Image2->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    Image2->setAlignment(Qt::AlignTop);
    lblQV = Label(this, "lblQV", QStringLiteral("Welcome to Quorvane"));
    Heading(lblQV, 1.4);
    lblPassword = Label(this, "lblPassword", QStringLiteral("Please enter your password"));
    txtPassword = Box(this, "txtPassword", 40);
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdOK->setDefault(true); // Enter in the password box acts as OK
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto* text = Column({lblQV, lblPassword, txtPassword});
    text->addStretch(1);
    text->addLayout(ButtonRow({cmdOK, cmdCancel}));
    auto* page = new QHBoxLayout(this);
    page->addWidget(Image2);
    page->addLayout(text, 1);
    Fix_At(this, 5190, 2400);
    connect(cmdOK, &QPushButton::clicked, this, &frmPassword::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    SelectAllOnFocus(this);
    CentreInMainWindow(this);
}

void frmPassword::cmdOK_Click()
{
    m_cancelled = false;
    ++m_attempts;
    m_ok = modPassword::Password_Matches(txtPassword->text());
    if (m_ok || m_attempts >= 4) {
        accept();
        return;
    }
    Messages::Show(QStringLiteral("Incorrect Password"));
    txtPassword->clear();
    txtPassword->setFocus();
}

#include "frmPassword.h"

#include "Messages.h"
#include "WindowServices.h"
#include "modPassword.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

using namespace WindowServices;

frmPassword::frmPassword(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setFixedSize(TwipsSize(5190, 2400));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    Place(Image2, 240, 240, 840, 840);
    lblQV = new QLabel(QStringLiteral("Welcome to Quorvane"), this);
    lblQV->setObjectName(QStringLiteral("lblQV"));
    QFont big = lblQV->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblQV->setFont(big);
    Place(lblQV, 1260, 240, 3700, 420);
    lblPassword = new QLabel(QStringLiteral("Please enter your password"), this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    Place(lblPassword, 1260, 780, 3700, 300);
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setMaxLength(40);
    Place(txtPassword, 1260, 1110, 3650, 330);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true); // Enter in the password box acts as OK
    Place(cmdOK, 1260, 1710, 1200, 390);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 3710, 1710, 1200, 390);
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

#include "frmChurch.h"

#include "Preferences.h"
#include "shell/WindowServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;

namespace {
QLineEdit* Box(QWidget* parent, const char* name, int maxLength, int left, int top, int width)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    Place(box, left, top, width, 345);
    return box;
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    Place(label, 120, top, 1700, 300);
    return label;
}
} // namespace

frmChurch::frmChurch(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmChurch"));
    setWindowTitle(QStringLiteral("Church Name and Address"));
    resize(TwipsSize(5415, 2715));

    lblName = Caption(this, "lblName", QStringLiteral("Name of Church"), 165);
    txtName = Box(this, "txtName", 40, 1860, 120, 3435);
    lblAddress = Caption(this, "lblAddress", QStringLiteral("Address"), 585);
    txtAddress1 = Box(this, "txtAddress1", 40, 1860, 540, 3435);
    txtAddress2 = Box(this, "txtAddress2", 40, 1860, 945, 3435);
    lblCityStateZip = Caption(this, "lblCityStateZip", QStringLiteral("City, State, Zip Code"), 1410);
    txtCity = Box(this, "txtCity", 30, 1860, 1365, 1800);
    txtState = Box(this, "txtState", 2, 3720, 1365, 480);
    txtZip = Box(this, "txtZip", 10, 4260, 1365, 1035);
    lblPhone = Caption(this, "lblPhone", QStringLiteral("Telephone"), 1830);
    txtPhone = Box(this, "txtPhone", 40, 1860, 1785, 1800);
    lblName->setBuddy(txtName);
    lblAddress->setBuddy(txtAddress1);
    lblCityStateZip->setBuddy(txtCity);
    lblPhone->setBuddy(txtPhone);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Place(cmdOK, 2940, 2250, 1095, 375);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 4200, 2250, 1095, 375);

    connect(cmdOK, &QPushButton::clicked, this, &frmChurch::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChild::Close_Unasked);
    SelectAllOnFocus(this);
}

void frmChurch::Form_Load()
{
    Ask_To_Save();
    const Preferences::Identity church = Preferences::Load_Identity();
    txtName->setText(church.name);
    txtAddress1->setText(church.address1);
    txtAddress2->setText(church.address2);
    txtCity->setText(church.city);
    txtState->setText(church.state);
    txtZip->setText(church.zipCode);
    txtPhone->setText(church.phone);
    txtName->setFocus();
}

bool frmChurch::Save_Changes()
{
    Preferences::Save_Identity({txtName->text(), txtAddress1->text(), txtAddress2->text(), txtCity->text(),
                                txtState->text(), txtZip->text(), txtPhone->text()});
    return true;
}

void frmChurch::cmdOK_Click()
{
    if (Save_Changes())
        Close_Unasked();
}

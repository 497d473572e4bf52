#include "frmChurch.h"

#include "Preferences.h"
#include "offering/PlateCount.h"
#include "core/Messages.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"

#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

frmChurch::frmChurch(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmChurch", QStringLiteral("Church Name and Address"));
    lblName = Label(this, "lblName", QStringLiteral("Name of Church"));
    txtName = Box(this, "txtName", 40);
    lblAddress = Label(this, "lblAddress", QStringLiteral("Address"));
    txtAddress1 = Box(this, "txtAddress1", 40);
    txtAddress2 = Box(this, "txtAddress2", 40);
    lblCityStateZip = Label(this, "lblCityStateZip", QStringLiteral("City, State, Zip Code"));
    txtCity = Box(this, "txtCity", 30);
    txtState = Box(this, "txtState", 2);
    txtZip = Box(this, "txtZip", 10);
    lblPhone = Label(this, "lblPhone", QStringLiteral("Telephone"));
    txtPhone = Box(this, "txtPhone", 40);
    auto* lblBank = Label(this, "lblBank", QStringLiteral("Bank Account"));
    txtBank = Box(this, "txtBank", 80);
    lblBank->setBuddy(txtBank);
    lblName->setBuddy(txtName);
    lblAddress->setBuddy(txtAddress1);
    lblCityStateZip->setBuddy(txtCity);
    lblPhone->setBuddy(txtPhone);
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* form = Form();
    form->addRow(lblName, txtName);
    form->addRow(lblAddress, txtAddress1);
    form->addRow(nullptr, txtAddress2);
    form->addRow(lblCityStateZip, City_State_Zip(txtCity, txtState, txtZip));
    form->addRow(lblPhone, txtPhone);
    form->addRow(lblBank, txtBank);
    Form_Page(this, form, {cmdOK, cmdCancel});
    Open_At(this, 5415, 2715);

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
    txtBank->setText(PlateCount::Bank_Line());
    txtName->setFocus();
}

bool frmChurch::Save_Changes()
{
    try {
        Connection::Transaction tx(modGlobal::DB());
        Preferences::Save_Identity({txtName->text(), txtAddress1->text(), txtAddress2->text(), txtCity->text(),
                                    txtState->text(), txtZip->text(), txtPhone->text()});
        PlateCount::Save_Bank_Line(txtBank->text());
        tx.Commit();
    } catch (const DbError& e) {
        Messages::Show_Error(e.Message());
        return false;
    }
    return true;
}

void frmChurch::cmdOK_Click()
{
    if (Save_Changes())
        Close_Unasked();
}

#include "frmFundInfo.h"

#include "FundQueries.h"
#include "shell/Helpers.h"
#include "shell/Messages.h"
#include "shell/WindowServices.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;

frmFundInfo::frmFundInfo(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmFundInfo"));
    setWindowTitle(QStringLiteral("Edit Fund"));
    resize(TwipsSize(4335, 2115));

    lblName = new QLabel(QStringLiteral("Name of Fund"), this);
    lblName->setObjectName(QStringLiteral("lblName"));
    Place(lblName, 120, 135, 1260, 300);
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMaxLength(30);
    Place(txtName, 1380, 90, 2835, 345);
    lblName->setBuddy(txtName);

    chkPledgeable = new QCheckBox(QStringLiteral("Contributors may &Pledge to this Fund"), this);
    chkPledgeable->setObjectName(QStringLiteral("chkPledgeable"));
    Place(chkPledgeable, 120, 570, 4095, 300);
    chkTaxDeductible = new QCheckBox(QStringLiteral("&Tax-Deductible for Contributors"), this);
    chkTaxDeductible->setObjectName(QStringLiteral("chkTaxDeductible"));
    Place(chkTaxDeductible, 120, 900, 4095, 300);
    chkInactive = new QCheckBox(QStringLiteral("&Inactive"), this);
    chkInactive->setObjectName(QStringLiteral("chkInactive"));
    Place(chkInactive, 120, 1230, 4095, 300);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Place(cmdOK, 1860, 1620, 1095, 375);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 3120, 1620, 1095, 375);

    connect(cmdOK, &QPushButton::clicked, this, &frmFundInfo::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChild::Close_Unasked);
    SelectAllOnFocus(this);
}

void frmFundInfo::Form_Load()
{
    Ask_To_Save();
    m_fund.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_id));
    txtName->setText(m_fund.FundName());
    chkPledgeable->setChecked(m_fund.IsPledgeable());
    chkTaxDeductible->setChecked(m_fund.IsTaxDeductible());
    chkInactive->setChecked(m_fund.IsInactive());
    chkPledgeable->setEnabled(m_allowPledgeable);
    chkInactive->setEnabled(m_allowInactive);
    chkTaxDeductible->setEnabled(m_allowTaxDeductible);
    txtName->setFocus();
}

bool frmFundInfo::Save_Changes()
{
    // A stored name is read back without surrounding blanks, so leading
    // blanks would only hide a duplicate.
    const QString name = modGlobal::TrimBlanks(txtName->text());
    if (name.isEmpty()) {
        Messages::Show(QStringLiteral("Please enter a Fund Name"), QStringLiteral("Funds"), Messages::Icon::Information);
        return false;
    }
    // Two funds of one name could not be told apart in any fund list, so a
    // rename onto another fund's name is refused as an addition is.
    if (m_id >= 1 && FundQueries::Name_Used_by_Other(name, m_id)) {
        Messages::Show(QStringLiteral("A fund named ") + name + QStringLiteral(" has already been created."),
                       QStringLiteral("Duplicate Fund"), Messages::Icon::Information);
        return false;
    }
    m_fund.FundName(name);
    m_fund.IsPledgeable(chkPledgeable->isChecked());
    m_fund.IsTaxDeductible(chkTaxDeductible->isChecked());
    m_fund.IsInactive(chkInactive->isChecked());
    if (m_id >= 1) {
        m_fund.Update_Record_to_DB();
    } else {
        if (!m_fund.OK_to_Add(true))
            return false;
        m_fund.Add_Record_to_DB();
    }
    return true;
}

void frmFundInfo::cmdOK_Click()
{
    if (Save_Changes())
        Close_Unasked();
}

#include "frmFundInfo.h"

#include "FundQueries.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"

#include <QVBoxLayout>
#include <QFormLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

frmFundInfo::frmFundInfo(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmFundInfo", QStringLiteral("Edit Fund"));
    txtName = Box(this, "txtName", 30);
    lblName = Label(this, "lblName", QStringLiteral("Name of Fund"), txtName);
    chkPledgeable = Check(this, "chkPledgeable", QStringLiteral("Contributors may &Pledge to this Fund"));
    chkTaxDeductible = Check(this, "chkTaxDeductible", QStringLiteral("&Tax-Deductible for Contributors"));
    chkInactive = Check(this, "chkInactive", QStringLiteral("&Inactive"));
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* form = Form();
    form->addRow(lblName, txtName);
    auto* page = Page(this);
    page->addLayout(form);
    page->addLayout(Column({chkPledgeable, chkTaxDeductible, chkInactive}));
    page->addStretch(1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 4335, 2115);

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

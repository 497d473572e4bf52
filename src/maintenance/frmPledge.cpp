#include "frmPledge.h"

#include "widgets/AmountBox.h"

#include "ContributorMaintenance.h"
#include "EnvelopeCheck.h"
#include "core/Helpers.h"
#include "widgets/Layouts.h"
#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "core/modGlobal.h"
#include "storage/clsPledges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QVBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;
using namespace modGlobal;
namespace CM = ContributorMaintenance;

namespace {
constexpr int kNotesSize = 250;
}

frmPledge::frmPledge(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmPledge", QStringLiteral("Edit Pledge"));
    cboFund = Combo(this, "cboFund");
    lblFund = Label(this, "lblFund", QStringLiteral("F&und"), cboFund);
    txtAccountNumber = Box(this, "txtAccountNumber", 0, Qt::AlignRight);
    lblAccountNumber = Label(this, "lblAccountNumber", QStringLiteral("&Envelope Number"), txtAccountNumber);
    txtAmount = Box(this, "txtAmount", 0, Qt::AlignRight);
    lblAmount = Label(this, "lblAmount", QStringLiteral("Total &Amount Pledged"), txtAmount);
    chkInactive = Check(this, "chkInactive", QStringLiteral("This Pledge is &Inactive"));
    fraNotes = Group(this, "fraNotes", QStringLiteral("&Notes"));
    txtNotes = new QPlainTextEdit(fraNotes);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    (new QVBoxLayout(fraNotes))->addWidget(txtNotes);
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    FitAmount(txtAmount);
    FitText(txtAccountNumber, QStringLiteral("9999999"));
    auto* form = Form();
    form->addRow(lblAccountNumber, txtAccountNumber);
    form->addRow(lblAmount, txtAmount);
    auto* page = Page(this);
    page->addWidget(lblFund);
    page->addWidget(cboFund);
    page->addLayout(form);
    page->addWidget(chkInactive);
    page->addWidget(fraNotes, 1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 3840 + 360, 4245);
    setTabOrder(cboFund, txtAccountNumber);
    setTabOrder(txtAccountNumber, txtAmount);
    setTabOrder(txtAmount, chkInactive);
    setTabOrder(chkInactive, txtNotes);
    setTabOrder(txtNotes, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    txtAccountNumber->installEventFilter(this);
    txtAmount->installEventFilter(this);
    LimitLength(txtNotes, kNotesSize); // the size of the Notes column
    connect(cboFund, &QComboBox::activated, this, &frmPledge::Fund_Chosen);
    connect(cmdOK, &QPushButton::clicked, this, &frmPledge::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChild::Close_Unasked);
    SelectAllOnFocus(this);
}

void frmPledge::Form_Load()
{
    Ask_To_Save();
    cboFund->clear();
    for (const FundItem& item : CM::Pledge_Fund_Items(m_contributorID))
        cboFund->addItem(item.text, item.fundID);
    cboFund->setCurrentIndex(-1);
    clsPledges p;
    p.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_pledgeID));
    if (p.ID() <= 0) {
        txtAmount->setText(AmountText(QStringLiteral("0")));
        txtAccountNumber->setText(QStringLiteral("0"));
        txtNotes->clear();
        chkInactive->setChecked(false);
        cboFund->setFocus();
        return;
    }
    // The fund of an existing pledge cannot change.
    cboFund->setEnabled(false);
    const QString name = CM::Pledge_Fund_Name(p.FundID());
    if (p.FundID() < 0 || !name.isEmpty())
        cboFund->addItem(name, p.FundID());
    cboFund->setCurrentIndex(cboFund->findData(p.FundID()));
    txtAmount->setText(FormatAmount(p.Amount()));
    txtAccountNumber->setText(QString::number(p.AccountNumber()));
    m_loadedNumber = p.AccountNumber();
    txtNotes->setPlainText(p.Notes());
    chkInactive->setChecked(p.IsInactive());
    txtAmount->setFocus();
}

void frmPledge::Fund_Chosen()
{
    if (m_pledgeID >= 1 || cboFund->currentIndex() < 0)
        return;
    txtAccountNumber->setText(
        WholeNumberText(QString::number(CM::Next_Account_Number(cboFund->currentData().toInt(), m_useEnvelopes))));
}

bool frmPledge::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == txtAccountNumber)
            txtAccountNumber->setText(WholeNumberText(txtAccountNumber->text()));
        else if (watched == txtAmount)
            AmountBox::Leave(txtAmount);
    }
    return frmChild::eventFilter(watched, event);
}

bool frmPledge::Save_Changes()
{
    if (cboFund->currentIndex() < 0) {
        Messages::Show(QStringLiteral("Please select a fund for this Pledge."), QStringLiteral("Edit Pledge"),
                       Messages::Icon::Information);
        return false;
    }
    // Read as the boxes will show them once left, so OK always stores numbers.
    const int number = WholeNumberText(txtAccountNumber->text()).toInt();
    const int fund = cboFund->currentData().toInt();
    if (m_pledgeID < 1 || number != m_loadedNumber) {
        const QString other = EnvelopeCheck::Used_By(fund, number, m_contributorID);
        if (!other.isEmpty()
            && Messages::Ask_Default_No(EnvelopeCheck::Question(number, other), QStringLiteral("Edit Pledge"),
                                        Messages::Icon::Exclamation)
                   != Messages::Answer::Yes) {
            txtAccountNumber->setText(QString::number(number));
            txtAccountNumber->setFocus(Qt::OtherFocusReason);
            txtAccountNumber->selectAll();
            return false;
        }
    }
    clsPledges p;
    p.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_pledgeID));
    p.AccountNumber(number);
    p.Amount(AmountValue(AmountText(txtAmount->text())));
    p.ContributorID(m_contributorID);
    p.FundID(fund);
    p.Notes(RTrimBlanks(txtNotes->toPlainText()));
    p.IsInactive(chkInactive->isChecked());
    p.Save_to_DB();
    return true;
}

void frmPledge::cmdOK_Click()
{
    if (Save_Changes())
        Close_Unasked();
}

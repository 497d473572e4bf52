#include "frmPledge.h"

#include "shell/AmountBox.h"

#include "ContributorMaintenance.h"
#include "EnvelopeCheck.h"
#include "shell/Helpers.h"
#include "shell/Messages.h"
#include "shell/WindowServices.h"
#include "shell/modGlobal.h"
#include "storage/clsPledges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace modGlobal;
namespace CM = ContributorMaintenance;

namespace {
constexpr int kNotesSize = 250;
}

frmPledge::frmPledge(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmPledge"));
    setWindowTitle(QStringLiteral("Edit Pledge"));
    resize(TwipsSize(3840 + 360, 4245));
    lblFund = new QLabel(QStringLiteral("F&und"), this);
    Place(lblFund, 120, 150, 1200, 300);
    cboFund = new QComboBox(this);
    cboFund->setObjectName(QStringLiteral("cboFund"));
    Place(cboFund, 120, 420, 3960, 345);
    lblFund->setBuddy(cboFund);
    lblAccountNumber = new QLabel(QStringLiteral("&Envelope Number"), this);
    lblAccountNumber->setObjectName(QStringLiteral("lblAccountNumber"));
    Place(lblAccountNumber, 120, 930, 2400, 300);
    txtAccountNumber = new QLineEdit(this);
    txtAccountNumber->setObjectName(QStringLiteral("txtAccountNumber"));
    txtAccountNumber->setAlignment(Qt::AlignRight);
    Place(txtAccountNumber, 2520, 900, 1560, 330);
    lblAccountNumber->setBuddy(txtAccountNumber);
    lblAmount = new QLabel(QStringLiteral("Total &Amount Pledged"), this);
    lblAmount->setObjectName(QStringLiteral("lblAmount"));
    Place(lblAmount, 120, 1350, 2400, 300);
    txtAmount = new QLineEdit(this);
    txtAmount->setObjectName(QStringLiteral("txtAmount"));
    txtAmount->setAlignment(Qt::AlignRight);
    Place(txtAmount, 2520, 1320, 1560, 330);
    lblAmount->setBuddy(txtAmount);
    chkInactive = new QCheckBox(QStringLiteral("This Pledge is &Inactive"), this);
    chkInactive->setObjectName(QStringLiteral("chkInactive"));
    Place(chkInactive, 120, 1740, 3000, 300);
    fraNotes = new QGroupBox(QStringLiteral("&Notes"), this);
    fraNotes->setObjectName(QStringLiteral("fraNotes"));
    Place(fraNotes, 120, 2100, 3960, 1440);
    txtNotes = new QPlainTextEdit(fraNotes);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    Place(txtNotes, 120, 300, 3720, 1020);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Place(cmdOK, 1560, 3660, 1200, 390);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 2880, 3660, 1200, 390);
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

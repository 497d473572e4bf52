#include "frmContInfo.h"

#include "ContributorMaintenance.h"
#include "core/Helpers.h"
#include "widgets/Layouts.h"
#include "core/Messages.h"
#include "widgets/QvGrid.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/DbError.h"
#include "core/Connection.h"
#include "storage/ContributorEmail.h"
#include "storage/clsContributors.h"
#include "storage/clsPledges.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;
using namespace modGlobal;
namespace CM = ContributorMaintenance;

frmContInfo::frmContInfo(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmContInfo", QStringLiteral("Edit Contributor"));
    lblLastName = Label(this, "lblLastName", QStringLiteral("&Last Name"));
    txtLastName = Box(this, "txtLastName", 40);
    lblFirstNames = Label(this, "lblFirstNames", QStringLiteral("&First Names"));
    txtFirstNames = Box(this, "txtFirstNames", 40);
    lblAddress1 = Label(this, "lblAddress1", QStringLiteral("Address Line &1"));
    txtAddress1 = Box(this, "txtAddress1", 40);
    lblAddress2 = Label(this, "lblAddress2", QStringLiteral("Address Line &2"));
    txtAddress2 = Box(this, "txtAddress2", 40);
    lblCityStateZip = Label(this, "lblCityStateZip", QStringLiteral("City, State, &Zip"));
    txtCity = Box(this, "txtCity", 30);
    txtState = Box(this, "txtState", 2);
    txtZip = Box(this, "txtZip", 10);
    lblPhone = Label(this, "lblPhone", QStringLiteral("Telep&hone"));
    txtPhone = Box(this, "txtPhone", 40);
    lblLastName->setBuddy(txtLastName);
    lblFirstNames->setBuddy(txtFirstNames);
    lblAddress1->setBuddy(txtAddress1);
    lblAddress2->setBuddy(txtAddress2);
    lblCityStateZip->setBuddy(txtCity);
    lblPhone->setBuddy(txtPhone);
    chkIsInactive = Check(this, "chkIsInactive", QStringLiteral("Contributor is &Inactive"));
    chkEnv = Check(this, "chkEnv", QStringLiteral("Assign &Envelope Number"));
    txtEmail = Box(this, "txtEmail", 254);
    lblEmail = Label(this, "lblEmail", QStringLiteral("E-&mail"), txtEmail);
    cboDelivery = Combo(this, "cboDelivery");
    cboDelivery->addItems({QStringLiteral("Paper"), QStringLiteral("E-mail"), QStringLiteral("Paper and e-mail")});
    lblDelivery = Label(this, "lblDelivery", QStringLiteral("&Send Statements by"), cboDelivery);

    fraPledges = Group(this, "fraPledges", QStringLiteral("Pledges"));
    fgPledges = Grid(fraPledges, "fgPledges");
    chkShowAll = Check(fraPledges, "chkShowAll", QStringLiteral("Show All &Pledges"));
    cmdAdd = Button(fraPledges, "cmdAdd", QStringLiteral("&Add"));
    cmdEdit = Button(fraPledges, "cmdEdit", QStringLiteral("E&dit"));
    cmdDelete = Button(fraPledges, "cmdDelete", QStringLiteral("Dele&te"));
    // The contributor's statement comes from the report windows; the
    // button is kept for them but has nothing to do here.
    cmdReport = Button(fraPledges, "cmdReport", QStringLiteral("&Report"));
    cmdReport->hide();
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* form = Form();
    form->addRow(lblLastName, txtLastName);
    form->addRow(lblFirstNames, txtFirstNames);
    form->addRow(lblAddress1, txtAddress1);
    form->addRow(lblAddress2, txtAddress2);
    form->addRow(lblCityStateZip, City_State_Zip(txtCity, txtState, txtZip));
    form->addRow(lblPhone, txtPhone);
    form->addRow(lblEmail, txtEmail);
    form->addRow(lblDelivery, cboDelivery);
    form->addRow(nullptr, chkIsInactive);
    form->addRow(nullptr, chkEnv);

    auto* pledges = new QVBoxLayout(fraPledges);
    pledges->addWidget(fgPledges, 1);
    pledges->addLayout(Row({chkShowAll, nullptr, cmdAdd, cmdEdit, cmdDelete}));

    auto* page = Page(this);
    page->addLayout(form);
    page->addWidget(fraPledges, 1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 5175 + 300, 5760 + 300);

    connect(chkShowAll, &QCheckBox::toggled, fgPledges, &QvGrid::SetShowAll);
    connect(cmdAdd, &QPushButton::clicked, this, &frmContInfo::Add_Pledge);
    connect(cmdEdit, &QPushButton::clicked, this, &frmContInfo::Edit_Pledge);
    connect(fgPledges, &QvGrid::RowDoubleClicked, this, [this](int) { Edit_Pledge(); });
    connect(cmdDelete, &QPushButton::clicked, this, &frmContInfo::Delete_Pledge);
    connect(cmdOK, &QPushButton::clicked, this, &frmContInfo::cmdOK_Click);
    connect(txtEmail, &QLineEdit::editingFinished, this, &frmContInfo::Email_Typed);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChild::Close_Unasked);
    SelectAllOnFocus(this);
}

void frmContInfo::Form_Load()
{
    Ask_To_Save();
    clsContributors c;
    c.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_id));
    txtLastName->setText(c.LastName());
    txtFirstNames->setText(c.FirstNames());
    txtAddress1->setText(c.Address1());
    txtAddress2->setText(c.Address2());
    txtCity->setText(c.City());
    txtState->setText(c.State());
    txtZip->setText(c.ZipCode());
    txtPhone->setText(c.Phone());
    chkIsInactive->setChecked(c.IsInactive());
    chkEnv->setChecked(c.UseEnvelopes());
    const ContributorEmail::Entry mail = ContributorEmail::Of(m_id);
    txtEmail->setText(mail.email);
    cboDelivery->setCurrentIndex(int(mail.delivery));

    QvGrid* g = fgPledges;
    g->Clear();
    g->SetCols(5);
    const int widths[5] = {0, 840, 2270, 1110, 0};
    for (int col = 0; col < 5; ++col)
        g->SetColWidthTwips(col, widths[col]);
    g->AddItem(QStringLiteral("Key\tNo.\tFund Name\tPledge\t"));
    g->SetColAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    g->SetColAlignment(2, Qt::AlignLeft | Qt::AlignVCenter);
    g->SetColAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("0\t\t\t\t"));
    g->SetRowHidden(1, true);
    for (const auto& p : CM::Pledge_Rows(m_id))
        Put_Pledge(-1, p.id, p.accountNumber, p.fundName, p.amount, p.inactive);
    g->Sort(2);
    txtLastName->setFocus();
}

void frmContInfo::Put_Pledge(int row, int id, int number, const QString& fund, double amount, bool inactive)
{
    GridRow line{id,
                 {QString::number(id), BlankIfZero(number), fund, FormatAmount(amount),
                  inactive ? QStringLiteral("I") : QString()},
                 {},
                 false,
                 inactive};
    if (row < 0)
        fgPledges->AddRow(std::move(line));
    else
        fgPledges->ReplaceRow(row, std::move(line));
}

void frmContInfo::Open_Pledge(int pledgeID)
{
    Windows::Open_New(QStringLiteral("frmPledge"), {{QStringLiteral("PledgeID"), pledgeID},
                                                    {QStringLiteral("ContributorID"), m_id},
                                                    {QStringLiteral("UseEnvelopes"), chkEnv->isChecked()}});
}

void frmContInfo::Add_Pledge()
{
    if (m_id == 0) {
        // The contributor's key is taken now, so that the pledge can name
        // it; the contributor row itself waits for OK.
        m_pledgesToDiscard = true;
        m_id = clsContributors().Next_ID();
        SetTag(QString::number(m_id));
    }
    Open_Pledge(0);
}

void frmContInfo::Edit_Pledge()
{
    const int r = fgPledges->Row();
    const int key = int(fgPledges->Key(r));
    if (key != 0)
        Open_Pledge(key);
}

void frmContInfo::Delete_Pledge()
{
    const int r = fgPledges->Row();
    if (r < 2)
        return;
    clsPledges p;
    p.Get_One_Record(QStringLiteral("ID = ") + QString::number(fgPledges->Key(r)));
    if (!p.OK_to_Delete(true))
        return;
    if (Messages::Ask_Default_No(CM::Delete_Pledge_Question(fgPledges->TextMatrix(r, 1), fgPledges->TextMatrix(r, 2),
                                                            fgPledges->TextMatrix(r, 3)),
                                 QStringLiteral("Delete Contributor's Pledge"))
        == Messages::Answer::Yes)
        p.Delete_Record_from_DB();
}

bool frmContInfo::Save_Changes()
{
    if (RTrimBlanks(txtLastName->text()).isEmpty()) {
        Messages::Show(QStringLiteral("Please enter a Last Name for this Contributor."), QStringLiteral("Incomplete"),
                       Messages::Icon::Information);
        return false;
    }
    if (m_id < 1) {
        const QStringList similar = CM::Similar_Names(txtLastName->text(), txtFirstNames->text());
        if (!similar.isEmpty()
            && Messages::Ask_Default_No(CM::Similar_Names_Question(similar, txtFirstNames->text(), txtLastName->text()))
                != Messages::Answer::Yes)
            return false;
    }
    if (const QString problem = Email_Problem(); !problem.isEmpty()) {
        Messages::Show(problem, QStringLiteral("Incomplete"), Messages::Icon::Information);
        txtEmail->setFocus();
        return false;
    }
    // The contributor and its e-mail row are written together; a refusal
    // of the file leaves both as they were and the window as typed.
    try {
        ContributorEmail::Make_Ready();
        Connection::Transaction tx(DB());
        clsContributors c;
        const int id = m_id == 0 ? c.Next_ID() : m_id;
        c.ID(id);
        c.LastName(txtLastName->text());
        c.FirstNames(txtFirstNames->text());
        c.Address1(txtAddress1->text());
        c.Address2(txtAddress2->text());
        c.City(txtCity->text());
        c.State(txtState->text());
        c.ZipCode(txtZip->text());
        c.Phone(txtPhone->text());
        c.IsInactive(chkIsInactive->isChecked());
        c.UseEnvelopes(chkEnv->isChecked());
        c.Save_to_DB();
        ContributorEmail::Save(id, {txtEmail->text().trimmed(), ContributorEmail::Delivery(cboDelivery->currentIndex())});
        tx.Commit();
        m_id = id;
    } catch (const DbError& e) {
        Messages::Show(e.Message(), windowTitle(), Messages::Icon::Critical);
        return false;
    }
    m_pledgesToDiscard = false;
    return true;
}

QString frmContInfo::Email_Problem() const
{
    const QString email = txtEmail->text().trimmed();
    if (!email.isEmpty())
        return ContributorEmail::Address_Problem(email);
    if (cboDelivery->currentIndex() != int(ContributorEmail::Delivery::Paper))
        return QStringLiteral("Please enter an e-mail address for the statements sent by e-mail.");
    return {};
}

void frmContInfo::Email_Typed()
{
    const QString email = txtEmail->text().trimmed();
    if (email.isEmpty() || !txtEmail->isModified())
        return;
    txtEmail->setModified(false);
    if (const QString problem = ContributorEmail::Address_Problem(email); !problem.isEmpty())
        Messages::Show(problem, QStringLiteral("E-mail Address"), Messages::Icon::Information);
    else if (cboDelivery->currentIndex() == int(ContributorEmail::Delivery::Paper))
        // A new address most likely means statements by e-mail.
        cboDelivery->setCurrentIndex(int(ContributorEmail::Delivery::Email));
}

void frmContInfo::cmdOK_Click()
{
    if (Save_Changes())
        Close_Unasked();
}

void frmContInfo::closeEvent(QCloseEvent* e)
{
    frmChild::closeEvent(e);
    if (!e->isAccepted())
        return;
    // A new contributor who was never saved leaves no pledges behind. This
    // happens at closing, while the data file is surely still open.
    if (m_pledgesToDiscard) {
        // A pledge dialog still open for this contributor would write a
        // pledge after the discard: it goes first.
        for (frmChild* w : frmChild::OpenWindows())
            if (w->objectName() == QLatin1String("frmPledge") && w->property("ContributorID").toInt() == m_id)
                w->Frame()->close();
        m_pledgesToDiscard = false;
        CM::Discard_Pledges(m_id);
    }
    e->accept();
}

void frmContInfo::Handle_DBChange(int table, bool, bool, bool deleted, int recordID, int contributorID)
{
    if (table != dbPledges || contributorID != m_id || m_id == 0)
        return;
    const int row = fgPledges->FindKey(recordID);
    if (deleted) {
        if (row >= 2)
            fgPledges->RemoveItem(row);
        return;
    }
    CM::PledgeRow p;
    if (!CM::Pledge_Row(recordID, &p))
        return;
    Put_Pledge(row >= 2 ? row : -1, p.id, p.accountNumber, p.fundName, p.amount, p.inactive);
    fgPledges->Sort(2);
}

#include "frmContReceipt.h"

#include "FundLinesView.h"
#include "ReceiptQueries.h"
#include "modOffering.h"
#include "shell/Helpers.h"
#include "shell/Messages.h"
#include "shell/QvGrid.h"
#include "shell/WindowServices.h"
#include "shell/Windows.h"
#include "shell/clsDBEvent.h"
#include "shell/modGlobal.h"
#include "storage/DbError.h"
#include "storage/clsContributors.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace modGlobal;

frmContReceipt::frmContReceipt(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmContReceipt"));
    setWindowTitle(QStringLiteral("Receive Contribution"));
    resize(TwipsSize(7335, 4935 + 300));

    lblContributor = new QLabel(this);
    lblContributor->setObjectName(QStringLiteral("lblContributor"));
    lblContributor->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = lblContributor->font();
    bold.setBold(true);
    lblContributor->setFont(bold);
    Place(lblContributor, 180, 90, 4200, 900);
    lblPhone = new QLabel(this);
    lblPhone->setObjectName(QStringLiteral("lblPhone"));
    Place(lblPhone, 4440, 90, 1500, 300);
    cmdEdit = new QPushButton(QStringLiteral("&Edit"), this);
    cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    Place(cmdEdit, 6000, 60, 1155, 375);
    cmdAdd = new QPushButton(QStringLiteral("Add &Fund"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    Place(cmdAdd, 6000, 480, 1155, 375);

    fgHist = new QvGrid(this);
    fgHist->setObjectName(QStringLiteral("fgHist"));
    Place(fgHist, 180, 1080, 6975, 1335);

    picCont = new QWidget(this);
    picCont->setObjectName(QStringLiteral("picCont"));
    Place(picCont, 180, 2520, 6975, 2700);
    // Amount boxes hold the largest amount the program takes.
    lines = new FundLinesView(picCont, 7, 4, 0, 0, 1900, 1450);
    lblComment = new QLabel(QStringLiteral("Co&mment"), picCont);
    lblComment->setObjectName(QStringLiteral("lblComment"));
    Place(lblComment, 0, 1575, 900, 300);
    txtComment = new QLineEdit(picCont);
    txtComment->setObjectName(QStringLiteral("txtComment"));
    txtComment->setMaxLength(200);
    Place(txtComment, 960, 1530, 6015, 345);
    lblComment->setBuddy(txtComment);
    cmdOK = new QPushButton(QStringLiteral("&OK"), picCont);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Place(cmdOK, 4560, 2040, 1155, 390);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), picCont);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 5820, 2040, 1155, 390);
    setTabOrder(lines->Amount(7), txtComment);
    setTabOrder(txtComment, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    Resize_Rule().SetDesigned(size());
    Resize_Rule().Add(fgHist, ResizeRule::Grow);
    Resize_Rule().Add(picCont, ResizeRule::MoveDown);

    connect(cmdOK, &QPushButton::clicked, this, &frmContReceipt::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChild::Close_Unasked);
    connect(cmdAdd, &QPushButton::clicked, this, [] { Windows::Show_Fund(0); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { Windows::Show_Contributor(m_contributor); });
    SelectAllOnFocus(this);
}

void frmContReceipt::Form_Load()
{
    Ask_To_Save();
    Show_Contributor();
    lines->Show(modOffering::Load_Offering_Lines(m_contributor, m_collection, 7));
    txtComment->setText(ReceiptQueries::Comment(m_contributor, m_collection));
    Load_History();
    lines->Amount(1)->setFocus();
}

void frmContReceipt::Show_Contributor()
{
    clsContributors c;
    c.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_contributor));
    QString text = c.FullName(false) + QStringLiteral("\n") + c.FullAddress(true);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lblContributor->setText(text);
    lblPhone->setText(c.Phone());
}

void frmContReceipt::Load_History()
{
    QvGrid* g = fgHist;
    g->setUpdatesEnabled(false);
    g->Clear();
    g->SetCols(4);
    const int widths[4] = {1200, 1200, 2720, 1500};
    for (int c = 0; c < 4; ++c)
        g->SetColWidthTwips(c, widths[c]);
    g->AddItem(QStringLiteral("Date\tAmount\tFund\tComment"));
    g->SetColAlignment(0, Qt::AlignCenter);
    g->SetColAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    g->SetColAlignment(2, Qt::AlignLeft | Qt::AlignVCenter);
    g->SetColAlignment(3, Qt::AlignLeft | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("0\t0\t\t"));
    g->SetRowHidden(1, true);
    for (const auto& r : ReceiptQueries::History(m_contributor, m_date))
        g->AddItem(ShortDate(r.date) + QLatin1Char('\t') + FormatAmount(r.amount) + QLatin1Char('\t') + r.fund
                   + QLatin1Char('\t') + r.comment);
    g->setUpdatesEnabled(true);
}

bool frmContReceipt::Save_Changes()
{
    const OfferingLines current = lines->Lines();
    const QString problems = modOffering::Validate_Lines(current);
    if (!problems.isEmpty()) {
        Messages::Show(problems, QStringLiteral("Contribution"), Messages::Icon::Information);
        return false;
    }
    try {
        ReceiptQueries::Save_Receipt(current, m_contributor, m_collection, txtComment->text());
    } catch (const DbError& e) {
        // Nothing was stored: the window keeps what was typed, and OK again
        // writes it once.
        Messages::Show_Error(e.Message());
        return false;
    }
    return true;
}

void frmContReceipt::cmdOK_Click()
{
    if (Save_Changes())
        Close_Unasked();
}

void frmContReceipt::Handle_DBChange(int table, bool, bool, bool, int recordID, int)
{
    if (table == dbContributors && recordID == m_contributor) {
        Show_Contributor();
    } else if (table == dbFunds) {
        OfferingLines current = lines->Lines();
        modOffering::Refresh_Fund_Lists(current);
        lines->Show(current);
    }
}

#include "frmContReceipt.h"

#include "FundLinesView.h"
#include "ReceiptQueries.h"
#include "modOffering.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/QvGrid.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/DbError.h"
#include "storage/clsContributors.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;
using namespace modGlobal;

frmContReceipt::frmContReceipt(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmContReceipt", QStringLiteral("Receive Contribution"));
    lblContributor = Label(this, "lblContributor", QString());
    lblContributor->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = lblContributor->font();
    bold.setBold(true);
    lblContributor->setFont(bold);
    lblPhone = Label(this, "lblPhone", QString());
    lblPhone->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdEdit = Button(this, "cmdEdit", QStringLiteral("&Edit"));
    cmdAdd = Button(this, "cmdAdd", QStringLiteral("Add &Fund"));

    fgHist = Grid(this, "fgHist");

    picCont = new QWidget(this);
    picCont->setObjectName(QStringLiteral("picCont"));
    lines = new FundLinesView(picCont, 7, 4);
    txtComment = Box(picCont, "txtComment", 200);
    lblComment = Label(picCont, "lblComment", QStringLiteral("Co&mment"), txtComment);
    cmdOK = Button(picCont, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(picCont, "cmdCancel", QStringLiteral("&Cancel"));
    setTabOrder(lines->Amount(7), txtComment);
    setTabOrder(txtComment, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    auto* heading = new QHBoxLayout;
    heading->addWidget(lblContributor, 3);
    heading->addWidget(lblPhone, 1);
    heading->addLayout(Column({cmdEdit, cmdAdd}));
    auto* comment = new QHBoxLayout;
    comment->addWidget(lblComment);
    comment->addWidget(txtComment, 1);
    auto* entry = new QVBoxLayout(picCont);
    entry->setContentsMargins(0, 0, 0, 0);
    entry->addLayout(lines->Layout());
    entry->addLayout(comment);
    entry->addLayout(ButtonRow({cmdOK, cmdCancel}));
    auto* page = Page(this);
    page->addLayout(heading);
    page->addWidget(fgHist, 1);
    page->addWidget(picCont);
    Open_At(this, 7335, 4935 + 300);

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

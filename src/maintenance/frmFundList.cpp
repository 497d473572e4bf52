#include "frmFundList.h"

#include "FundQueries.h"
#include "core/Messages.h"
#include "widgets/QvGrid.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "storage/clsFunds.h"

#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

using namespace WindowServices;
using namespace Layouts;

namespace {
enum Column { colKey, colName, colPledges, colInactive, colTax, colCount };

GridRow Row_Of(const FundQueries::FundRow& fund)
{
    return {fund.id, FundQueries::List_Cells(fund), {}, false, fund.inactive};
}
} // namespace

frmFundList::frmFundList(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmFundList", QStringLiteral("Funds"));
    fraMainFund = Group(this, "fraMainFund", QStringLiteral("Name of Main Fund"));
    lblMainFund = Label(fraMainFund, "lblMainFund", QString());
    cmdChange = Button(fraMainFund, "cmdChange", QStringLiteral("C&hange"));
    auto* mainFund = new QHBoxLayout(fraMainFund);
    mainFund->addWidget(lblMainFund, 1);
    mainFund->addWidget(cmdChange);

    fraFunds = Group(this, "fraFunds", QStringLiteral("Additional Funds"));
    picFunds = new QWidget(fraFunds);
    picFunds->setObjectName(QStringLiteral("picFunds"));
    fgFunds = Grid(picFunds, "fgFunds");
    auto* funds = new QVBoxLayout(picFunds);
    funds->setContentsMargins(0, 0, 0, 0);
    funds->addWidget(fgFunds);
    (new QVBoxLayout(fraFunds))->addWidget(picFunds);

    chkShowAll = Check(this, "chkShowAll", QStringLiteral("&Show All Funds"));
    cmdReport = Button(this, "cmdReport", QStringLiteral("&Report"));
    cmdAdd = Button(this, "cmdAdd", QStringLiteral("&Add"));
    cmdEdit = Button(this, "cmdEdit", QStringLiteral("&Edit"));
    cmdDelete = Button(this, "cmdDelete", QStringLiteral("&Delete"));
    cmdClose = Button(this, "cmdClose", QStringLiteral("&Close"));

    auto* page = Page(this);
    page->addWidget(fraMainFund);
    page->addWidget(fraFunds, 1);
    page->addWidget(chkShowAll);
    page->addLayout(Row({cmdReport, cmdAdd, cmdEdit, cmdDelete, cmdClose, nullptr}));
    Open_At(this, 5400, 4290);

    connect(cmdChange, &QPushButton::clicked, this, [] { Windows::Show_Fund(1); });
    connect(cmdAdd, &QPushButton::clicked, this, [] { Windows::Show_Fund(0); });
    connect(cmdEdit, &QPushButton::clicked, this, &frmFundList::cmdEdit_Click);
    connect(fgFunds, &QvGrid::RowDoubleClicked, this, [this](int) { cmdEdit_Click(); });
    connect(cmdReport, &QPushButton::clicked, this, &frmFundList::cmdReport_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmFundList::cmdDelete_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(chkShowAll, &QCheckBox::toggled, fgFunds, &QvGrid::SetShowAll);
}

void frmFundList::Form_Load()
{
    // The list is as tall as most of the main window, never shorter than drawn.
    if (QWidget* area = MainArea())
        resize(width(), std::max(height(), area->height() * 8 / 10));
    lblMainFund->setText(modGlobal::MainFundName);
    Load_Grid();
}

void frmFundList::Load_Grid()
{
    QvGrid* g = fgFunds;
    g->setUpdatesEnabled(false);
    g->Clear();
    g->SetCols(colCount);
    const int widths[colCount] = {0, 2390, 1100, 0, 1100};
    for (int c = 0; c < colCount; ++c)
        g->SetColWidthTwips(c, widths[c]);
    g->AddItem(QStringLiteral("Key\tFund Name\tAllow\r\nPledges?\tInactive\tTax\r\nDeductible?"));
    g->SetHeadingLines(2);
    g->SetColAlignment(colKey, Qt::AlignCenter);
    g->SetColAlignment(colName, Qt::AlignLeft | Qt::AlignVCenter);
    g->SetColAlignment(colPledges, Qt::AlignCenter);
    g->SetColAlignment(colInactive, Qt::AlignCenter);
    g->SetColAlignment(colTax, Qt::AlignCenter);
    g->AddItem(QStringLiteral("0\t\t\t\t"));
    g->SetRowHidden(1, true);
    for (const FundQueries::FundRow& fund : FundQueries::Additional_Funds())
        g->AddRow(Row_Of(fund));
    g->Sort(colName);
    g->setUpdatesEnabled(true);
}

int frmFundList::Selected_Fund_Row() const
{
    const int r = fgFunds->Row();
    return r >= 2 && r < fgFunds->Rows() ? r : 0;
}

void frmFundList::cmdEdit_Click()
{
    if (const int r = Selected_Fund_Row())
        Windows::Show_Fund(int(fgFunds->Key(r)));
}

void frmFundList::cmdReport_Click()
{
    if (const int r = Selected_Fund_Row())
        Windows::Open_New(QStringLiteral("frmRptFunds"),
                          {{QStringLiteral("Fund_ID"), int(fgFunds->Key(r))}});
}

void frmFundList::cmdDelete_Click()
{
    const int r = Selected_Fund_Row();
    if (!r)
        return;
    clsFunds fund;
    fund.ID(int(fgFunds->Key(r)));
    if (!fund.OK_to_Delete(true))
        return;
    const QString question = FundQueries::Delete_Question(fgFunds->TextMatrix(r, colName),
                                                          fgFunds->TextMatrix(r, colPledges),
                                                          fgFunds->TextMatrix(r, colTax));
    if (Messages::Ask_Default_No(question, QStringLiteral("Delete Fund's Account"))
        == Messages::Answer::Yes)
        fund.Delete_Record_from_DB();
}

void frmFundList::Handle_DBChange(int table, bool, bool, bool deleted, int recordID, int)
{
    if (table != dbFunds)
        return;
    if (recordID == 1) {
        clsFunds main;
        main.Get_One_Record(QStringLiteral("ID = 1"));
        lblMainFund->setText(main.FundName());
        return;
    }
    const int row = fgFunds->FindKey(recordID);
    const FundQueries::FundRow fund = deleted ? FundQueries::FundRow{} : FundQueries::Fund(recordID);
    if (fund.id == 0) {
        // Deleted, or gone again before this notice arrived: no row for it.
        if (row >= 2)
            fgFunds->RemoveItem(row);
        return;
    }
    if (row < 0)
        fgFunds->AddRow(Row_Of(fund));
    else
        fgFunds->ReplaceRow(row, Row_Of(fund));
    fgFunds->Sort(colName);
}


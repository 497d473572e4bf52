#include "frmPledgeUtil.h"

#include <QScopedValueRollback>

#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/QvGrid.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/clsDBEvent.h"
#include "widgets/frmProgess.h"
#include "core/modGlobal.h"
#include "core/DbError.h"

#include <QVBoxLayout>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;
using namespace modGlobal;
using PledgeGrid::Typing;

namespace {
constexpr int kKeyCol = 0, kNameCol = 1, kAmountCol = 2;
constexpr int kFirstRow = 2; // row 1 is the placeholder
} // namespace

// Loading and saving process pending messages at every row so that the
// program keeps painting. Meanwhile the window takes no clicks and no keys
// and refuses to close: a fund chosen or the window closed half-way through
// a save would mix one fund's amounts into another's or pull the grid away
// from under the save.
class frmPledgeUtil::Busy {
public:
    explicit Busy(frmPledgeUtil* w) : m_w(w), m_outer(!w->m_busy)
    {
        if (!m_outer)
            return;
        m_w->m_busy = true;
        m_focus = QApplication::focusWidget();
        for (QWidget* c : Controls())
            c->setEnabled(false);
    }
    ~Busy()
    {
        if (!m_outer)
            return;
        for (QWidget* c : Controls())
            c->setEnabled(true);
        m_w->m_busy = false;
        if (m_focus && m_w->isAncestorOf(m_focus))
            m_focus->setFocus();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    QList<QWidget*> Controls() const { return {m_w->cboFund, m_w->chkAll, m_w->fgPledges, m_w->cmdOK, m_w->cmdCancel}; }

    frmPledgeUtil* m_w;
    bool m_outer;
    QPointer<QWidget> m_focus;
};

frmPledgeUtil::frmPledgeUtil(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmPledgeUtil", QStringLiteral("Edit Contributors' Pledges"));
    cboFund = Combo(this, "cboFund");
    chkAll = Check(this, "chkAll", QStringLiteral("Show &All"));
    fgPledges = Grid(this, "fgPledges");
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto* page = Page(this);
    page->addLayout(Row({cboFund, chkAll, nullptr}));
    page->addWidget(fgPledges, 1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 5055, 5685);

    fgPledges->SetFixedCols(2);
    // Amounts are typed straight after opening.
    Set_First_Control(fgPledges);
    fgPledges->installEventFilter(this);

    connect(cboFund, &QComboBox::currentIndexChanged, this, [this] { Fund_Changed(); });
    connect(chkAll, &QCheckBox::toggled, this, [this] { Fund_Changed(); });
    connect(fgPledges, &QvGrid::CurrentRowChanged, this, [this](int row, int) { Grid_Row_Changed(row); });
    connect(cmdOK, &QPushButton::clicked, this, &frmPledgeUtil::cmdOK_Click);
    // Closing the frame, not only the window inside it, so that no empty
    // frame stays behind in the main window.
    connect(cmdCancel, &QPushButton::clicked, this, &frmChild::Close_Unasked);
    m_selectedFund = -ProcessingYear;
}

void frmPledgeUtil::Form_Load()
{
    Ask_To_Save();
    m_typing.Reset();
    m_selectedFund = -ProcessingYear;
    Build_Fund_List();
}

void frmPledgeUtil::Build_Fund_List()
{
    const PledgeGrid::FundList list = PledgeGrid::Fund_List(ProcessingYear);
    cboFund->blockSignals(true);
    cboFund->clear();
    for (const PledgeGrid::FundChoice& item : list.items)
        cboFund->addItem(item.text, item.fundID);
    cboFund->setCurrentIndex(list.selected);
    cboFund->blockSignals(false);
    // Choosing the item is what loads the grid.
    Fund_Changed();
}

void frmPledgeUtil::Fund_Changed()
{
    if (m_busy || cboFund->currentIndex() < 0)
        return;
    // The question is asked while the grid still holds the fund it was
    // loaded for, and Yes saves to that fund.
    if (m_typing.Changed()
        && Messages::Show(QStringLiteral("Update the pledges entered?"), QStringLiteral("Update"),
                          Messages::Icon::Question, Messages::Buttons::YesNo)
               == Messages::Answer::Yes)
        Save_Grid();
    m_typing.Reset();
    m_selectedFund = cboFund->currentData().toInt();
    Load_Grid();
}

void frmPledgeUtil::Load_Grid()
{
    Busy busy(this);
    const QList<PledgeGrid::Row> rows = PledgeGrid::Load_Rows(m_selectedFund, chkAll->isChecked());
    QvGrid* g = fgPledges;
    g->Clear();
    g->SetCols(3);
    g->SetColWidthTwips(kKeyCol, 0);
    g->SetColWidthTwips(kNameCol, 2880);
    g->SetColWidthTwips(kAmountCol, 1420);
    g->AddItem(QStringLiteral("Key\tName\tPledge"));
    g->SetHeadingLines(2);
    g->SetColAlignment(kKeyCol, Qt::AlignCenter);
    g->SetColAlignment(kNameCol, Qt::AlignLeft | Qt::AlignVCenter);
    g->SetColAlignment(kAmountCol, Qt::AlignRight | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("0\t\t0"));
    g->SetRowHidden(1, true);
    m_rowOfStale = true;
    m_stored.clear();
    if (!rows.isEmpty()) {
        frmProgess progress;
        progress.Show_Progress(int(rows.size()), QStringLiteral("Loading Contributors and Pledges"));
        for (const PledgeGrid::Row& r : rows) {
            progress.Increment_Progess(1);
            g->AddRow({r.contributorID, {QString::number(r.contributorID), r.name, FormatAmount(r.amount)}, {}});
            m_stored.insert(r.contributorID, r.amount);
        }
    }
    // Start on the first contributor: the placeholder row is never typed in.
    if (g->Rows() > kFirstRow)
        g->SetRow(kFirstRow);
}

void frmPledgeUtil::Save_Grid()
{
    if (!m_typing.Changed())
        return;
    Busy busy(this);
    QvGrid* g = fgPledges;
    // What the grid holds now is what is saved, whatever the change notices
    // of the save do to the grid meanwhile.
    QList<PledgeGrid::TypedRow> rows;
    rows.reserve(g->Rows());
    for (int r = 1; r < g->Rows(); ++r)
        rows.append({Key_Of(r), g->TextMatrix(r, kAmountCol)});
    frmProgess progress;
    progress.setWindowTitle(QStringLiteral("Updating Pledges"));
    progress.lblDescription->setText(QStringLiteral("Updating Pledges..."));
    progress.pbProgress->setMaximum(g->Rows());
    progress.pbProgress->setValue(0);
    progress.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    {
        // Each pledge saved sends its change notice, and reading every amount
        // back would double the work of saving them: the grid already holds
        // what was saved.
        const QScopedValueRollback saving(m_saving, true);
        PledgeGrid::Save_Pledges(m_selectedFund, rows, [&progress] { progress.Increment_Progess(1); });
    }
    for (const PledgeGrid::TypedRow& row : std::as_const(rows))
        if (row.contributorID > 0)
            m_stored.insert(row.contributorID, PledgeGrid::Typed_Amount(row.text));
}

bool frmPledgeUtil::Save_Changes()
{
    try {
        Save_Grid();
    } catch (const DbError& e) {
        // Nothing was written; the typed amounts are still there to try again.
        Messages::Show_Error(e.Message());
        return false;
    }
    return true;
}

bool frmPledgeUtil::Has_Unsaved_Changes() const
{
    // The fund and the list shown are a choice of what to edit; only the
    // amounts typed are changes.
    return !IsClosed() && m_typing.Changed();
}

void frmPledgeUtil::cmdOK_Click()
{
    if (m_busy)
        return;
    Frame()->hide();
    if (!Save_Changes()) {
        Frame()->show();
        return;
    }
    Close_Unasked();
}

void frmPledgeUtil::closeEvent(QCloseEvent* e)
{
    if (m_busy) {
        e->ignore();
        return;
    }
    // The close box and Esc ask about typed amounts; Cancel drops them.
    frmChild::closeEvent(e);
}

bool frmPledgeUtil::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fgPledges && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (Grid_Key(key->key(), key->text(), key->modifiers()))
            return true;
    }
    return frmChild::eventFilter(watched, event);
}

bool frmPledgeUtil::Grid_Key(int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    QChar ch;
    if (key == Qt::Key_Backspace)
        ch = QChar(Typing::Backspace);
    else if (key == Qt::Key_Escape)
        ch = QChar(Typing::Escape);
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        ch = QLatin1Char('\r');
    else if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    else if (!text.isEmpty() && text.at(0).isPrint())
        ch = text.at(0);
    else
        return false; // moving about is the grid's own business
    // Every character is taken here, also those that change nothing, so that
    // letters do not jump to a matching name.
    if (m_busy)
        return true;
    const int row = fgPledges->Row();
    if (row < kFirstRow)
        return true;
    const Typing::Result result = m_typing.Key(Key_Of(row), ch, fgPledges->TextMatrix(row, kAmountCol));
    if (result.setCell)
        fgPledges->SetTextMatrix(row, kAmountCol, result.cell);
    return true;
}

void frmPledgeUtil::Grid_Row_Changed(int row)
{
    const int left = m_typing.Row_Changed(row >= kFirstRow ? Key_Of(row) : 0);
    if (left == 0)
        return;
    const int r = Row_Of(left);
    if (r >= kFirstRow)
        fgPledges->SetTextMatrix(r, kAmountCol, AmountText(fgPledges->TextMatrix(r, kAmountCol)));
}

int frmPledgeUtil::Key_Of(int row) const
{
    return int(fgPledges->Key(row));
}

int frmPledgeUtil::Row_Of(int contributorID)
{
    if (m_rowOfStale) {
        m_rowOf.clear();
        for (int r = kFirstRow; r < fgPledges->Rows(); ++r)
            m_rowOf.insert(Key_Of(r), r);
        m_rowOfStale = false;
    }
    return m_rowOf.value(contributorID, -1);
}

void frmPledgeUtil::Handle_DBChange(int table, bool, bool, bool deleted, int recordID, int contributorID)
{
    QvGrid* g = fgPledges;
    if (table == dbContributors) {
        if (deleted) {
            const int r = Row_Of(recordID);
            if (r >= kFirstRow) {
                m_typing.Forget_Row(recordID);
                g->RemoveItem(r);
                m_stored.remove(recordID);
                m_rowOfStale = true;
            }
            return;
        }
        const PledgeGrid::Contributor c = PledgeGrid::Find_Contributor(recordID);
        if (!c.found)
            return;
        const int r = Row_Of(recordID);
        if (r < 0) {
            // Listed as loading lists: an inactive contributor only with Show All.
            if (c.inactive && !chkAll->isChecked())
                return;
            const double amount = PledgeGrid::Pledge_Amount(recordID, m_selectedFund);
            g->AddRow({recordID, {QString::number(recordID), c.name, FormatAmount(amount)}, {}});
            m_stored.insert(recordID, amount);
        } else {
            // A row already listed stays, with whatever was typed in it.
            g->SetTextMatrix(r, kNameCol, c.name);
        }
        g->Sort(kNameCol);
        m_rowOfStale = true;
    } else if (table == dbPledges && !m_saving) {
        const int r = Row_Of(contributorID);
        if (r < kFirstRow)
            return;
        // Only a change of this fund's pledge replaces the row's amount: a
        // pledge to another fund changed elsewhere leaves what was typed here.
        const double amount = PledgeGrid::Pledge_Amount(contributorID, m_selectedFund);
        const auto known = m_stored.constFind(contributorID);
        if (known != m_stored.constEnd() && known.value() == amount)
            return;
        m_stored.insert(contributorID, amount);
        m_typing.Forget_Row(contributorID);
        g->SetTextMatrix(r, kAmountCol, FormatAmount(amount));
    }
}

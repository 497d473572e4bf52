#include "frmContList.h"

#include "ContributorMaintenance.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/QvGrid.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "storage/ContributorQueries.h"
#include "storage/clsContributors.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QCheckBox>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;
using namespace modGlobal;
namespace CM = ContributorMaintenance;

frmContList::frmContList(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmContList", QStringLiteral("Contributors"));
    fgContributors = Grid(this, "fgContributors");
    chkShowAll = Check(this, "chkShowAll", QStringLiteral("Show &All Contributors"));
    cmdSort = Button(this, "cmdSort", QStringLiteral("Sort by N&umber"));
    cmdAdd = Button(this, "cmdAdd", QStringLiteral("A&dd"));
    cmdEdit = Button(this, "cmdEdit", QStringLiteral("&Edit"));
    cmdDelete = Button(this, "cmdDelete", QStringLiteral("De&lete"));
    cmdClose = Button(this, "cmdClose", QStringLiteral("&Close"));

    auto* page = Page(this);
    page->addWidget(fgContributors, 1);
    page->addLayout(Row({chkShowAll, nullptr, cmdSort}));
    page->addLayout(Row({cmdAdd, cmdEdit, cmdDelete, cmdClose, nullptr}));
    Open_At(this, 5040, 3615);

    connect(chkShowAll, &QCheckBox::toggled, fgContributors, &QvGrid::SetShowAll);
    connect(cmdSort, &QPushButton::clicked, this, &frmContList::Sort_Command);
    connect(cmdAdd, &QPushButton::clicked, this, [] { Windows::Show_Contributor(0); });
    connect(cmdEdit, &QPushButton::clicked, this, &frmContList::Edit_Current);
    connect(fgContributors, &QvGrid::RowDoubleClicked, this, [this](int) { Edit_Current(); });
    connect(cmdDelete, &QPushButton::clicked, this, &frmContList::Delete_Current);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void frmContList::Form_Load()
{
    // As tall as most of the main window allows.
    if (QWidget* area = MainArea())
        resize(width(), std::max(height(), int(area->height() * 0.9) - 40));
    QvGrid* g = fgContributors;
    g->setUpdatesEnabled(false);
    g->Clear();
    g->SetCols(5);
    const int widths[5] = {0, 2880, 1420, 0, 0};
    for (int c = 0; c < 5; ++c)
        g->SetColWidthTwips(c, widths[c]);
    g->AddItem(QStringLiteral("Key\tName\t") + QString::number(ProcessingYear)
               + QStringLiteral("\r\nEnvelope No.\tInactive\tEnv. Sort"));
    g->SetHeadingLines(2);
    g->SetColAlignment(1, Qt::AlignLeft | Qt::AlignVCenter);
    g->SetColAlignment(2, Qt::AlignCenter);
    g->AddItem(QStringLiteral("0\t\t\t\t"));
    g->SetRowHidden(1, true);
    for (const auto& r : ContributorQueries::With_Envelopes(ProcessingYear))
        Put_Row(-1, r.id, r.name, r.envelope, r.inactive);
    m_sortedByName = false;
    Sort_Command();
    g->setUpdatesEnabled(true);
}

int frmContList::Put_Row(int row, int id, const QString& name, int envelope, bool inactive)
{
    GridRow line{id,
                 {QString::number(id), name, BlankIfZero(envelope), inactive ? QStringLiteral("I") : QString(),
                  EnvelopeSortKey(envelope, name)},
                 {},
                 false,
                 inactive};
    if (row < 0)
        return fgContributors->AddRow(std::move(line));
    fgContributors->ReplaceRow(row, std::move(line));
    return row;
}

void frmContList::Sort_Command()
{
    m_sortedByName = !m_sortedByName;
    if (m_sortedByName) {
        fgContributors->Sort(1);
        cmdSort->setText(QStringLiteral("Sort by N&umber"));
    } else {
        fgContributors->Sort(4);
        cmdSort->setText(QStringLiteral("Sort by &Name"));
    }
}

void frmContList::Edit_Current()
{
    const int r = fgContributors->Row();
    const int id = int(fgContributors->Key(r));
    if (id != 0)
        Windows::Show_Contributor(id);
}

void frmContList::Delete_Current()
{
    const int r = fgContributors->Row();
    if (r < 2)
        return;
    clsContributors c;
    c.ID(int(fgContributors->Key(r)));
    if (!c.OK_to_Delete(true))
        return;
    if (Messages::Ask_Default_No(CM::Delete_Contributor_Question(fgContributors->TextMatrix(r, 1), fgContributors->TextMatrix(r, 2)),
                       QStringLiteral("Delete Contributor's Account"))
        != Messages::Answer::Yes)
        return;
    c.Delete_Record_from_DB();
}

void frmContList::Refresh_Envelope(int row, int contributorID)
{
    const int envelope = CM::Envelope_Of(contributorID, ProcessingYear);
    fgContributors->SetTextMatrix(row, 2, BlankIfZero(envelope));
    fgContributors->SetTextMatrix(row, 4, EnvelopeSortKey(envelope, fgContributors->TextMatrix(row, 1)));
}

void frmContList::Handle_DBChange(int table, bool, bool, bool deleted, int recordID, int contributorID)
{
    if (table == dbContributors) {
        const int row = fgContributors->FindKey(recordID);
        if (deleted) {
            if (row >= 2)
                fgContributors->RemoveItem(row);
            return;
        }
        CM::ListRow r;
        if (!CM::List_Row(recordID, ProcessingYear, &r))
            return;
        const int at = Put_Row(row >= 2 ? row : -1, r.id, r.name, r.envelope, r.inactive);
        // Only the changed row moves to its place: sorting twenty thousand
        // rows again after every save would be felt.
        fgContributors->Move_Into_Order(at, m_sortedByName ? 1 : 4);
    } else if (table == dbPledges) {
        const int row = fgContributors->FindKey(contributorID);
        if (row >= 2) {
            Refresh_Envelope(row, contributorID);
            if (!m_sortedByName)
                fgContributors->Move_Into_Order(row, 4);
        }
    }
}


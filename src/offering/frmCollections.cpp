#include "frmCollections.h"

#include "CollectionSets.h"
#include "CountPage.h"
#include "PlateCount.h"
#include "CollectionTotals.h"
#include "FundLinesView.h"
#include "modOffering.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/QvDateBox.h"
#include "widgets/QvGrid.h"
#include "core/TypedInput.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "storage/ContributorQueries.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "core/Recordset.h"
#include "storage/clsCollection.h"

#include <algorithm>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>

using namespace WindowServices;
using namespace Layouts;
using namespace modGlobal;

frmCollections::frmCollections(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmCollections"));
    sstCollections = new QTabWidget(this);
    sstCollections->setObjectName(QStringLiteral("sstCollections"));

    // Tab 0: loose offering, 15 lines in two columns.
    // Pages join the tab control before they get their controls, so that
    // their focus chains are built inside the window.
    auto* loose = new QWidget;
    loose->setObjectName(QStringLiteral("tabLoose"));
    sstCollections->addTab(loose, QStringLiteral("&Loose Offering"));
    lines = new FundLinesView(loose, 15, 8);
    cmdAddFund = Button(loose, "cmdAddFund", QStringLiteral("Add &Fund"));
    auto* loosePage = new QVBoxLayout(loose);
    loosePage->addLayout(lines->Layout());
    loosePage->addStretch(1);
    loosePage->addLayout(ButtonRow({cmdAddFund}));

    // Tab 1: the contributors.
    auto* contrib = new QWidget;
    contrib->setObjectName(QStringLiteral("tabContrib"));
    sstCollections->addTab(contrib, QStringLiteral("C&ontributors' Offering"));
    fgContrib = Grid(contrib, "fgContrib");
    picCont = new QWidget(contrib);
    picCont->setObjectName(QStringLiteral("picCont"));
    fraQuick = Group(picCont, "fraQuick", QStringLiteral("&Quick Find"));
    txtQuick = Box(fraQuick, "txtQuick");
    (new QVBoxLayout(fraQuick))->addWidget(txtQuick);
    cmdSort = Button(picCont, "cmdSort", QStringLiteral("Sort by &Name"));
    cmdAdd = Button(picCont, "cmdAdd", QStringLiteral("&Add"));
    cmdSelect = Button(picCont, "cmdSelect", QStringLiteral("&Select"));
    chkShowAllContrib = Check(picCont, "chkShowAllContrib", QStringLiteral("Show All &Contributors"));
    auto* commands = new QVBoxLayout;
    commands->addLayout(Row({cmdSort, cmdAdd, cmdSelect, nullptr}));
    commands->addWidget(chkShowAllContrib);
    auto* find = new QHBoxLayout(picCont);
    find->setContentsMargins(0, 0, 0, 0);
    find->addWidget(fraQuick, 1);
    find->addLayout(commands);
    lblRunning = new QLabel(contrib);
    lblRunning->setObjectName(QStringLiteral("lblRunning"));
    auto* contribPage = new QVBoxLayout(contrib);
    contribPage->addWidget(fgContrib, 1);
    contribPage->addWidget(lblRunning);
    contribPage->addWidget(picCont);

    // Tab 2: date, notation and totals.
    auto* totals = new QWidget;
    totals->setObjectName(QStringLiteral("tabTotals"));
    sstCollections->addTab(totals, QStringLiteral("&Totals"));
    fraDate = Group(totals, "fraDate", QStringLiteral("Date"));
    dpColDate = new QvDateBox(fraDate);
    dpColDate->setObjectName(QStringLiteral("dpColDate"));
    (new QVBoxLayout(fraDate))->addWidget(dpColDate);
    fraNotation = Group(totals, "fraNotation", QStringLiteral("Notation"));
    txtNotation = Box(fraNotation, "txtNotation", 40);
    (new QVBoxLayout(fraNotation))->addWidget(txtNotation);
    fgTotals = Grid(totals, "fgTotals");
    // The count beside the books, once the plate was counted.
    fraCount = Group(totals, "fraCount", QStringLiteral("Count"));
    auto amount = [this](const char* name) {
        auto* l = new QLabel(fraCount);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    lblCountedCash = amount("lblCountedCash");
    lblCountedChecks = amount("lblCountedChecks");
    lblCountedTotal = amount("lblCountedTotal");
    lblEnteredTotal = amount("lblEnteredTotal");
    lblDifference = amount("lblDifference");
    auto* countForm = Form(fraCount);
    countForm->addRow(QStringLiteral("Counted cash"), lblCountedCash);
    countForm->addRow(QStringLiteral("Counted checks"), lblCountedChecks);
    countForm->addRow(QStringLiteral("Counted total"), lblCountedTotal);
    countForm->addRow(QStringLiteral("Entered total"), lblEnteredTotal);
    countForm->addRow(QStringLiteral("Difference"), lblDifference);
    auto* totalsPage = new QVBoxLayout(totals);
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(fgTotals, 1);
    gridRow->addWidget(fraCount, 0, Qt::AlignTop);
    totalsPage->addLayout(gridRow, 1);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(fraDate);
    dateRow->addWidget(fraNotation, 1);
    totalsPage->addLayout(dateRow);

    // Tab 3: the plate as it was counted.
    count = new CountPage;
    sstCollections->addTab(count, QStringLiteral("Plat&e Count"));

    cmdPrint = Button(this, "cmdPrint", QStringLiteral("&Print"));
    cmdDone = Button(this, "cmdDone", QStringLiteral("&Done"));
    auto* page = Page(this);
    page->addWidget(sstCollections, 1);
    page->addLayout(ButtonRow({cmdPrint, cmdDone}));
    Open_At(this, 6495 + 500, 4560);

    connect(sstCollections, &QTabWidget::currentChanged, this, &frmCollections::Tab_Changed);
    connect(cmdAddFund, &QPushButton::clicked, this, [] { Windows::Show_Fund(0); });
    connect(cmdAdd, &QPushButton::clicked, this, [] { Windows::Show_Contributor(0); });
    connect(cmdSelect, &QPushButton::clicked, this, &frmCollections::Select_Contributor);
    connect(fgContrib, &QvGrid::RowDoubleClicked, this, [this](int) { Select_Contributor(); });
    connect(cmdSort, &QPushButton::clicked, this, [this] {
        m_sortByName = !m_sortByName;
        Apply_Sort();
        txtQuick->setFocus();
    });
    connect(chkShowAllContrib, &QCheckBox::toggled, fgContrib, &QvGrid::SetShowAll);
    connect(txtQuick, &QLineEdit::textChanged, this, &frmCollections::Quick_Find);
    connect(dpColDate, &QvDateBox::dateChanged, this, &frmCollections::Set_Caption);
    connect(cmdDone, &QPushButton::clicked, this, &frmCollections::cmdDone_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmCollections::cmdPrint_Click);
    txtQuick->installEventFilter(this);
    SelectAllOnFocus(this);
}

void frmCollections::Form_Load()
{
    m_sortByName = false;
    Set_Caption(m_date);
    lines->Show(modOffering::Load_Offering_Lines(1, m_number, 15));
    // The contributors' list, the costliest part of the window with
    // thousands of contributors, is read when its tab is first shown: the
    // window opens on the loose offering.
    m_gridBuilt = false;
    m_whoRead = false;
    if (sstCollections->currentIndex() == 1)
        Build_Contributor_Grid();
    Load_Count();
    clsCollection set;
    set.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_number));
    txtNotation->setText(set.Notation());
    const int y = ProcessingYear;
    dpColDate->blockSignals(true);
    dpColDate->setDateRange(QDate(y, 1, 1), QDate(y, 12, 31));
    dpColDate->setDate(m_date);
    dpColDate->blockSignals(false);
    sstCollections->blockSignals(true);
    sstCollections->setCurrentIndex(0);
    sstCollections->blockSignals(false);
    m_previousTab = 0;
    lines->Amount(1)->setFocus();
}

void frmCollections::Set_Caption(const QDate& d)
{
    setWindowTitle(QStringLiteral("Collection ") + QString::number(m_number) + QStringLiteral(" for ") + ShortDate(d));
}

void frmCollections::Build_Contributor_Grid()
{
    m_gridBuilt = true;
    QvGrid* g = fgContrib;
    g->setUpdatesEnabled(false);
    g->Clear();
    g->SetCols(7);
    const int widths[7] = {0, 3970, 1800, 0, 0, 0, 1500};
    for (int c = 0; c < 7; ++c)
        g->SetColWidthTwips(c, widths[c]);
    g->AddItem(QStringLiteral("Key\tName\tEnvelope\r\nNumber\tInactive\tQF\tEnv.Sort\tIn This\r\nSet"));
    g->SetHeadingLines(2);
    g->SetColAlignment(0, Qt::AlignCenter);
    g->SetColAlignment(1, Qt::AlignLeft | Qt::AlignVCenter);
    g->SetColAlignment(2, Qt::AlignCenter);
    g->SetColAlignment(3, Qt::AlignCenter);
    g->SetColAlignment(6, Qt::AlignRight | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("0\t\t0\t\t\t\t"));
    g->SetRowHidden(1, true);
    m_who = ContributorQueries::With_Envelopes(ProcessingYear);
    m_whoRead = true;
    count->Set_Contributors(m_who);
    // Each contributor's gifts in this set go in with the row, not after it.
    const QHash<int, qint64> given = Entered_By_Contributor();
    std::vector<GridRow> rows;
    rows.reserve(size_t(m_who.size()));
    for (const auto& r : std::as_const(m_who)) {
        const auto entered = given.constFind(r.id);
        // The envelope number is there to be found only where there is one.
        rows.push_back({r.id,
                        {QString::number(r.id), r.name, QString::number(r.envelope),
                         r.inactive ? QStringLiteral("I") : QString(), SearchKey(r.name),
                         EnvelopeSortKey(r.envelope, r.name),
                         entered == given.constEnd() ? QString() : PlateCount::Format_Cents(*entered)},
                        {{}, {}, r.envelope > 0 ? QVariant(qint64(r.envelope)) : QVariant()},
                        false,
                        r.inactive});
    }
    g->AddRows(std::move(rows));
    Mark_Entered(given, false);
    Apply_Sort();
    g->setUpdatesEnabled(true);
}

void frmCollections::Apply_Sort()
{
    if (m_sortByName) {
        fgContrib->Sort(1);
        cmdSort->setText(QStringLiteral("Sort by N&umber"));
    } else {
        fgContrib->Sort(5);
        cmdSort->setText(QStringLiteral("Sort by &Name"));
    }
}

QHash<int, qint64> frmCollections::Entered_By_Contributor() const
{
    QHash<int, qint64> given;
    Recordset rs(QStringLiteral("SELECT ContributorID, Sum(CAST(ROUND(Amount * 100) AS INTEGER)) FROM Offering "
                                "WHERE CollectionID = ")
                     + QString::number(m_number) + QStringLiteral(" AND ContributorID <> 1 GROUP BY ContributorID;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        given.insert(FieldLong(rs.Field(0)), rs.Field(1).toLongLong());
    return given;
}

void frmCollections::Mark_Entered(const QHash<int, qint64>& given, bool inGrid)
{
    if (inGrid)
        for (int r = 2; r < fgContrib->Rows(); ++r) {
            const auto it = given.constFind(int(fgContrib->Key(r)));
            fgContrib->SetTextMatrix(r, 6, it == given.constEnd() ? QString() : PlateCount::Format_Cents(*it));
        }
    qint64 contributors = 0;
    for (qint64 cents : given)
        contributors += cents;
    const qint64 all = PlateCount::Entered_Cents(m_number);
    lblRunning->setText(QStringLiteral("Entered in this set: %1 from %2 contributors, %3 with the loose offering")
                            .arg(PlateCount::Format_Cents(contributors))
                            .arg(given.size())
                            .arg(PlateCount::Format_Cents(all)));
    count->Set_Entered(all);
}

void frmCollections::Load_Count()
{
    const PlateCount::Count c = PlateCount::Load(m_number);
    // The names are read now only for checks that name a contributor; the
    // Count tab has the whole list when it is shown.
    const bool named = std::any_of(c.checks.cbegin(), c.checks.cend(),
                                   [](const PlateCount::CheckLine& k) { return k.contributorID > 0; });
    count->Show(c, named ? Who() : QList<ContributorQueries::Row>());
    count->Set_Entered(PlateCount::Entered_Cents(m_number));
}

const QList<ContributorQueries::Row>& frmCollections::Who()
{
    if (!m_whoRead) {
        m_who = ContributorQueries::With_Envelopes(ProcessingYear);
        m_whoRead = true;
    }
    return m_who;
}

void frmCollections::Select_Row(int r)
{
    // The match alone is highlighted: it is the row Select opens.
    fgContrib->Select(r, r);
    // Scroll only when the match is out of sight, so that the list does not
    // jump at every keystroke.
    const int y = fgContrib->rowViewportPosition(r - 1);
    if (r > 1 && (y < 0 || y + fgContrib->rowHeight(r - 1) > fgContrib->viewport()->height()))
        fgContrib->SetTopRow(r);
}

void frmCollections::Quick_Find(const QString& text)
{
    if (!m_gridBuilt)
        Build_Contributor_Grid();
    double value = 0;
    // Numbers rounded half to even, as the number conversion has always done;
    // names compared without accents: "lefe" finds Lefèvre.
    const int found = ParseNumber(text.toUpper(), &value) ? fgContrib->FindValue(2, qint64(std::lrint(value)))
                                                          : fgContrib->FindPrefix(4, SearchKey(text));
    if (found > 0)
        Select_Row(found);
    else
        fgContrib->Select(1, 1);
}

void frmCollections::Select_Contributor()
{
    const int r = fgContrib->RowSel();
    if (r <= 1)
        return;
    txtQuick->setFocus();
    Windows::Open_New(QStringLiteral("frmContReceipt"),
                      {{QStringLiteral("ContributorID"), int(fgContrib->Key(r))},
                       {QStringLiteral("CollectionNumber"), m_number},
                       {QStringLiteral("CollectionDate"), m_date}});
}

bool frmCollections::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtQuick && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (fgContrib->RowSel() <= 1) {
                // Nobody has that number or name: say so, also where the beep
                // is not heard, and leave the text ready to be typed over.
                Messages::Beep();
                const QString typed = txtQuick->text().trimmed();
                double number = 0;
                if (!typed.isEmpty())
                    Messages::Note(ParseNumber(typed, &number)
                                       ? QStringLiteral("No contributor has envelope ") + typed
                                       : QStringLiteral("No contributor's name begins with \"") + typed
                                             + QLatin1Char('"'));
                txtQuick->selectAll();
            } else {
                Select_Contributor();
            }
            return true;
        }
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            const int r = fgContrib->RowSel() + (key->key() == Qt::Key_Up ? -1 : 1);
            if (r > 1 && r < fgContrib->Rows())
                Select_Row(r);
            return true;
        }
    }
    return frmChild::eventFilter(watched, event);
}

void frmCollections::Build_Totals()
{
    Hourglass wait;
    QvGrid* g = fgTotals;
    g->Clear();
    g->SetCols(2);
    g->SetColWidthTwips(0, 3970);
    g->SetColWidthTwips(1, 1800);
    g->AddItem(QStringLiteral("Fund\tAmount\r\nCollected"));
    g->SetHeadingLines(2);
    g->SetColAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    g->SetColAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("\t0"));
    g->SetRowHidden(1, true);
    for (const TotalRow& row : CollectionTotals::Build_Totals(m_number, ProcessingYear)) {
        const int r = g->AddItem(row.label + QLatin1Char('\t') + FormatAmount(row.amount));
        if (row.doubleHeight)
            g->SetRowHeightLines(r, 2);
    }
    const PlateCount::Count c = count->Current();
    fraCount->setVisible(!c.IsEmpty());
    const qint64 entered = PlateCount::Entered_Cents(m_number);
    const qint64 d = PlateCount::Difference(c, entered);
    lblCountedCash->setText(PlateCount::Format_Cents(c.CashCents()));
    lblCountedChecks->setText(PlateCount::Format_Cents(c.CheckCents()));
    lblCountedTotal->setText(PlateCount::Format_Cents(c.TotalCents()));
    lblEnteredTotal->setText(PlateCount::Format_Cents(entered));
    lblDifference->setText(PlateCount::Format_Cents(d));
    lblDifference->setStyleSheet(d != 0 ? QStringLiteral("color: red; font-weight: bold") : QString());
    // Every row in sight, the grand total included: the grid is as tall as
    // its rows (within reason), and the window grows when it must.
    g->setMinimumHeight(std::min(g->Rows_Height(), TwipsToPixels(6000)));
    Grow_To_Fit();
}

bool frmCollections::Lines_Are_Valid(const OfferingLines& current)
{
    const QString problems = modOffering::Validate_Lines(current);
    if (problems.isEmpty())
        return true;
    sstCollections->blockSignals(true);
    sstCollections->setCurrentIndex(0);
    sstCollections->blockSignals(false);
    m_previousTab = 0;
    Messages::Show(problems, QStringLiteral("Collection"), Messages::Icon::Information);
    return false;
}

bool frmCollections::Save_Loose_Offering()
{
    const OfferingLines current = lines->Lines();
    if (!Lines_Are_Valid(current))
        return false;
    try {
        modOffering::Save_Offering_Lines(current, 1, m_number);
    } catch (const DbError& e) {
        Messages::Show_Error(e.Message());
        return false;
    }
    lines->Show(modOffering::Load_Offering_Lines(1, m_number, 15));
    return true;
}

bool frmCollections::Save_All()
{
    const OfferingLines current = lines->Lines();
    if (!Lines_Are_Valid(current))
        return false;
    try {
        Connection::Transaction tx(DB());
        CollectionSets::Save_Set(current, m_number, dpColDate->date(), txtNotation->text());
        if (count->Changed())
            PlateCount::Save(m_number, count->Current());
        tx.Commit();
    } catch (const DbError& e) {
        Messages::Show_Error(e.Message());
        return false;
    }
    lines->Show(modOffering::Load_Offering_Lines(1, m_number, 15));
    count->Mark_Saved();
    return true;
}

void frmCollections::Tab_Changed(int index)
{
    const int previous = m_previousTab;
    m_previousTab = index;
    if (previous == 0 && index != 0 && !Save_Loose_Offering()) {
        // The lines that could not be saved stay in sight.
        sstCollections->blockSignals(true);
        sstCollections->setCurrentIndex(0);
        sstCollections->blockSignals(false);
        m_previousTab = 0;
        return;
    }
    if (index == 1) {
        if (!m_gridBuilt)
            Build_Contributor_Grid();
        else
            Mark_Entered(Entered_By_Contributor(), true);
        txtQuick->setFocus();
    } else if (index == 2) {
        Build_Totals();
    } else if (index == 3) {
        // A check is found by envelope number or name among them all.
        count->Set_Contributors(Who());
        count->Set_Entered(PlateCount::Entered_Cents(m_number));
        count->txtBills[0]->setFocus();
    }
}

void frmCollections::cmdDone_Click()
{
    // Saved first: a window whose save failed stays in sight with what was typed.
    if (!Save_All())
        return;
    PlateCount::Count c = count->Current();
    const qint64 entered = PlateCount::Entered_Cents(m_number);
    if (PlateCount::Must_Ask(c, entered)) {
        const qint64 d = PlateCount::Difference(c, entered);
        const QString text = QStringLiteral("The plate was counted at %1, but %2 was entered: a difference of %3.\r\n\r\n"
                                            "Do you want to keep the collection so?")
                                 .arg(PlateCount::Format_Cents(c.TotalCents()), PlateCount::Format_Cents(entered),
                                      PlateCount::Format_Cents(d));
        if (Messages::Ask_Default_No(text, QStringLiteral("Collection")) != Messages::Answer::Yes) {
            // Back to the set, where the difference is shown.
            sstCollections->setCurrentIndex(2);
            return;
        }
        c.keptDifference = true;
        c.keptCents = d;
        try {
            PlateCount::Save(m_number, c);
        } catch (const DbError& e) {
            Messages::Show_Error(e.Message());
            return;
        }
    }
    m_closing = true;
    close();
}

void frmCollections::cmdPrint_Click()
{
    if (!Save_All())
        return;
    const auto weekly = [this] {
        Windows::Open_New(QStringLiteral("frmRptWeeklyReport"), {{QStringLiteral("CollectionNumber"), m_number}});
    };
    if (count->Current().IsEmpty()) {
        weekly();
        return;
    }
    // With a count there is a deposit slip to print as well.
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuCollectionPrint"));
    menu.addAction(QStringLiteral("&Collections Report"), this, weekly);
    menu.addAction(QStringLiteral("&Deposit Slip"), this, [this] {
        Windows::Open_New(QStringLiteral("frmRptDeposit"), {{QStringLiteral("CollectionNumber"), m_number}});
    });
    menu.exec(cmdPrint->mapToGlobal(QPoint(0, cmdPrint->height())));
}

void frmCollections::closeEvent(QCloseEvent* e)
{
    if (m_closing) {
        e->accept();
        return;
    }
    // Closing by the close box saves as Done does; a line with an amount
    // and no fund, or a write the data file refused, keeps the window open
    // instead of losing what was typed.
    if (!Save_All()) {
        e->ignore();
        return;
    }
    m_closing = true;
    e->accept();
}

void frmCollections::Handle_DBChange(int table, bool added, bool, bool, int recordID, int)
{
    if (table == dbContributors) {
        if (m_gridBuilt)
            Build_Contributor_Grid();
        else
            m_whoRead = false;
        txtQuick->setFocus();
        if (added)
            Windows::Open_New(QStringLiteral("frmContReceipt"), {{QStringLiteral("ContributorID"), recordID},
                                                                 {QStringLiteral("CollectionNumber"), m_number},
                                                                 {QStringLiteral("CollectionDate"), m_date}});
    } else if (table == dbOffering) {
        Mark_Entered(Entered_By_Contributor(), true);
    } else if (table == dbFunds) {
        OfferingLines current = lines->Lines();
        modOffering::Refresh_Fund_Lists(current);
        lines->Show(current);
    }
}

#include "QvGrid.h"

#include "WindowServices.h"

#include <QAbstractTableModel>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Column widths are given in twips for the usual 9-pt font and widen with
// a larger one, so that amounts and names stay whole.
double FontScale(const QWidget* grid)
{
    const double points = QFontInfo(grid->font()).pointSizeF();
    return points > 9.0 ? points / 9.0 : 1.0;
}

int TwipsToPx(int twips, const QWidget* grid)
{
    return int(std::lround(WindowServices::TwipsToPixels(twips) * FontScale(grid)));
}

int PxToTwips(int px, const QWidget* grid)
{
    return WindowServices::PixelsToTwips(int(std::lround(px / FontScale(grid))));
}

} // namespace

// The grid's rows. Model row r is program row r + 1; the heading row lives
// here too but is served as horizontal header data. Each row carries its key,
// values and flags so that sorting moves them along with the row's cells.
class QvGridModel : public QAbstractTableModel {
public:
    using Line = GridRow;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_lines.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_cols; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return m_lines[index.row()].cells[index.column()];
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(m_align[index.column()]);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || section < 0 || section >= m_cols)
            return {};
        if (role == Qt::DisplayRole) {
            // Headings are written with Windows line ends; Qt breaks on "\n".
            QString text = m_heading[section];
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            return text;
        }
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

    void clearAll()
    {
        beginResetModel();
        m_lines.clear();
        m_heading.clear();
        m_align.clear();
        m_cols = 0;
        m_hasHeading = false;
        endResetModel();
    }

    void setCols(int n)
    {
        n = std::max(n, 0);
        if (n == m_cols)
            return;
        const bool growing = n > m_cols;
        if (growing)
            beginInsertColumns({}, m_cols, n - 1);
        else
            beginRemoveColumns({}, n, m_cols - 1);
        m_cols = n;
        m_heading.resize(n);
        m_align.resize(n, Qt::AlignLeft | Qt::AlignVCenter);
        for (auto& line : m_lines)
            line.cells.resize(n);
        if (growing)
            endInsertColumns();
        else
            endRemoveColumns();
    }

    QStringList split(const QString& tabSeparated) const
    {
        QStringList cells(m_cols);
        int col = 0;
        qsizetype start = 0;
        while (col < m_cols) {
            const qsizetype tab = tabSeparated.indexOf(QLatin1Char('\t'), start);
            cells[col++] = tabSeparated.mid(start, tab < 0 ? -1 : tab - start);
            if (tab < 0)
                break;
            start = tab + 1;
        }
        return cells;
    }

    int appendLine(const QString& tabSeparated)
    {
        const int r = int(m_lines.size());
        beginInsertRows({}, r, r);
        m_lines.push_back(Line{0, split(tabSeparated), {}, false, false});
        endInsertRows();
        return r;
    }

    int appendLines(std::vector<Line> rows)
    {
        const int r = int(m_lines.size());
        if (rows.empty())
            return r;
        beginInsertRows({}, r, r + int(rows.size()) - 1);
        // Grown by doubling, also when a window adds its rows one at a time.
        if (const std::size_t needed = m_lines.size() + rows.size(); needed > m_lines.capacity())
            m_lines.reserve(std::max(needed, 2 * m_lines.capacity()));
        for (auto& line : rows) {
            line.cells.resize(m_cols);
            m_lines.push_back(std::move(line));
        }
        endInsertRows();
        return r;
    }

    void replaceLine(int r, Line with)
    {
        with.cells.resize(m_cols);
        m_lines[r] = std::move(with);
        if (m_cols > 0)
            emit dataChanged(index(r, 0), index(r, m_cols - 1), {Qt::DisplayRole});
    }

    void removeLine(int r)
    {
        beginRemoveRows({}, r, r);
        m_lines.erase(m_lines.begin() + r);
        endRemoveRows();
    }

    void setHeading(const QString& tabSeparated)
    {
        m_heading = split(tabSeparated);
        m_hasHeading = true;
        if (m_cols > 0)
            emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
    }

    void setHeadingCell(int col, const QString& text)
    {
        m_heading[col] = text;
        m_hasHeading = true;
        emit headerDataChanged(Qt::Horizontal, col, col);
    }

    void setCell(int r, int col, const QString& text, const QVariant& value)
    {
        Line& line = m_lines[r];
        line.cells[col] = text;
        if (value.isValid() && line.values.size() <= col)
            line.values.resize(col + 1);
        if (col < line.values.size())
            line.values[col] = value;
        const QModelIndex i = index(r, col);
        emit dataChanged(i, i, {Qt::DisplayRole});
    }

    void setAlignment(int col, Qt::Alignment a)
    {
        if (!(a & Qt::AlignVertical_Mask))
            a |= Qt::AlignVCenter;
        m_align[col] = a;
        if (!m_lines.empty())
            emit dataChanged(index(0, col), index(int(m_lines.size()) - 1, col), {Qt::TextAlignmentRole});
    }

    // Looked at without a copy: sorting thousands of rows asks often.
    static const QVariant* valueAt(const Line& line, int col)
    {
        return col >= 0 && col < line.values.size() && line.values[col].isValid() ? &line.values[col] : nullptr;
    }

    // The order of Sort: rows with a value in col after those without (as an
    // empty text comes first); two values compared as what they are (numbers
    // as numbers, dates as dates); rows without one, and values of kinds that
    // do not compare, by their text.
    static bool less(const Line& a, const Line& b, int col)
    {
        const QVariant* va = valueAt(a, col);
        const QVariant* vb = valueAt(b, col);
        if (!va != !vb)
            return vb != nullptr;
        if (va) {
            const QPartialOrdering order = QVariant::compare(*va, *vb);
            if (order != QPartialOrdering::Unordered)
                return order == QPartialOrdering::Less;
        }
        return QString::compare(a.cells[col], b.cells[col], Qt::CaseSensitive) < 0;
    }

    // Stable ascending sort on one column; returns where each old row went.
    std::vector<int> sortOn(int col)
    {
        const int n = int(m_lines.size());
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), 0);
        // A column of text alone, the usual case, is compared as text straight away.
        const bool byValue =
            std::any_of(m_lines.cbegin(), m_lines.cend(), [col](const Line& line) { return valueAt(line, col); });
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const Line &la = m_lines[a], &lb = m_lines[b];
            return byValue ? less(la, lb, col) : QString::compare(la.cells[col], lb.cells[col], Qt::CaseSensitive) < 0;
        });
        std::vector<Line> sorted;
        sorted.reserve(n);
        std::vector<int> newRowOf(n);
        for (int i = 0; i < n; ++i) {
            newRowOf[order[i]] = i;
            sorted.push_back(std::move(m_lines[order[i]]));
        }
        m_lines = std::move(sorted);
        return newRowOf;
    }

    // Moves line r to where its cell in col belongs among the others, which
    // are in order on col already; returns its new index.
    int moveIntoOrder(int r, int col)
    {
        const int n = int(m_lines.size());
        const Line& line = m_lines[r];
        // After the last equal key, as a stable sort of the others would put it.
        int lo = 0, hi = n - 1; // positions among the n - 1 other lines
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            const Line& other = m_lines[mid < r ? mid : mid + 1];
            if (less(line, other, col))
                hi = mid;
            else
                lo = mid + 1;
        }
        const int target = lo;
        if (target == r)
            return r;
        // Taken out and put in again rather than moved: Qt's header answers
        // a move by hiding each hidden row anew, each time reckoning every
        // row's place, which with thousands of hidden rows costs more than
        // the rest of a save.
        beginRemoveRows({}, r, r);
        Line moved = std::move(m_lines[r]);
        m_lines.erase(m_lines.begin() + r);
        endRemoveRows();
        beginInsertRows({}, target, target);
        m_lines.insert(m_lines.begin() + target, std::move(moved));
        endInsertRows();
        return target;
    }

    // Persistent indexes (the current cell, the selection, the header's own
    // bookkeeping) follow their rows through a sort.
    void movePersistent(const std::vector<int>& newRowOf)
    {
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& i : from)
            to.append(index(newRowOf[i.row()], i.column()));
        changePersistentIndexList(from, to);
    }

    void announceLayoutChange() { emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint); }
    void announceLayoutChanged() { emit layoutChanged({}, QAbstractItemModel::VerticalSortHint); }

    std::vector<Line> m_lines;
    QStringList m_heading;
    std::vector<Qt::Alignment> m_align;
    int m_cols = 0;
    bool m_hasHeading = false;
};

QvGrid::QvGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new QvGridModel)
{
    // Adopted only now: the child-added event reaches event() below, which
    // needs every member in place.
    m_model->setParent(this);
    setModel(m_model);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setAlternatingRowColors(false);
    setWordWrap(false);
    // Tab leaves the grid for the window's next control, as in every other list.
    setTabKeyNavigation(false);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as close as a list of names reads well: the text and a little air.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    QHeaderView* heading = horizontalHeader();
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    // Eliding would flatten the heading's line breaks into one line.
    heading->setTextElideMode(Qt::ElideNone);
    heading->setHighlightSections(false);
    heading->setSectionsClickable(false);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { ReportCurrentRow(); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit RowDoubleClicked(index.row() + 1);
    });
}

QvGrid::~QvGrid() = default;

// --- layout --------------------------------------------------------------

void QvGrid::Clear()
{
    m_holdReports = true;
    m_hiddenTo = -1;
    m_model->clearAll();
    m_widthTwips.clear();
    if (m_headingHidden) {
        m_headingHidden = false;
        horizontalHeader()->setVisible(true);
    }
    m_holdReports = false;
    ReportCurrentRow();
}

void QvGrid::SetCols(int n)
{
    m_model->setCols(n);
    m_widthTwips.resize(std::size_t(m_model->m_cols), -1);
}

int QvGrid::Cols() const
{
    return m_model->m_cols;
}

void QvGrid::SetColWidthTwips(int col, int twips)
{
    if (col < 0 || col >= Cols())
        return;
    m_widthTwips[col] = std::max(twips, 0);
    if (twips <= 0) {
        setColumnHidden(col, true);
        if (currentIndex().column() == col)
            KeepOffFixedCols();
        return;
    }
    setColumnHidden(col, false);
    setColumnWidth(col, std::max(1, TwipsToPx(twips, this)));
    updateGeometry();
}

int QvGrid::ColWidthTwips(int col) const
{
    if (col < 0 || col >= Cols() || isColumnHidden(col))
        return 0;
    const int set = m_widthTwips[col];
    // Give back the width as set unless the user has dragged it since;
    // pixels lose a few twips on the way back.
    if (set > 0 && TwipsToPx(set, this) == columnWidth(col))
        return set;
    return PxToTwips(columnWidth(col), this);
}

void QvGrid::SetColAlignment(int col, Qt::Alignment a)
{
    if (col >= 0 && col < Cols())
        m_model->setAlignment(col, a);
}

QSize QvGrid::minimumSizeHint() const
{
    // As wide as its columns, so that no column hides behind a scroll bar
    // at a larger font; the rows may scroll.
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < model()->columnCount(); ++c)
        if (!isColumnHidden(c))
            width += columnWidth(c);
    const QSize base = QTableView::minimumSizeHint();
    return QSize(std::max(base.width(), width), base.height());
}

int QvGrid::Rows_Height() const
{
    const QHeaderView* heading = horizontalHeader();
    int height = 2 * frameWidth() + std::max(heading->height(), heading->sizeHint().height());
    for (int r = 0; r < model()->rowCount(); ++r)
        height += rowHeight(r);
    if (horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        height += horizontalScrollBar()->sizeHint().height();
    return height;
}

void QvGrid::SetHeadingLines(int lines)
{
    m_headingLines = std::max(lines, 0);
    ApplyHeadingHeight();
}

void QvGrid::ApplyHeadingHeight()
{
    QHeaderView* heading = horizontalHeader();
    if (m_headingLines == 0) {
        heading->setMinimumHeight(0);
        heading->setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        // As tall as the style makes a section holding that many lines of
        // the heading font, whatever the headings themselves hold.
        QStyleOptionHeader opt;
        opt.initFrom(heading);
        opt.orientation = Qt::Horizontal;
        opt.fontMetrics = QFontMetrics(heading->font());
        opt.text = QStringList(m_headingLines, QStringLiteral("X")).join(QLatin1Char('\n'));
        const QSize size = heading->style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), heading);
        heading->setFixedHeight(size.height());
    }
    updateGeometries();
}

void QvGrid::SetFixedCols(int n)
{
    m_fixedCols = std::max(n, 0);
    KeepOffFixedCols();
}

// --- rows ------------------------------------------------------------------

int QvGrid::Rows() const
{
    const int data = int(m_model->m_lines.size());
    return (m_model->m_hasHeading || data > 0) ? data + 1 : 0;
}

int QvGrid::AddItem(const QString& tabSeparated)
{
    if (!m_model->m_hasHeading) {
        // A heading arriving before any SetCols decides the column count.
        if (Cols() == 0)
            SetCols(int(tabSeparated.count(QLatin1Char('\t'))) + 1);
        m_model->setHeading(tabSeparated);
        return 0;
    }
    return m_model->appendLine(tabSeparated) + 1;
}

int QvGrid::AddRows(std::vector<GridRow> rows)
{
    const int first = m_model->appendLines(std::move(rows));
    const auto& lines = m_model->m_lines;
    // Only rows that hide make the view catch up, a list of shown ones costing nothing.
    int from = -1, to = -1;
    for (int r = first; r < int(lines.size()); ++r) {
        if (Hides(lines[r])) {
            from = from < 0 ? r : from;
            to = r;
        }
    }
    if (to >= 0)
        NoteHiddenChange(from, to);
    return first + 1;
}

int QvGrid::AddRow(GridRow row)
{
    std::vector<GridRow> one;
    one.push_back(std::move(row));
    return AddRows(std::move(one));
}

void QvGrid::ReplaceRow(int row, GridRow with)
{
    if (row < 1 || row >= Rows())
        return;
    m_model->replaceLine(row - 1, std::move(with));
    NoteHiddenChange(row - 1, row - 1);
}

void QvGrid::RemoveItem(int row)
{
    if (row < 1 || row >= Rows())
        return;
    // Qt picks the next current row among the rows it shows.
    ApplyHiddenRows();
    m_holdReports = true;
    m_model->removeLine(row - 1);
    m_holdReports = false;
    ReportCurrentRow();
}

QString QvGrid::TextMatrix(int row, int col) const
{
    if (col < 0 || col >= Cols() || row < 0 || row >= Rows())
        return {};
    return row == 0 ? m_model->m_heading[col] : m_model->m_lines[row - 1].cells[col];
}

void QvGrid::SetTextMatrix(int row, int col, const QString& text)
{
    if (row == 0 && col >= 0 && col < Cols())
        m_model->setHeadingCell(col, text);
    else
        SetCell(row, col, text, {});
}

void QvGrid::SetCell(int row, int col, const QString& text, const QVariant& value)
{
    if (col >= 0 && col < Cols() && row >= 1 && row < Rows())
        m_model->setCell(row - 1, col, text, value);
}

qint64 QvGrid::Key(int row) const
{
    return row >= 1 && row < Rows() ? m_model->m_lines[row - 1].key : 0;
}

QVariant QvGrid::Value(int row, int col) const
{
    const QVariant* v = row >= 1 && row < Rows() ? QvGridModel::valueAt(m_model->m_lines[row - 1], col) : nullptr;
    return v ? *v : QVariant();
}

void QvGrid::SetRowHidden(int row, bool hidden)
{
    if (row == 0) {
        m_headingHidden = hidden;
        horizontalHeader()->setVisible(!hidden);
        return;
    }
    if (row < 0 || row >= Rows())
        return;
    m_model->m_lines[row - 1].hidden = hidden;
    NoteHiddenChange(row - 1, row - 1);
}

void QvGrid::SetRowHeightLines(int row, int lines)
{
    if (row < 1 || row >= Rows())
        return;
    verticalHeader()->resizeSection(row - 1, verticalHeader()->defaultSectionSize() * std::max(lines, 1));
}

bool QvGrid::IsRowHidden(int row) const
{
    if (row == 0)
        return m_headingHidden;
    if (row < 0 || row >= Rows())
        return false;
    return Hides(m_model->m_lines[row - 1]);
}

bool QvGrid::Hides(const GridRow& row) const
{
    return row.hidden || (row.inactive && !m_showAll);
}

void QvGrid::SetShowAll(bool all)
{
    if (all == m_showAll)
        return;
    m_showAll = all;
    NoteHiddenChange(0, int(m_model->m_lines.size()) - 1);
}

int QvGrid::FindRow(int col, const QString& text, int from) const
{
    if (col < 0 || col >= Cols())
        return -1;
    from = std::max(from, 0);
    if (from == 0 && m_model->m_hasHeading && m_model->m_heading[col] == text)
        return 0;
    const auto& lines = m_model->m_lines;
    for (std::size_t r = std::size_t(std::max(from - 1, 0)); r < lines.size(); ++r) {
        if (lines[r].cells[col] == text)
            return int(r) + 1;
    }
    return -1;
}

int QvGrid::FindKey(qint64 key) const
{
    const auto& lines = m_model->m_lines;
    const auto it = std::find_if(lines.cbegin(), lines.cend(), [key](const GridRow& r) { return r.key == key; });
    return it == lines.cend() ? -1 : int(it - lines.cbegin()) + 1;
}

int QvGrid::FindValue(int col, const QVariant& value, int from) const
{
    const auto& lines = m_model->m_lines;
    for (std::size_t r = std::size_t(std::max(from - 1, 0)); r < lines.size(); ++r) {
        const QVariant* v = QvGridModel::valueAt(lines[r], col);
        if (v && QVariant::compare(*v, value) == QPartialOrdering::Equivalent)
            return int(r) + 1;
    }
    return -1;
}

int QvGrid::FindPrefix(int col, const QString& prefix, int from) const
{
    if (col < 0 || col >= Cols())
        return -1;
    const auto& lines = m_model->m_lines;
    for (std::size_t r = std::size_t(std::max(from - 1, 0)); r < lines.size(); ++r) {
        if (lines[r].cells[col].startsWith(prefix))
            return int(r) + 1;
    }
    return -1;
}

void QvGrid::Sort(int col)
{
    if (col < 0 || col >= Cols() || m_model->m_lines.size() < 2)
        return;
    m_holdReports = true;
    m_model->announceLayoutChange();
    const std::vector<int> newRowOf = m_model->sortOn(col);
    m_model->movePersistent(newRowOf);
    m_model->announceLayoutChanged();
    // Qt's header carries hidden rows through the layout change by their
    // persistent indexes; checking every row costs little and keeps the view
    // true to the rows even where it would not.
    NoteHiddenChange(0, int(m_model->m_lines.size()) - 1);
    ApplyHiddenRows();
    m_holdReports = false;
    // The current record keeps being current, under its new row number.
    ReportCurrentRow();
}

int QvGrid::Move_Into_Order(int row, int col)
{
    if (col < 0 || col >= Cols() || row < 1 || row >= Rows())
        return row;
    ApplyHiddenRows();
    m_holdReports = true;
    // The selection, put back around the rows' new places afterwards.
    const int current = Row();
    int anchor = current;
    if (const QItemSelection sel = selectionModel()->selection(); current > 0 && !sel.isEmpty())
        anchor = (sel.first().top() == current - 1 ? sel.first().bottom() : sel.first().top()) + 1;
    const int from = row - 1;
    const int to = m_model->moveIntoOrder(from, col);
    const auto placed = [from, to](int programRow) {
        const int m = programRow - 1;
        if (m == from)
            return to + 1;
        if (from < to && m > from && m <= to)
            return m;
        if (to < from && m >= to && m < from)
            return m + 2;
        return programRow;
    };
    NoteHiddenChange(std::min(from, to), std::max(from, to));
    ApplyHiddenRows();
    m_holdReports = false;
    if (current > 0)
        Select(placed(anchor), placed(current));
    ReportCurrentRow();
    return to + 1;
}

// Every row hidden in Qt's header makes each later row insertion cost more
// (the header renumbers all its hidden rows), so a window hiding rows as it
// adds them would load in quadratic time. The view therefore takes on
// hidden states in one go: before anything that depends on them, on the
// grid's next event, or when the event loop runs again.
void QvGrid::NoteHiddenChange(int from, int to)
{
    m_hiddenFrom = m_hiddenTo < 0 ? from : std::min(m_hiddenFrom, from);
    m_hiddenTo = std::max(m_hiddenTo, to);
    if (!m_applyQueued) {
        m_applyQueued = true;
        QMetaObject::invokeMethod(this, [this] {
            m_applyQueued = false;
            ApplyHiddenRows();
        }, Qt::QueuedConnection);
    }
}

void QvGrid::ApplyHiddenRows()
{
    if (m_hiddenTo < 0)
        return;
    const auto& lines = m_model->m_lines;
    const int last = std::min(m_hiddenTo, int(lines.size()) - 1);
    for (int r = m_hiddenFrom; r <= last; ++r) {
        const bool hide = Hides(lines[r]);
        if (isRowHidden(r) != hide)
            setRowHidden(r, hide);
    }
    m_hiddenFrom = 0;
    m_hiddenTo = -1;
}

bool QvGrid::event(QEvent* event)
{
    ApplyHiddenRows();
    return QTableView::event(event);
}

void QvGrid::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        && isSignalConnected(QMetaMethod::fromSignal(&QvGrid::RowDoubleClicked)) && Row() >= 1) {
        event->accept();
        emit RowDoubleClicked(Row());
        return;
    }
    QTableView::keyPressEvent(event);
}

bool QvGrid::viewportEvent(QEvent* event)
{
    ApplyHiddenRows();
    return QTableView::viewportEvent(event);
}

// --- selection and scrolling -------------------------------------------------

int QvGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void QvGrid::SetRow(int row)
{
    Select(row, row);
}

void QvGrid::Select(int anchorRow, int endRow)
{
    QItemSelectionModel* sm = selectionModel();
    ApplyHiddenRows(); // the view scrolls to the new current row
    m_holdReports = true;
    if (endRow < 1 || endRow >= Rows() || Cols() == 0) {
        sm->clearSelection();
        sm->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        anchorRow = std::clamp(anchorRow, 1, Rows() - 1);
        const int first = std::min(anchorRow, endRow) - 1;
        const int last = std::max(anchorRow, endRow) - 1;
        sm->setCurrentIndex(CellOf(endRow), QItemSelectionModel::NoUpdate);
        sm->select(QItemSelection(m_model->index(first, 0), m_model->index(last, Cols() - 1)),
                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    m_holdReports = false;
    ReportCurrentRow();
}

int QvGrid::RowSel() const
{
    // Whole rows from the anchor down or up to the current row: the current
    // row is where the selection ends.
    return Row();
}

int QvGrid::TopRow() const
{
    // Rows hidden since the last event move the others up.
    const_cast<QvGrid*>(this)->ApplyHiddenRows();
    const int r = rowAt(0);
    return r >= 0 ? r + 1 : 0;
}

void QvGrid::SetTopRow(int row)
{
    const auto& lines = m_model->m_lines;
    const int n = int(lines.size());
    ApplyHiddenRows();
    // Rows just added change the scroll range only once the event loop
    // runs; the window may scroll before that.
    updateGeometries();
    // A hidden row cannot be at the top: the next row shown takes its place,
    // or the last one shown when none follows.
    int target = -1;
    for (int r = std::max(row - 1, 0); r < n && target < 0; ++r) {
        if (!Hides(lines[r]))
            target = r;
    }
    for (int r = std::min(row - 1, n - 1); r >= 0 && target < 0; --r) {
        if (!Hides(lines[r]))
            target = r;
    }
    if (target < 0) {
        verticalScrollBar()->setValue(0);
        return;
    }
    // Only the rows move: scrollTo would also bring the cell's column fully
    // into view.
    const int across = horizontalScrollBar()->value();
    const int col = columnAt(0) >= 0 ? columnAt(0) : FirstFreeCol();
    scrollTo(m_model->index(target, col), PositionAtTop);
    horizontalScrollBar()->setValue(across);
}

// --- the user's moves ----------------------------------------------------------

int QvGrid::FirstFreeCol() const
{
    for (int c = m_fixedCols; c < Cols(); ++c) {
        if (!isColumnHidden(c))
            return c;
    }
    return std::clamp(m_fixedCols, 0, std::max(Cols() - 1, 0));
}

QModelIndex QvGrid::CellOf(int row) const
{
    const QModelIndex current = currentIndex();
    int col = current.isValid() ? current.column() : -1;
    if (col < m_fixedCols || isColumnHidden(col))
        col = FirstFreeCol();
    return m_model->index(row - 1, col);
}

void QvGrid::KeepOffFixedCols()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || (current.column() >= m_fixedCols && !isColumnHidden(current.column())))
        return;
    const int col = FirstFreeCol();
    if (col != current.column())
        selectionModel()->setCurrentIndex(m_model->index(current.row(), col), QItemSelectionModel::NoUpdate);
}

QModelIndex QvGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (next.isValid() && next.column() < m_fixedCols) {
        const QModelIndex current = currentIndex();
        // A step left into the fixed columns stays where it is.
        next = m_model->index(next.row(), current.isValid() && current.column() >= m_fixedCols ? current.column()
                                                                                          : FirstFreeCol());
    }
    return next;
}

void QvGrid::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    KeepOffFixedCols();
}

void QvGrid::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    KeepOffFixedCols();
}

void QvGrid::ReportCurrentRow()
{
    if (m_holdReports)
        return;
    const int row = Row();
    if (row == m_reportedRow)
        return;
    const int previous = m_reportedRow;
    m_reportedRow = row;
    emit CurrentRowChanged(row, previous);
}

// The grid every list window shows, driven the way the windows drive it:
// heading first, a hidden key column, a hidden placeholder row, then records.
#include "support/WindowTest.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <algorithm>
#include <utility>

namespace {
using Moves = QList<QPair<int, int>>;

// Key, name and envelope columns; the hidden placeholder is row 1 and the
// records ("key\tname\tenvelope") follow from row 2.
void Fill(QvGrid& grid, const QStringList& records)
{
    grid.Clear();
    grid.SetCols(3);
    grid.SetColWidthTwips(0, 0);
    grid.AddItem(QStringLiteral("Key\tName\tEnvelope"));
    grid.SetRowHidden(grid.AddItem(QStringLiteral("0\t\t")), true);
    for (const QString& r : records)
        grid.AddItem(r);
}

// Records keyed 101.. and named "Name 1"..
QStringList Numbered(int n)
{
    QStringList records;
    for (int i = 1; i <= n; ++i)
        records << QStringLiteral("%1\tName %2\t%2").arg(100 + i).arg(i);
    return records;
}

QStringList Column(const QvGrid& grid, int col)
{
    QStringList cells;
    for (int r = 1; r < grid.Rows(); ++r)
        cells << grid.TextMatrix(r, col);
    return cells;
}

QList<qint64> Keys(const QvGrid& grid)
{
    QList<qint64> keys;
    for (int r = 1; r < grid.Rows(); ++r)
        keys << grid.Key(r);
    return keys;
}

// A record as the list windows give it: its key, its name, an envelope
// number as text and as value.
GridRow Record(qint64 key, const QString& name, int envelope, bool inactive = false)
{
    return {key, {QString::number(key), name, QString::number(envelope)}, {{}, {}, envelope}, false, inactive};
}

// The CurrentRowChanged signals caught, as (row, previous row).
Moves Caught(const QSignalSpy& spy)
{
    Moves moves;
    for (const QList<QVariant>& s : spy)
        moves.append({s.at(0).toInt(), s.at(1).toInt()});
    return moves;
}

void Show(QvGrid& grid)
{
    grid.resize(600, 400);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setFocus();
}

// What a real double click delivers; QTest's own sends the double-click event alone.
void DoubleClick(QWidget* widget, QPoint pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}
} // namespace

class tst_Grid : public QObject {
    Q_OBJECT
private slots:
    void cellsWidthsHeadingAndClear();
    void hiddenRowsFoundShownAndScrolledPast();
    void sortKeepsHeadingHiddenRowsCurrentRecordAndOrderOfEquals();
    void sortOrdersByValuesWhereRowsHaveThem_data();
    void sortOrdersByValuesWhereRowsHaveThem();
    void typedRowsKeepKeyValuesAndFilterThroughChanges();
    void selectingAndRemovingRows();
    void keysAndMouse();
};

void tst_Grid::cellsWidthsHeadingAndClear()
{
    QvGrid grid;
    Fill(grid, {"17\tSmith, John\t7", "18\tDoe", "19\tRoe\t9\textra"});
    QCOMPARE(grid.AddItem(QStringLiteral("20\tPoe\t3")), 5);
    // Short rows are padded with empty cells, long ones cut to the columns.
    QCOMPARE(Column(grid, 2), (QStringList{"", "7", "", "9", "3"}));
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    grid.SetTextMatrix(3, 1, QStringLiteral("Doe, Jane"));
    QCOMPARE(changed.count(), 1); // the view hears of it
    // Headings written with Windows line ends reach the view as line breaks.
    grid.SetTextMatrix(0, 2, QStringLiteral("Env.\r\nNo."));
    QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Env.\nNo."));

    QVERIFY(grid.isColumnHidden(0)); // a width of 0 twips hides

    // Two heading lines make the heading a line taller than one.
    Show(grid);
    QHeaderView* heading = grid.horizontalHeader();
    grid.SetHeadingLines(1);
    const int one = heading->height();
    grid.SetHeadingLines(2);
    QVERIFY(qAbs(heading->height() - one - QFontMetrics(heading->font()).lineSpacing()) <= 2);

    // Clear drops the rows, shows a hidden heading again and tells the window
    // no row is current; the next row added is a heading.
    grid.SetRow(3);
    grid.SetRowHidden(0, true);
    QVERIFY(heading->isHidden());
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);
    grid.Clear();
    QCOMPARE(Caught(moved), (Moves{{0, 3}}));
    QVERIFY(!heading->isHidden());
    grid.SetCols(3);
    QCOMPARE(grid.AddItem(QStringLiteral("A\tB\tC")), 0);
    QCOMPARE(grid.Rows(), 1);

    QvGrid bare; // a heading before any column count brings its own
    QCOMPARE(bare.AddItem(QStringLiteral("A\tB\tC\tD")), 0);
    QCOMPARE(bare.Cols(), 4);
}

void tst_Grid::hiddenRowsFoundShownAndScrolledPast()
{
    // A filter deciding as the records arrive, changing its mind about some;
    // from row 11 on, row and key are the same number.
    QvGrid grid;
    Fill(grid, {});
    for (int i = 1; i <= 300; ++i)
        grid.AddRow({i, {QString::number(i), QStringLiteral("Name %1").arg(i), {}}, {}, i % 3 == 0});
    grid.SetRowHidden(grid.FindKey(30), false);
    grid.SetRowHidden(grid.FindKey(31), true);
    grid.RemoveItem(grid.FindKey(10));
    grid.SetTopRow(100); // a window scrolls straight after filling, before any event

    // Hidden rows are still found; 'from' and the heading (only from 0) count.
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name 3")), 4);
    QCOMPARE(grid.FindKey(10), -1);
    grid.SetTextMatrix(200, 1, QStringLiteral("Name 3"));
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name 3"), 5), 200);
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name 3"), 201), -1);
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name")), -1);
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name"), 0), 0);

    // The view shows the same once the window is back in the event loop.
    Show(grid);
    QCOMPARE(grid.TopRow(), 100);
    for (int r = 1; r < grid.Rows(); ++r) {
        const qint64 key = grid.Key(r);
        const bool hide = key == 31 || (key % 3 == 0 && key != 30);
        QCOMPARE(grid.IsRowHidden(r), hide);
        QCOMPARE(grid.isRowHidden(r - 1), hide);
    }

    // A hidden row cannot be at the top: the next one shown takes its place.
    grid.SetRowHidden(100, true);
    QCOMPARE(grid.TopRow(), 101);
    grid.SetRowHidden(151, true); // 150 and 151
    grid.SetTopRow(150);
    QCOMPARE(grid.TopRow(), 152);
    grid.SetTopRow(1);
    QCOMPARE(grid.TopRow(), 2);

    // Only the rows move, whatever part of a wide column is in view.
    grid.SetColWidthTwips(1, 14400);
    QApplication::processEvents();
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    const int across = grid.horizontalScrollBar()->value();
    QVERIFY(across > 0);
    grid.SetTopRow(200);
    QCOMPARE(grid.TopRow(), 200);
    QCOMPARE(grid.horizontalScrollBar()->value(), across);

    // Selecting a row scrolls it into view, counting rows hidden just before.
    for (int r = 2; r < 250; ++r)
        grid.SetRowHidden(r, true);
    grid.SetRow(280);
    QApplication::processEvents();
    QVERIFY(grid.viewport()->rect().contains(grid.visualRect(grid.currentIndex()).center()));
}

void tst_Grid::sortKeepsHeadingHiddenRowsCurrentRecordAndOrderOfEquals()
{
    QvGrid grid;
    Fill(grid, {"1\tMiller\t5", "2\tbaker\t3", "3\tMiller\t1", "4\tAdams\t4", "5\tMiller\t2", "6\tCole\t6"});
    grid.SetRowHidden(3, true); // baker
    grid.SetRowHidden(6, true); // the last Miller
    grid.SetRow(4);             // the second Miller
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);
    grid.Sort(1);

    QCOMPARE(grid.TextMatrix(0, 1), QStringLiteral("Name"));
    // Ordinal order: the placeholder's empty name first, capitals before small
    // letters (no locale rules); equal names keep their order.
    QCOMPARE(Column(grid, 0), (QStringList{"0", "4", "6", "1", "3", "5", "2"}));
    const QStringList hiddenKeys{"0", "2", "5"};
    for (int r = 1; r < grid.Rows(); ++r) {
        QCOMPARE(grid.IsRowHidden(r), hiddenKeys.contains(grid.TextMatrix(r, 0)));
        QCOMPARE(grid.isRowHidden(r - 1), grid.IsRowHidden(r));
    }
    // The current record stays current and selected; the window hears of it once.
    QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("3"));
    QVERIFY(grid.selectionModel()->isRowSelected(grid.Row() - 1, {}));
    QCOMPARE(Caught(moved), (Moves{{5, 4}}));

    // Once more on another column, the view catching up on a row hidden since.
    grid.SetRowHidden(grid.FindRow(0, QStringLiteral("6")), true);
    grid.Sort(2);
    QCOMPARE(Column(grid, 2), (QStringList{"", "1", "2", "3", "4", "5", "6"}));
    for (int r = 1; r < grid.Rows(); ++r)
        QCOMPARE(grid.isRowHidden(r - 1), grid.TextMatrix(r, 0) == "6" || hiddenKeys.contains(grid.TextMatrix(r, 0)));

    // One changed row put in its place gives the order a whole sort gives,
    // up or down, to either end, with the hidden rows and the current record
    // following their rows.
    Fill(grid, {"1\tAdams\t", "2\tBaker\t", "3\tCole\t", "4\tDunn\t", "5\tEvans\t"});
    grid.SetRowHidden(3, true); // Baker
    grid.SetRow(5);             // Dunn
    for (const auto& [key, name] : {std::pair{"4", "Aaron"}, std::pair{"4", "Zorn"}, std::pair{"2", "Cox"},
                                    std::pair{"1", "Able"}}) {
        const int row = grid.FindRow(0, QString::fromLatin1(key));
        grid.SetTextMatrix(row, 1, QString::fromLatin1(name));
        const int at = grid.Move_Into_Order(row, 1);
        QCOMPARE(grid.TextMatrix(at, 0), QString::fromLatin1(key));
        const QStringList moved = Column(grid, 1);
        grid.Sort(1);
        QCOMPARE(Column(grid, 1), moved);
        for (int r = 1; r < grid.Rows(); ++r)
            QCOMPARE(grid.isRowHidden(r - 1), r == 1 || grid.TextMatrix(r, 0) == "2");
        QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("4"));
    }

    // Enough equal names that a sort stable only on short runs shows it.
    QStringList records;
    const QStringList names{"Miller", "Adams", "Young"};
    for (int i = 0; i < 300; ++i)
        records << QStringLiteral("%1\t%2\t").arg(1000 + (i * 7919) % 300).arg(names[(i * 31) % 3]);
    Fill(grid, records);
    const QStringList before = Column(grid, 0);
    grid.Sort(1);
    for (int r = 3; r < grid.Rows(); ++r) {
        const QString name = grid.TextMatrix(r, 1), previousName = grid.TextMatrix(r - 1, 1);
        QVERIFY(previousName <= name);
        if (name == previousName)
            QVERIFY(before.indexOf(grid.TextMatrix(r - 1, 0)) < before.indexOf(grid.TextMatrix(r, 0)));
    }
}

void tst_Grid::sortOrdersByValuesWhereRowsHaveThem_data()
{
    // Keys 1.. in the order given; the placeholder (key 0, no value) is there too.
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QList<qint64>>("order");
    QTest::newRow("numbers, not their text") << QStringList{"10", "9", "100", "2"} << QVariantList{10, 9, 100, 2}
                                             << QList<qint64>{0, 4, 2, 1, 3};
    QTest::newRow("amounts in cents, negatives first")
        << QStringList{"$12.00", "($5.00)", "$0.05", "$1,000.00"} << QVariantList{qint64(1200), qint64(-500), qint64(5), qint64(100000)}
        << QList<qint64>{0, 2, 3, 1, 4};
    QTest::newRow("dates, not their text")
        << QStringList{"10/5/2025", "9/1/2025", "1/2/2026"} << QVariantList{QDate(2025, 10, 5), QDate(2025, 9, 1), QDate(2026, 1, 2)}
        << QList<qint64>{0, 2, 1, 3};
    QTest::newRow("without a value first, by text") << QStringList{"7", "b", "a", "3"} << QVariantList{7, {}, {}, 3}
                                                    << QList<qint64>{0, 3, 2, 4, 1};
    QTest::newRow("equal values keep their order") << QStringList{"x", "y", "z", "w"} << QVariantList{5, 1, 5, 5}
                                                   << QList<qint64>{0, 2, 1, 3, 4};
}

void tst_Grid::sortOrdersByValuesWhereRowsHaveThem()
{
    QFETCH(QStringList, texts);
    QFETCH(QVariantList, values);
    QFETCH(QList<qint64>, order);
    QvGrid grid;
    Fill(grid, {});
    std::vector<GridRow> rows;
    for (int i = 0; i < texts.size(); ++i)
        rows.push_back({i + 1, {QString::number(i + 1), {}, texts[i]}, {{}, {}, values[i]}});
    QCOMPARE(grid.AddRows(std::move(rows)), 2);
    grid.Sort(2);
    QCOMPARE(Keys(grid), order);

    // The last row given the first valued row's value lands right after it,
    // as a whole sort would put it.
    const int first = 2 + int(std::count_if(values.cbegin(), values.cend(), [](const QVariant& v) { return !v.isValid(); }));
    const int last = grid.Rows() - 1;
    grid.SetCell(last, 2, grid.TextMatrix(first, 2), grid.Value(first, 2));
    const qint64 moved = grid.Key(last);
    QCOMPARE(grid.Move_Into_Order(last, 2), first + 1);
    QCOMPARE(grid.Key(first + 1), moved);
    const QList<qint64> placed = Keys(grid);
    grid.Sort(2);
    QCOMPARE(Keys(grid), placed);
}

void tst_Grid::typedRowsKeepKeyValuesAndFilterThroughChanges()
{
    QvGrid grid;
    Fill(grid, {});
    grid.AddRows({Record(11, "Miller", 7, true), Record(12, "Adams", 3), Record(13, "Young", 12, true)});
    grid.AddRow(Record(14, "Cole", 5));
    QApplication::processEvents();
    const auto shown = [&grid] {
        QList<qint64> keys;
        for (int r = 1; r < grid.Rows(); ++r) {
            if (grid.IsRowHidden(r) != grid.isRowHidden(r - 1))
                return QList<qint64>{-1}; // the view lags behind the rows
            if (!grid.IsRowHidden(r))
                keys << grid.Key(r);
        }
        return keys;
    };
    QCOMPARE(shown(), (QList<qint64>{12, 14}));

    // Show All brings the inactive rows, never the placeholder, and holds for
    // rows added later and across Clear, being the window's setting.
    grid.SetShowAll(true);
    grid.AddRow(Record(15, "Baker", 1, true));
    QApplication::processEvents();
    QCOMPARE(shown(), (QList<qint64>{11, 12, 13, 14, 15}));
    grid.SetShowAll(false);
    QApplication::processEvents();
    QCOMPARE(shown(), (QList<qint64>{12, 14}));

    // Keys, values and flags go with their rows through sort, move and removal.
    grid.SetRow(grid.FindKey(14));
    grid.Sort(1);
    QCOMPARE(Keys(grid), (QList<qint64>{0, 12, 15, 14, 11, 13}));
    QCOMPARE(grid.Key(grid.Row()), qint64(14));
    QCOMPARE(shown(), (QList<qint64>{12, 14}));
    QCOMPARE(grid.Value(grid.FindKey(13), 2), QVariant(12));
    grid.ReplaceRow(grid.FindKey(12), Record(12, "Zorn", 30, true));
    const int at = grid.Move_Into_Order(grid.FindKey(12), 1);
    QCOMPARE(grid.Key(at), qint64(12));
    QApplication::processEvents();
    QCOMPARE(shown(), (QList<qint64>{14}));
    grid.RemoveItem(grid.FindKey(15));
    QCOMPARE(Keys(grid), (QList<qint64>{0, 14, 11, 13, 12}));
    QCOMPARE(grid.Value(grid.FindKey(12), 2), QVariant(30));

    // Found by value, whatever integer type asks, and by the start of a text,
    // hidden rows included; a new text drops the value it no longer matches.
    QCOMPARE(grid.FindValue(2, qint64(7)), grid.FindKey(11));
    QCOMPARE(grid.FindValue(2, 7, grid.FindKey(11) + 1), -1);
    QCOMPARE(grid.FindPrefix(1, QStringLiteral("Yo")), grid.FindKey(13));
    QCOMPARE(grid.FindPrefix(1, QStringLiteral("yo")), -1);
    grid.SetTextMatrix(grid.FindKey(11), 2, QStringLiteral("8"));
    QVERIFY(!grid.Value(grid.FindKey(11), 2).isValid());
    QCOMPARE(grid.FindValue(2, 7), -1);
    QCOMPARE(grid.Key(0), qint64(0));
    QCOMPARE(grid.Key(grid.Rows()), qint64(0));
}

void tst_Grid::selectingAndRemovingRows()
{
    QvGrid grid;
    Fill(grid, Numbered(8));
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);

    grid.Select(3, 6); // the current row is the end row
    QCOMPARE(grid.Row(), 6);
    QCOMPARE(grid.RowSel(), 6);
    for (int r = 1; r < grid.Rows(); ++r)
        QCOMPARE(grid.selectionModel()->isRowSelected(r - 1, {}), r >= 3 && r <= 6);
    QVERIFY(grid.currentIndex().column() >= 1); // never in the hidden key column
    grid.Select(7, 4);
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 4);
    grid.SetRow(4); // the same row: nothing to announce
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
    grid.SetRow(0); // the heading is no place to be, nor a row past the end
    QVERIFY(!grid.selectionModel()->hasSelection());
    grid.SetRow(42);
    QCOMPARE(Caught(moved), (Moves{{6, 0}, {4, 6}, {0, 4}}));

    // Removing a row moves the rows below up, hidden ones still hidden, and
    // the current record with them: the window hears of its new number once.
    grid.SetRowHidden(5, true);
    grid.SetRow(4);
    moved.clear();
    grid.RemoveItem(3);
    QCOMPARE(Column(grid, 0), (QStringList{"0", "101", "103", "104", "105", "106", "107", "108"}));
    QVERIFY(grid.isRowHidden(3) && !grid.isRowHidden(2) && !grid.isRowHidden(4));
    QCOMPARE(Caught(moved), (Moves{{3, 4}}));
    // Removing the current row makes the next row shown current, passing
    // over a row hidden long ago and one hidden just before.
    grid.SetRowHidden(5, true);
    grid.RemoveItem(3);
    QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("106"));
    QCOMPARE(moved.count(), 2);
    grid.RemoveItem(0); // the heading stays
    QCOMPARE(grid.TextMatrix(0, 0), QStringLiteral("Key"));
    QCOMPARE(grid.Rows(), 8);
}

void tst_Grid::keysAndMouse()
{
    QvGrid grid;
    Fill(grid, Numbered(6));
    grid.SetRowHidden(4, true);
    Show(grid);
    grid.SetRow(3);
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);
    QSignalSpy opened(&grid, &QvGrid::RowDoubleClicked);
    const auto centre = [&](int row, int col) { return grid.visualRect(grid.model()->index(row - 1, col)).center(); };

    // The arrows pass over hidden rows, one hidden just before the key press
    // too, and never onto the placeholder.
    grid.SetRowHidden(5, true);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.Row(), 6);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&grid, Qt::Key_Up);
    QCOMPARE(Caught(moved), (Moves{{6, 3}, {3, 6}, {2, 3}}));

    // With the key column shown and two fixed columns, the cursor only
    // moves in the envelope column, whatever key or click.
    grid.SetColWidthTwips(0, 1440);
    grid.SetFixedCols(2);
    QCOMPARE(grid.currentIndex().column(), 2);
    for (auto key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_Down})
        QTest::keyClick(&grid, key);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid.currentIndex().column(), 2);
    QCOMPARE(grid.Row(), 2);
    // A click on the top row, hidden just before, reaches the row now on top.
    grid.SetRowHidden(2, true);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(grid.Row(), 3);
    QCOMPARE(grid.currentIndex().column(), 2);

    // The user only ever has one row selected, even after a program's range.
    grid.Select(3, 6);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(7, 2));
    QCOMPARE(grid.Row(), 7);
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);

    // A double click opens its row; the heading and the space below the
    // rows are no record.
    DoubleClick(grid.viewport(), centre(3, 2));
    QHeaderView* heading = grid.horizontalHeader();
    DoubleClick(heading->viewport(), QPoint(heading->sectionViewportPosition(1) + 5, heading->height() / 2));
    DoubleClick(grid.viewport(), QPoint(20, grid.viewport()->height() - 5));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toInt(), 3);
}

QV_TEST_MAIN(tst_Grid, QApplication)
#include "tst_grid.moc"

// The grid every list window shows, driven the way the windows drive it:
// heading first, a hidden key column, a hidden placeholder row, then records.
#include "shell/QvGrid.h"
#include "shell/WindowServices.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest/QTest>

#include "support/TestDataSet.h"

namespace {

// Key, name and envelope columns; the hidden placeholder is row 1 and the
// records ("key\tname\tenvelope") follow from row 2.
void Fill(QvGrid& grid, const QStringList& records)
{
    grid.Clear();
    grid.SetCols(3);
    grid.SetColWidthTwips(0, 0);
    grid.SetColWidthTwips(1, 2880);
    grid.SetColWidthTwips(2, 1440);
    grid.AddItem(QStringLiteral("Key\tName\tEnvelope"));
    grid.AddItem(QStringLiteral("0\t\t"));
    grid.SetRowHidden(1, true);
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

void Show(QvGrid& grid)
{
    grid.resize(600, 400);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setFocus();
}

QPoint CellCentre(QvGrid& grid, int row, int col)
{
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

// What a real double click delivers; QTest's own sends the double-click
// event alone.
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
    void headingRowsAndCells();
    void headingLineBreaksAndHeight();
    void hiddenRowsAreKeptFoundAndShown();
    void sortOrder_data();
    void sortOrder();
    void sortKeepsHeadingPlaceholderHiddenRowsAndCurrentRecord();
    void sortIsStableOnManyEqualNames();
    void selectingRowsByProgram();
    void keyboardSkipsHiddenRowsAndFixedColumns();
    void mouseClicksAndDoubleClicks();
    void topRowScrolls();
    void removingRows();
    void clearStartsOver();
};

void tst_Grid::headingRowsAndCells()
{
    QvGrid grid;
    QCOMPARE(grid.Rows(), 0);
    Fill(grid, {"17\tSmith, John\t7", "18\tDoe", "19\tRoe\t9\textra"});
    QCOMPARE(grid.Rows(), 5);
    QCOMPARE(grid.AddItem(QStringLiteral("20\tPoe\t3")), 5);
    QCOMPARE(grid.TextMatrix(0, 1), QStringLiteral("Name"));
    QCOMPARE(grid.TextMatrix(2, 1), QStringLiteral("Smith, John"));
    // Short rows are padded with empty cells, long ones cut to the columns.
    QCOMPARE(grid.TextMatrix(3, 2), QString());
    QCOMPARE(grid.TextMatrix(4, 2), QStringLiteral("9"));
    QCOMPARE(grid.TextMatrix(7, 0), QString());
    QCOMPARE(grid.model()->rowCount(), 5);
    QCOMPARE(grid.model()->data(grid.model()->index(1, 1)).toString(), QStringLiteral("Smith, John"));

    // Changed cells reach the view; so does alignment.
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    grid.SetTextMatrix(3, 1, QStringLiteral("Doe, Jane"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(grid.model()->data(grid.model()->index(2, 1)).toString(), QStringLiteral("Doe, Jane"));
    QCOMPARE(grid.TextMatrix(3, 0), QStringLiteral("18"));
    grid.SetColAlignment(2, Qt::AlignRight);
    QCOMPARE(Qt::Alignment(grid.model()->data(grid.model()->index(1, 2), Qt::TextAlignmentRole).toInt()),
             Qt::AlignRight | Qt::AlignVCenter);

    // Widths: twips as every window lays them out, 0 hides the key column.
    QVERIFY(grid.isColumnHidden(0));
    QCOMPARE(grid.ColWidthTwips(0), 0);
    QCOMPARE(grid.columnWidth(1), WindowServices::TwipsToPixels(2880));
    grid.SetColWidthTwips(2, 1010);
    QCOMPARE(grid.columnWidth(2), WindowServices::TwipsToPixels(1010));
    QCOMPARE(grid.ColWidthTwips(2), 1010); // not what the rounded pixels give back
    grid.setColumnWidth(2, WindowServices::TwipsToPixels(1500)); // the user drags it
    QCOMPARE(grid.ColWidthTwips(2), 1500);
    Show(grid);
    QCOMPARE(grid.columnAt(0), 1);

    // A heading added before the columns are set brings its own count.
    QvGrid bare;
    bare.AddItem(QStringLiteral("A\tB\tC\tD"));
    QCOMPARE(bare.Cols(), 4);
    QCOMPARE(bare.TextMatrix(0, 3), QStringLiteral("D"));
}

void tst_Grid::headingLineBreaksAndHeight()
{
    QvGrid grid;
    grid.SetCols(2);
    grid.AddItem(QStringLiteral("Envelope\r\nNumber\tName\nand Address"));
    QCOMPARE(grid.TextMatrix(0, 0), QStringLiteral("Envelope\r\nNumber"));
    QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Envelope\nNumber"));
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name\nand Address"));
    grid.SetTextMatrix(0, 1, QStringLiteral("Env.\r\nNo."));
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Env.\nNo."));

    Show(grid);
    QHeaderView* heading = grid.horizontalHeader();
    grid.SetHeadingLines(1);
    QApplication::processEvents();
    const int one = heading->height();
    grid.SetHeadingLines(2);
    QApplication::processEvents();
    const int two = heading->height();
    const int line = QFontMetrics(heading->font()).lineSpacing();
    QVERIFY2(two >= one + line - 1 && two <= one + line + 2, qPrintable(QStringLiteral("%1 %2").arg(one).arg(two)));
    // The rows start below the taller heading.
    QCOMPARE(grid.viewport()->y() - grid.frameWidth(), two);
}

void tst_Grid::hiddenRowsAreKeptFoundAndShown()
{
    // A filter deciding as the records arrive, changing its mind about some.
    QvGrid grid;
    Fill(grid, {});
    for (int i = 1; i <= 300; ++i)
        grid.SetRowHidden(grid.AddItem(QStringLiteral("%1\tName %1\t").arg(i)), i % 3 == 0);
    grid.SetRowHidden(grid.FindRow(0, QStringLiteral("30")), false);
    grid.SetRowHidden(grid.FindRow(0, QStringLiteral("31")), true);
    grid.RemoveItem(grid.FindRow(0, QStringLiteral("10")));
    auto shouldHide = [](int key) { return key == 31 || (key % 3 == 0 && key != 30); };

    // Hidden rows are still there to be found and read.
    QCOMPARE(grid.FindRow(0, QStringLiteral("0")), 1);
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name 3")), 4);
    QCOMPARE(grid.TextMatrix(4, 1), QStringLiteral("Name 3"));
    QCOMPARE(grid.FindRow(0, QStringLiteral("10")), -1);
    grid.SetTextMatrix(200, 1, QStringLiteral("Name 3"));
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name 3"), 5), 200);
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name 3"), 201), -1);
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name")), -1);
    QCOMPARE(grid.FindRow(1, QStringLiteral("Name"), 0), 0);

    // The view shows the same once the window is back in the event loop.
    QApplication::processEvents();
    QVERIFY(grid.isRowHidden(0));
    for (int r = 2; r < grid.Rows(); ++r) {
        const bool hide = shouldHide(grid.TextMatrix(r, 0).toInt());
        QCOMPARE(grid.IsRowHidden(r), hide);
        QCOMPARE(grid.isRowHidden(r - 1), hide);
    }

    // Keys and clicks straight after a change already see it.
    Show(grid);
    grid.SetRow(2);
    grid.SetRowHidden(3, true);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("4"));
    grid.SetRowHidden(3, false);
    grid.SetRowHidden(2, true);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(grid.Row(), 3);

    // Row 0's height 0 is the heading gone.
    grid.SetRowHidden(0, true);
    QVERIFY(grid.IsRowHidden(0));
    QVERIFY(!grid.horizontalHeader()->isVisible());
}

void tst_Grid::sortOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    // Ordinal comparison: capitals before small letters, no locale rules.
    QTest::newRow("case sensitive") << QStringList{"adams", "Zeta", "Young", "abbot"}
                                    << QStringList{"Young", "Zeta", "abbot", "adams"};
    // The envelope sort key: right-aligned numbers, then names behind Zs.
    QTest::newRow("envelope keys") << QStringList{"ZZZZZZZZZZAbbot", "        10Adams", "         9Young"}
                                   << QStringList{"         9Young", "        10Adams", "ZZZZZZZZZZAbbot"};
    QTest::newRow("accents after ascii") << QStringList{"\u00c9mile", "Emma", "Zoe"}
                                         << QStringList{"Emma", "Zoe", "\u00c9mile"};
}

void tst_Grid::sortOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    QvGrid grid;
    QStringList records;
    for (int i = 0; i < names.size(); ++i)
        records << QStringLiteral("%1\t%2\t").arg(i).arg(names[i]);
    Fill(grid, records);
    grid.Sort(1);
    QCOMPARE(Column(grid, 1).mid(1), sorted);
    for (int r = 2; r < grid.Rows(); ++r) {
        QCOMPARE(names.at(grid.TextMatrix(r, 0).toInt()), grid.TextMatrix(r, 1)); // keys travel along
        QCOMPARE(grid.model()->data(grid.model()->index(r - 1, 1)).toString(), grid.TextMatrix(r, 1));
    }
}

void tst_Grid::sortKeepsHeadingPlaceholderHiddenRowsAndCurrentRecord()
{
    QvGrid grid;
    Fill(grid, {"1\tMiller\t5", "2\tBaker\t3", "3\tMiller\t1", "4\tAdams\t4", "5\tMiller\t2", "6\tCole\t6"});
    grid.SetRowHidden(3, true); // Baker
    grid.SetRowHidden(6, true); // the last Miller
    grid.SetRow(4);             // the second Miller
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);
    grid.Sort(1);

    QCOMPARE(grid.TextMatrix(0, 1), QStringLiteral("Name"));
    // The placeholder's empty name sorts first; equal names keep their order.
    QCOMPARE(Column(grid, 0), (QStringList{"0", "4", "2", "6", "1", "3", "5"}));
    const QStringList hiddenKeys{"0", "2", "5"};
    for (int r = 1; r < grid.Rows(); ++r) {
        QCOMPARE(grid.IsRowHidden(r), hiddenKeys.contains(grid.TextMatrix(r, 0)));
        QCOMPARE(grid.isRowHidden(r - 1), grid.IsRowHidden(r));
    }
    QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("3"));
    QVERIFY(grid.selectionModel()->isRowSelected(grid.Row() - 1, {}));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toInt(), 6);
    QCOMPARE(moved.at(0).at(1).toInt(), 4);

    // Once more on another column, with the view catching up on rows
    // hidden since.
    grid.SetRowHidden(grid.FindRow(0, QStringLiteral("6")), true);
    grid.Sort(2);
    QCOMPARE(Column(grid, 2), (QStringList{"", "1", "2", "3", "4", "5", "6"}));
    for (int r = 1; r < grid.Rows(); ++r)
        QCOMPARE(grid.isRowHidden(r - 1), grid.TextMatrix(r, 0) == "6" || hiddenKeys.contains(grid.TextMatrix(r, 0)));
}

void tst_Grid::sortIsStableOnManyEqualNames()
{
    // Enough rows that a sort which is stable only for short runs shows it.
    QvGrid grid;
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

void tst_Grid::selectingRowsByProgram()
{
    QvGrid grid;
    Fill(grid, Numbered(8));
    QCOMPARE(grid.Row(), 0);
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);

    grid.Select(3, 6);
    QCOMPARE(grid.Row(), 6);
    QCOMPARE(grid.RowSel(), 6);
    for (int r = 1; r < grid.Rows(); ++r)
        QCOMPARE(grid.selectionModel()->isRowSelected(r - 1, {}), r >= 3 && r <= 6);
    QVERIFY(grid.currentIndex().column() >= 1); // never in the hidden key column
    grid.Select(7, 4);
    QCOMPARE(grid.Row(), 4);
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 4);
    grid.SetRow(4); // the same row: no change to announce
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
    grid.SetRow(0); // the heading is no place to be
    QCOMPARE(grid.Row(), 0);
    QVERIFY(!grid.selectionModel()->hasSelection());
    grid.SetRow(42);
    QCOMPARE(grid.Row(), 0);

    const QList<QPair<int, int>> expected{{6, 0}, {4, 6}, {0, 4}};
    QCOMPARE(moved.count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(moved.at(i).at(0).toInt(), expected[i].first);
        QCOMPARE(moved.at(i).at(1).toInt(), expected[i].second);
    }
}

void tst_Grid::keyboardSkipsHiddenRowsAndFixedColumns()
{
    QvGrid grid;
    Fill(grid, Numbered(6));
    grid.SetRowHidden(4, true);
    grid.SetRowHidden(5, true);
    Show(grid);
    grid.SetRow(3);
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);

    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.Row(), 6);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(1).toInt(), 3);
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
    QTest::keyClick(&grid, Qt::Key_Up);
    QCOMPARE(grid.Row(), 3);
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up); // not onto the hidden placeholder
    QCOMPARE(grid.Row(), 2);

    // With the key column shown and two fixed columns, the cursor only
    // moves in the envelope column, whatever key is pressed.
    grid.SetColWidthTwips(0, 1440);
    grid.SetFixedCols(2);
    QCOMPARE(grid.currentIndex().column(), 2);
    for (auto key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_Down}) {
        QTest::keyClick(&grid, key);
        QCOMPARE(grid.currentIndex().column(), 2);
    }
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid.currentIndex().column(), 2);
    QCOMPARE(grid.Row(), 2);

    // No key opens an editor.
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(&grid, Qt::Key_A);
    QCOMPARE(grid.findChildren<QLineEdit*>().size(), 0);
}

void tst_Grid::mouseClicksAndDoubleClicks()
{
    QvGrid grid;
    Fill(grid, Numbered(6));
    grid.SetColWidthTwips(0, 1440);
    grid.SetFixedCols(1);
    Show(grid);
    const int before = grid.Row(); // focus may have made the first record current
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);
    QSignalSpy opened(&grid, &QvGrid::RowDoubleClicked);

    // A click in a fixed column selects the row, the current cell beside it.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 4, 0));
    QCOMPARE(grid.Row(), 4);
    QCOMPARE(grid.currentIndex().column(), 1);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(1).toInt(), before);

    // The user only ever has one row selected, even after a program's range.
    grid.Select(2, 5);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(grid, 7, 2));
    QCOMPARE(grid.Row(), 7);
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);

    DoubleClick(grid.viewport(), CellCentre(grid, 3, 2));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toInt(), 3);
    QCOMPARE(grid.findChildren<QLineEdit*>().size(), 0); // no editor either
    // Neither the heading nor the space below the rows is a record to open.
    QHeaderView* heading = grid.horizontalHeader();
    DoubleClick(heading->viewport(), QPoint(heading->sectionViewportPosition(1) + 5, heading->height() / 2));
    DoubleClick(grid.viewport(), QPoint(20, grid.viewport()->height() - 5));
    QCOMPARE(opened.count(), 1);
}

void tst_Grid::topRowScrolls()
{
    QvGrid grid;
    Fill(grid, Numbered(500));
    // A window scrolls straight after filling, before any event is handled.
    grid.SetTopRow(100);
    Show(grid);
    QCOMPARE(grid.TopRow(), 100);
    QCOMPARE(grid.rowAt(0), 99);

    grid.SetRowHidden(100, true);
    QCOMPARE(grid.TopRow(), 101);
    grid.SetRowHidden(150, true);
    grid.SetRowHidden(151, true);
    grid.SetTopRow(150); // the next row shown takes the hidden one's place
    QCOMPARE(grid.TopRow(), 152);
    grid.SetTopRow(1);
    QCOMPARE(grid.TopRow(), 2);

    // The last rows cannot reach the top; the grid goes as far as it can.
    grid.SetTopRow(grid.Rows() - 1);
    QCOMPARE(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
    QVERIFY(grid.viewport()->rect().contains(grid.visualRect(grid.model()->index(grid.Rows() - 2, 1))));

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
    grid.SetRow(300);
    QApplication::processEvents();
    QVERIFY(grid.viewport()->rect().contains(grid.visualRect(grid.currentIndex()).center()));
}

void tst_Grid::removingRows()
{
    QvGrid grid;
    Fill(grid, Numbered(6));
    grid.SetRowHidden(5, true);
    grid.SetRow(4);
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);

    // The rows below move up, hidden ones still hidden, and the current
    // record with them: the window hears of its new number once.
    grid.RemoveItem(3);
    QCOMPARE(Column(grid, 0), (QStringList{"0", "101", "103", "104", "105", "106"}));
    QVERIFY(grid.isRowHidden(3));
    QVERIFY(!grid.isRowHidden(2) && !grid.isRowHidden(4));
    QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("103"));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toInt(), 3);
    QCOMPARE(moved.at(0).at(1).toInt(), 4);

    // Removing the current row makes the next row shown current, passing
    // over a row hidden long ago and one hidden just before.
    grid.SetRowHidden(5, true);
    grid.RemoveItem(3);
    QCOMPARE(Column(grid, 0), (QStringList{"0", "101", "104", "105", "106"}));
    QCOMPARE(grid.Row(), 5);
    QCOMPARE(moved.count(), 2);

    grid.RemoveItem(0); // the heading stays
    QCOMPARE(grid.TextMatrix(0, 0), QStringLiteral("Key"));
    QCOMPARE(grid.Rows(), 6);
}

void tst_Grid::clearStartsOver()
{
    QvGrid grid;
    Fill(grid, Numbered(4));
    grid.SetRow(3);
    grid.SetRowHidden(0, true);
    QSignalSpy moved(&grid, &QvGrid::CurrentRowChanged);

    grid.Clear();
    QCOMPARE(grid.Rows(), 0);
    QCOMPARE(grid.Cols(), 0);
    QCOMPARE(grid.model()->rowCount(), 0);
    QCOMPARE(grid.Row(), 0);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(1).toInt(), 3);
    QVERIFY(!grid.IsRowHidden(0));

    // The next row added is a heading again; old widths and hidden rows are
    // gone with their columns and rows.
    grid.SetCols(2);
    QCOMPARE(grid.AddItem(QStringLiteral("A\tB")), 0);
    QCOMPARE(grid.AddItem(QStringLiteral("1\tx")), 1);
    QVERIFY(!grid.isColumnHidden(0));
    QVERIFY(!grid.isRowHidden(0));
    QCOMPARE(grid.ColWidthTwips(0), grid.ColWidthTwips(1));
}

QV_WIDGET_TEST_MAIN(tst_Grid)
#include "tst_grid.moc"

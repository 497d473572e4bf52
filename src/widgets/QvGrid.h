#pragma once

#include <QStringList>
#include <QTableView>
#include <QVariantList>
#include <vector>

class QvGridModel;

// One data row as a window hands it to the grid: what each column shows,
// and what the window reads back later as values rather than from the text.
struct GridRow {
    qint64 key = 0;      // the record the row stands for; 0 for none
    QStringList cells;   // the text of each column, as shown
    // The typed value behind a column, where the window has one (an amount
    // in cents, an envelope number, a date); missing or invalid elsewhere.
    // Sort orders a column by these values where the rows carry them.
    QVariantList values;
    bool hidden = false;   // never shown (the placeholder row)
    bool inactive = false; // shown only while the grid shows all rows
};

// The grid every fg... grid of the program is. It keeps the program's own
// row numbers: row 0 is the fixed heading row (shown as the grid's header),
// data rows follow from row 1; the list windows put a hidden placeholder
// row with key "0" at row 1 and their records from row 2.
//
// Typical use:
//   grid->Clear();
//   grid->SetCols(3);
//   grid->SetColWidthTwips(0, 0);            // a hidden key column
//   grid->AddItem("Key\tName\tEnvelope");    // the first row added is the heading
//   grid->SetHeadingLines(2);                // heading twice the normal height
//   grid->AddItem("0\t\t");                  // placeholder
//   grid->SetRowHidden(1, true);
//   grid->AddRow({17, {"17", "Smith, John", "7"}, {{}, {}, 7}});
//   grid->Sort(1);
//   grid->Key(grid->Row());                  // 17
class QvGrid : public QTableView {
    Q_OBJECT
public:
    explicit QvGrid(QWidget* parent = nullptr);
    ~QvGrid() override;

    // --- layout ---------------------------------------------------------
    // No rows, no heading, no columns (nor their widths and alignments); the
    // heading lines and fixed columns stay, being the window's settings.
    void Clear();
    void SetCols(int n);
    int Cols() const;
    void SetColWidthTwips(int col, int twips);   // 0 hides the column
    int ColWidthTwips(int col) const;
    void SetColAlignment(int col, Qt::Alignment a); // data cells
    void SetHeadingLines(int lines);             // height of the heading row in text lines
    // Columns 0..n-1 never take the current cell; the user moves only in the others.
    void SetFixedCols(int n);

    // --- rows (program numbering: 0 heading, 1.. data) -------------------
    int Rows() const;                            // the heading row counts
    // Adds a row from tab-separated cells; the first row added after Clear
    // becomes the heading row. Returns the new row's number.
    int AddItem(const QString& tabSeparated);
    // Adds many data rows at once (a heading must be there): a list of
    // thousands fills in one step. Returns the first new row's number.
    int AddRows(std::vector<GridRow> rows);
    int AddRow(GridRow row);
    // Replaces a data row's key, cells, values and flags where it stands.
    void ReplaceRow(int row, GridRow with);
    void RemoveItem(int row);
    QString TextMatrix(int row, int col) const;
    // A cell's new text drops the value it had: the two always go together.
    void SetTextMatrix(int row, int col, const QString& text);
    void SetCell(int row, int col, const QString& text, const QVariant& value);
    qint64 Key(int row) const;                   // 0 for the heading and rows without one
    QVariant Value(int row, int col) const;      // invalid where none was given
    void SetRowHidden(int row, bool hidden);     // "row height 0"
    void SetRowHeightLines(int row, int lines);  // a data row as tall as that many rows
    // Hidden by its own flag, or inactive while the grid does not show all.
    bool IsRowHidden(int row) const;
    // The window's "Show All" box: inactive rows shown or not, those added
    // later too. It outlasts Clear, being the window's setting.
    void SetShowAll(bool all);
    // The height that shows the heading and every row without scrolling.
    int Rows_Height() const;
    QSize minimumSizeHint() const override;
    // The first row from 'from' on whose cell in col equals text, or -1.
    int FindRow(int col, const QString& text, int from = 1) const;
    // The first data row of that key, or -1.
    int FindKey(qint64 key) const;
    // The first row from 'from' on whose value in col equals value, or -1;
    // the first whose text in col begins with prefix, or -1. Both look at
    // hidden rows too: a quick find reaches records the filter hides.
    int FindValue(int col, const QVariant& value, int from = 1) const;
    int FindPrefix(int col, const QString& prefix, int from = 1) const;
    // Ascending order on one column: by the rows' values where they carry
    // them (numbers as numbers, dates as dates; rows without one first),
    // else by case-sensitive text; the heading stays,
    // each row keeps its own hidden state, and the current record stays
    // current under its new row number.
    void Sort(int col);
    // One row whose cell in col changed, put where it belongs in a grid
    // already in that order (what Sort would do, for one row and at once);
    // returns its new row number.
    int Move_Into_Order(int row, int col);

    // --- selection and scrolling -------------------------------------------
    int Row() const;                             // current row (0 when none)
    void SetRow(int row);
    // Selects from anchor to end row; the current row becomes the end row.
    void Select(int anchorRow, int endRow);
    int RowSel() const;                          // end row of the selection
    int TopRow() const;
    void SetTopRow(int row);

signals:
    void RowDoubleClicked(int row);
    void CurrentRowChanged(int row, int previousRow);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    // Enter acts as a double-click where the window gives a double-click a
    // meaning (open, edit, select); elsewhere it goes on to the window.
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int FirstFreeCol() const;
    QModelIndex CellOf(int row) const;
    void KeepOffFixedCols();
    void ReportCurrentRow();
    void ApplyHeadingHeight();
    bool Hides(const GridRow& row) const;
    void NoteHiddenChange(int from, int to);
    void ApplyHiddenRows();

    QvGridModel* m_model;
    int m_fixedCols = 0;
    int m_headingLines = 0;      // 0: as tall as the heading text needs
    int m_reportedRow = 0;       // the row CurrentRowChanged last announced
    bool m_holdReports = false;  // set while a change passes through several states
    bool m_headingHidden = false;
    bool m_showAll = false;
    std::vector<int> m_widthTwips; // as set; -1 for Qt's default width
    // Model rows whose hidden state the view may not show yet.
    int m_hiddenFrom = 0;
    int m_hiddenTo = -1;
    bool m_applyQueued = false;
};

#pragma once

#include <QStringList>
#include <QTableView>
#include <vector>

class QvGridModel;

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
//   grid->AddItem("17\tSmith, John\t7");
//   grid->Sort(1);
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
    // Adds many data rows at once, cells already apart (a heading must be
    // there): a list of thousands fills in one step. Returns the first new
    // row's number.
    int AddRows(std::vector<std::vector<QString>> rows);
    void RemoveItem(int row);
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);
    void SetRowHidden(int row, bool hidden);     // "row height 0"
    void SetRowHeightLines(int row, int lines);  // a data row as tall as that many rows
    bool IsRowHidden(int row) const;
    // The height that shows the heading and every row without scrolling.
    int Rows_Height() const;
    QSize minimumSizeHint() const override;
    // The first row from 'from' on whose cell in col equals text, or -1.
    int FindRow(int col, const QString& text, int from = 1) const;
    // Ascending, case-sensitive text order on one column; the heading stays,
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
    void NoteHiddenChange(int from, int to);
    void ApplyHiddenRows();

    QvGridModel* m_model;
    int m_fixedCols = 0;
    int m_headingLines = 0;      // 0: as tall as the heading text needs
    int m_reportedRow = 0;       // the row CurrentRowChanged last announced
    bool m_holdReports = false;  // set while a change passes through several states
    bool m_headingHidden = false;
    std::vector<int> m_widthTwips; // as set; -1 for Qt's default width
    // Model rows whose hidden state the view may not show yet.
    int m_hiddenFrom = 0;
    int m_hiddenTo = -1;
    bool m_applyQueued = false;
};

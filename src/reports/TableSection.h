#pragma once

#include "PageComposer.h"
#include "ReportTable.h"

#include <functional>

// The columns of a tabular report: titles (several lines, bottom-aligned)
// repeated on every page, a line per row, totals under the money columns
// for each group and for the whole table. Sorting and grouping happen here,
// on the table the report was given.
struct TableColumn {
    enum class Format { Text, Money, Number, Date };
    QString field;      // the table field shown; empty for a column filled by Cell
    QString title;      // CR LF or LF separate its lines
    double width = 0;   // units
    Format format = Format::Text;
    bool total = false; // money columns sum up under groups and the report
    bool blankZero = false; // a zero amount on a detail line stays blank
    // A cell whose text is not just the field's (a name or an envelope number).
    std::function<QString(const ReportTable&, int row)> cell;
};

struct TableGroup {
    // Rows with the same key form a group; groups follow the table's order
    // (or the sort field's).
    std::function<QString(const ReportTable&, int row)> key;
    // The band above a group, from its first row; none when not set.
    std::function<Band(PageComposer&, const ReportTable&, int firstRow)> header;
    // The label of the group's totals line; no totals line when empty.
    std::function<QString(const ReportTable&, int firstRow)> footerLabel;
    bool newPage = false;          // each group starts on a page of its own
    bool restartNumbering = false; // and has its own "Page 1 of n"
};

class TableSection {
public:
    TableSection(PageComposer& composer, std::vector<TableColumn> columns, int font, int boldFont);

    Band Heading() const;
    // A detail line; every other line is shaded, so the eye can follow a
    // line across the page.
    // record: the line is kept for the CSV export too, from the same texts.
    Band Row(const ReportTable& t, int row, bool shaded = false, bool record = false) const;
    // A totals line: the label right-aligned before the first money column.
    Band Totals(const QString& label, const std::vector<double>& sums, bool grand) const;

    // Lays the table out: rows in table order, or by sortKey (text, stable);
    // rows the filter refuses are left out. Returns the grand totals, one per
    // column (0 where a column has no total).
    std::vector<double> Run(const ReportTable& t, const std::vector<TableGroup>& groups = {},
                            const QString& grandTotalLabel = QString(),
                            std::function<QString(const ReportTable&, int row)> sortKey = {},
                            std::function<bool(int row)> filter = {});

    static QString CellText(const TableColumn& c, const ReportTable& t, int row, bool detail);
    // The name of the table in the CSV export, and columns printed beside
    // the table rather than in it (the contributor of a statement), put
    // first on each of its lines there.
    void Export_As(const QString& name, const QStringList& leadHeadings = {}, const QStringList& leadCells = {});
    void Record_Totals(const QString& label, const std::vector<double>& sums) const;
    const std::vector<TableColumn>& Columns() const { return m_columns; }
    double Padding() const { return m_pad; }

private:
    PageComposer& m_composer;
    std::vector<TableColumn> m_columns;
    int m_font, m_bold;
    double m_pad = 50; // units between a column's edge and its text
    QString m_exportName; // the document's title when not named
    QStringList m_leadHeadings, m_leadCells;
    PrintedTable& Printed() const;
    mutable int m_printed = -1; // index of the printed table in the document
};

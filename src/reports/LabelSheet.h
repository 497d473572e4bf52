#pragma once

#include "ReportDocument.h"

// Label stock: a sheet of nx by ny labels of one size, the first one's
// top-left corner at (x0, y0), the next across dx and down dy further on.
// All lengths in report units.
struct LabelGeometry {
    QString name;
    QSizeF page;
    double width = 0, height = 0;
    int nx = 1, ny = 1;
    double x0 = 0, y0 = 0, dx = 0, dy = 0;
    // Sheets that are no plain grid: every label's top-left corner, in the
    // order labels are filled. When set, nx, ny, x0, y0, dx, dy are unused.
    std::vector<QPointF> cells;
    int PerSheet() const { return cells.empty() ? nx * ny : int(cells.size()); }
    // Avery 5160 (US Letter, 3 x 10 address labels of 2 5/8 x 1 inch),
    // placed as the label templates place it.
    static LabelGeometry Avery5160();
};

// Lays labels onto sheets in reading order (across, then down), one text
// block per label. A block too large for its label is drawn in a smaller
// font, not below 8 points, and its long lines wrap.
class LabelSheet {
public:
    LabelSheet(ReportDocument& doc, const LabelGeometry& geometry, double padding = ReportUnits::Inches(0.1));

    // The label's area on its page; index counts from the first label of
    // the first sheet.
    QRectF LabelRect(int index) const;
    // Adds the next label; returns the font scale used (1 when it fitted);
    // fits tells whether the text fitted the label at all.
    double Add_Label(const QString& text, int font, bool* fits = nullptr);
    // A label led by a large line (an envelope number) with the text under
    // it.
    double Add_Label(const QString& lead, int leadFont, const QString& text, int font, bool* fits = nullptr);
    // Leaves the next label empty (labels used up on a sheet already).
    void Skip_Label();
    int Count() const { return m_count; }

private:
    void Ensure_Page(int index);

    ReportDocument& m_doc;
    LabelGeometry m_g;
    double m_pad;
    int m_count = 0;
};

#pragma once

#include <QColor>
#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// A report laid out once: pages of positioned text runs, lines and boxes.
// The same pages paint the viewer, the printer and a PDF file, so what is
// previewed is what prints. Positions are in report units (1/1200 inch) from
// the page's top-left corner, and text was measured at that resolution, so a
// page paints the same on every device.
namespace ReportUnits {
constexpr double PerInch = 1200.0;
constexpr double PerPoint = PerInch / 72.0;
inline double Inches(double in) { return in * PerInch; }
} // namespace ReportUnits

// A font of the report, named explicitly so that reports look the same on
// every machine.
struct ReportFont {
    QString family = QStringLiteral("DejaVu Sans");
    double pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool operator==(const ReportFont& o) const
    {
        return family == o.family && pointSize == o.pointSize && bold == o.bold && italic == o.italic;
    }
};

struct PageItem {
    enum Kind : quint8 { Text, Line, Box };
    Kind kind = Text;
    quint8 font = 0;     // index into the document's fonts
    int flags = 0;       // Qt alignment and Qt::TextWordWrap for text
    float scale = 1.0f;  // a text shrunk to fit draws its font this much smaller
    float pen = 0;       // line and box outline width in units, 0 = none
    QRectF rect;         // text and box area; a line runs from topLeft to bottomRight
    QString text;
    QColor fill;         // box fill; invalid = none
};

struct ReportPage {
    std::vector<PageItem> items;
    int number = 1; // within its numbering group ("Page 1 of 2" of one statement)
    int count = 1;  // pages of the numbering group
};

// A table as the report prints it, kept for the CSV export: its column
// headings each on one line, its lines (totals lines included) in printed
// order, every cell as printed except amounts, which are plain numbers with
// two decimals so that a spreadsheet can sum them.
struct PrintedTable {
    QString name;
    QStringList headings;
    std::vector<QStringList> rows;
};

class ReportDocument {
public:
    ReportDocument();

    QString title;
    QSizeF pageSize;     // units; US Letter unless a layout says otherwise
    QDate printed;       // the printing date every page carries
    std::vector<ReportPage> pages;
    std::vector<PrintedTable> tables;
    // What does not fit where it prints even in the smallest font allowed
    // (labels, by their first line): the reader is told before printing.
    QStringList unfit;
    QString unfitKind = QStringLiteral("label"); // "3 labels do not fit"
    // The printed table to add lines to: the one last begun with this name
    // and these headings, or a new one (statements print the same table once
    // per contributor).
    PrintedTable& Printed_Table(const QString& name, const QStringList& headings);
    // The pages, printed tables and unfit items of a part laid out apart
    // (on another thread) put after this document's, as if laid out here.
    void Append(ReportDocument&& part);

    int PageCount() const { return int(pages.size()); }
    // Adds a font (or finds it) and returns its index.
    int Font(const ReportFont& style);
    const std::vector<ReportFont>& Fonts() const { return m_fonts; }

    // The font as text is measured: at 1200 units to the inch, on this
    // device.
    static QFont MeasureFont(const ReportFont& style, double scale = 1.0);
    static const QPaintDevice* MeasureDevice();
    // Size of a text in units; wrapped at width when width > 0.
    QSizeF Measure(int font, const QString& text, double width = 0, int flags = 0, double scale = 1.0) const;
    // The least height the text takes however it wraps: that of its lines
    // unwrapped, when the font has every letter of it (a letter from
    // another font may make a line lower); 0 when it does not.
    double Least_Height(int font, const QString& text, double scale = 1.0) const;
    // The text with a line break inside every word too wide for width, at
    // the last letter that still fits: wrapping then never leaves a word
    // running past its column, where the drawing would cut it off.
    QString Break_Long_Words(int font, const QString& text, double width, double scale = 1.0) const;
    // The measures of a document laid out before with the same fonts, for
    // a run that lays out one part at a time.
    void Take_Measures(const ReportDocument& from) const
    {
        if (from.m_fonts == m_fonts) {
            m_measured = std::move(from.m_measured);
            m_measuredBefore = std::move(from.m_measuredBefore);
            m_metrics = std::move(from.m_metrics);
        }
    }
    // A document of no pages holding the measures (and fonts) of one just
    // laid out, which keeps its pages: what a thread laying out part after
    // part keeps while the part goes on to be written.
    static ReportDocument Measures_Of(const ReportDocument& laidOut)
    {
        ReportDocument kept;
        kept.m_fonts = laidOut.m_fonts;
        kept.m_measured = std::move(laidOut.m_measured);
        kept.m_measuredBefore = std::move(laidOut.m_measuredBefore);
        kept.m_metrics = std::move(laidOut.m_metrics);
        return kept;
    }

    // Paints a page into target (the painter's device coordinates).
    void Paint(QPainter& painter, int page, const QRectF& target) const;
    // Where a page of this size goes on the device's paper: paper other than
    // the report's (A4 chosen in the print dialog) gets the page at the same
    // proportions, as large as fits, centred across.
    static QRectF Paper_Rect(const QPagedPaintDevice& device, const QSizeF& pageSize);
    // Paints every page (or from..to, 0-based, inclusive) on a paged device
    // (a printer) whose page size the caller has set.
    void Render(QPagedPaintDevice& device, int from = 0, int to = -1) const;
    // A PDF file of every page; false with the reason on failure.
    bool WritePdf(const QString& path, QString* error = nullptr) const;

private:
    std::vector<ReportFont> m_fonts;

    // A statement run measures the same dates, amounts and headings
    // thousands of times over; each is shaped once.
    struct MeasureKey {
        int font;
        int flags;
        double width;
        double scale;
        QString text;
        bool operator==(const MeasureKey& o) const
        {
            return font == o.font && flags == o.flags && width == o.width && scale == o.scale && text == o.text;
        }
        friend size_t qHash(const MeasureKey& k, size_t seed = 0)
        {
            return qHashMulti(seed, k.font, k.flags, k.width, k.scale, k.text);
        }
    };
    // Two generations: when the young one is full the old one goes, so that
    // a thread laying out statement after statement keeps the texts they
    // share and lets the names and addresses of those long done go.
    static constexpr qsizetype kMeasureGeneration = 8192;
    mutable QHash<MeasureKey, QSizeF> m_measured, m_measuredBefore;
    mutable std::map<std::pair<int, double>, QFontMetricsF> m_metrics;
    const QFontMetricsF& Metrics(int font, double scale) const;
};

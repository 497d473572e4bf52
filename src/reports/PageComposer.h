#pragma once

#include "ReportDocument.h"

#include <functional>
#include <optional>

// A horizontal strip of a report (a heading, a detail line, a total), built
// with positions relative to its own top-left corner and measured before it
// is placed, so that the composer knows whether it still fits on the page.
class Band {
public:
    Band(ReportDocument* doc, double width) : m_doc(doc), m_width(width) {}

    const ReportDocument* Document() const { return m_doc; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    void SetHeight(double h) { m_height = std::max(m_height, h); }
    bool IsEmpty() const { return m_items.empty() && m_height <= 0; }
    const std::vector<PageItem>& Items() const { return m_items; }

    // A text in a column; wraps at the column's width unless noWrap. Returns
    // the height it takes. Alignment flags as Qt's (Qt::AlignRight ...).
    double Text(double x, double y, double width, const QString& text, int font, int align = Qt::AlignLeft,
                bool noWrap = false);
    // A text that must fit the area: its font is made smaller until it
    // does, but not below 8 points; lines still too long wrap. Returns the
    // scale used; fits tells whether the text fitted the area at last.
    double FittedText(const QRectF& area, const QString& text, int font, int align = Qt::AlignLeft | Qt::AlignTop,
                      bool* fits = nullptr);
    // A text placed as measured elsewhere: area, flags and font scale as
    // given.
    void Put_Text(const QRectF& area, const QString& text, int font, int flags, double scale = 1.0);
    void Line(double x1, double y1, double x2, double y2, double pen = 6);
    void Box(const QRectF& r, double pen = 6, const QColor& fill = QColor());
    // A filled area under everything already in the band (row shading).
    void Underlay(const QRectF& r, const QColor& fill);
    // Every item of another band, moved down by y.
    void Append(const Band& other, double y);

private:
    ReportDocument* m_doc;
    double m_width;
    double m_height = 0;
    std::vector<PageItem> m_items;
};

// Where the page furniture comes from: the composer asks for the header when
// a page starts and for the footer once every page is laid out, when "Page x
// of y" is known.
struct PageInfo {
    int index = 0;  // 0-based in the document
    int number = 1; // within its numbering group
    int count = 0;  // pages of the numbering group; 0 while laying out
};

// Lays bands down the pages of a document: page header and footer on every
// page, a heading repeated under the header while a table runs, a page break
// before a band that does not fit, numbering groups that restart "Page 1 of
// n" (one per statement), and blocks placed at exact coordinates (an
// address in an envelope window).
class PageComposer {
public:
    using BandFn = std::function<Band(const PageInfo&)>;

    // Margins in units; half an inch all round by default.
    explicit PageComposer(ReportDocument& doc, const QMarginsF& margins = QMarginsF(600, 600, 600, 600));

    ReportDocument& Document() { return m_doc; }
    double ContentWidth() const;
    double Left() const { return m_margins.left(); }
    Band NewBand() { return Band(&m_doc, ContentWidth()); }

    void SetPageHeader(BandFn fn) { m_header = std::move(fn); }
    void SetPageFooter(BandFn fn) { m_footer = std::move(fn); }
    // Placed under the page header on every page that starts while set.
    void SetRepeatedHeading(std::optional<Band> heading) { m_repeat = std::move(heading); }
    // Places a heading now (with keepWithNext units of room under it) and
    // repeats it on every page that follows, until SetRepeatedHeading({}).
    void Begin_Repeated_Heading(const Band& heading, double keepWithNext);

    // Places a band at the cursor; starts a new page first when it (and
    // keepWithNext units after it) does not fit. A band taller than a whole
    // page is placed anyway, at the top of a page of its own.
    void Add(const Band& band, double keepWithNext = 0);
    void Skip(double height);
    // Places a band with its top-left corner at pos on the current page,
    // without moving the cursor.
    void Place(const Band& band, QPointF pos);
    void NewPage();
    // The next page begins a numbering group of its own ("Page 1 of ...").
    void Restart_Numbering();
    double Remaining() const; // units left above the footer on this page
    int CurrentPage() const { return int(m_doc.pages.size()) - 1; }

    // Ends the layout: numbers every page and adds the footers.
    void Finish();

private:
    void StartPage();
    void Put(const Band& band, double x, double y);
    double Bottom() const;

    ReportDocument& m_doc;
    QMarginsF m_margins;
    BandFn m_header, m_footer;
    std::optional<Band> m_repeat;
    double m_y = 0;
    double m_bodyTop = 0; // where the page's body begins, under its furniture
    double m_footerHeight = 0;
    bool m_pageOpen = false;
    bool m_restart = false;
    std::vector<int> m_groupStart; // first page of each numbering group
};

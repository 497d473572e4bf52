#include "PageComposer.h"

#include <cmath>

double Band::Text(double x, double y, double width, const QString& text, int font, int align, bool noWrap)
{
    const int flags = align | (noWrap ? 0 : int(Qt::TextWordWrap));
    QSizeF size = m_doc->Measure(font, text, noWrap ? 0 : width, flags);
    QString shown = text;
    if (!noWrap && size.width() > width + 0.5) {
        shown = m_doc->Break_Long_Words(font, text, width);
        size = m_doc->Measure(font, shown, width, flags);
    }
    PageItem it;
    it.kind = PageItem::Text;
    it.font = quint8(font);
    it.flags = flags;
    // The run's area keeps the column's width, so that right-aligned money
    // lines up on the column's edge; it is as high as the measured text.
    it.rect = QRectF(x, y, width, std::ceil(size.height()));
    it.text = shown;
    m_items.push_back(std::move(it));
    SetHeight(y + std::ceil(size.height()));
    return std::ceil(size.height());
}

double Band::FittedText(const QRectF& area, const QString& text, int font, int align, bool* fits)
{
    // The font shrinks no further than what a reader still reads; below
    // that a line too long wraps at its blanks (a word too long for the
    // area, within itself).
    const double minScale = std::min(1.0, 8.0 / m_doc->Fonts().at(size_t(font)).pointSize);
    const int flags = align | int(Qt::TextWordWrap);
    double scale = 1.0;
    QString shown = text;
    bool fitted = false;
    for (;; scale = std::max(minScale, scale - 0.025)) {
        shown = m_doc->Break_Long_Words(font, text, area.width(), scale);
        const QSizeF size = m_doc->Measure(font, shown, area.width(), flags, scale);
        fitted = size.width() <= area.width() + 0.5 && size.height() <= area.height() + 0.5;
        if (fitted || scale <= minScale)
            break;
    }
    if (fits)
        *fits = fitted;
    Put_Text(area, shown, font, flags, scale);
    return scale;
}

void Band::Put_Text(const QRectF& area, const QString& text, int font, int flags, double scale)
{
    PageItem it;
    it.kind = PageItem::Text;
    it.font = quint8(font);
    it.flags = flags;
    it.scale = float(scale);
    it.rect = area;
    it.text = text;
    m_items.push_back(std::move(it));
    SetHeight(area.bottom());
}

void Band::Line(double x1, double y1, double x2, double y2, double pen)
{
    PageItem it;
    it.kind = PageItem::Line;
    it.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    it.pen = float(pen);
    m_items.push_back(std::move(it));
    SetHeight(std::max(y1, y2) + pen / 2);
}

void Band::Box(const QRectF& r, double pen, const QColor& fill)
{
    PageItem it;
    it.kind = PageItem::Box;
    it.rect = r;
    it.pen = float(pen);
    it.fill = fill;
    m_items.push_back(std::move(it));
    SetHeight(r.bottom());
}

void Band::Underlay(const QRectF& r, const QColor& fill)
{
    PageItem it;
    it.kind = PageItem::Box;
    it.rect = r;
    it.fill = fill;
    m_items.insert(m_items.begin(), std::move(it));
    SetHeight(r.bottom());
}

void Band::Append(const Band& other, double y)
{
    for (PageItem it : other.m_items) {
        it.rect.translate(0, y);
        m_items.push_back(std::move(it));
    }
    SetHeight(y + other.Height());
}

PageComposer::PageComposer(ReportDocument& doc, const QMarginsF& margins) : m_doc(doc), m_margins(margins) {}

double PageComposer::ContentWidth() const
{
    return m_doc.pageSize.width() - m_margins.left() - m_margins.right();
}

double PageComposer::Bottom() const
{
    return m_doc.pageSize.height() - m_margins.bottom() - m_footerHeight;
}

double PageComposer::Remaining() const
{
    return m_pageOpen ? Bottom() - m_y : Bottom() - m_margins.top();
}

void PageComposer::Put(const Band& band, double x, double y)
{
    auto& items = m_doc.pages.back().items;
    for (PageItem it : band.Items()) {
        it.rect.translate(x, y);
        items.push_back(std::move(it));
    }
}

void PageComposer::StartPage()
{
    // A page of a statement or a listing holds a hundred-odd items.
    m_doc.pages.emplace_back().items.reserve(128);
    const int index = CurrentPage();
    if (m_groupStart.empty() || m_restart) {
        m_groupStart.push_back(index);
        m_restart = false;
    }
    m_pageOpen = true;
    m_y = m_margins.top();
    PageInfo info{index, index - m_groupStart.back() + 1, 0};
    m_footerHeight = m_footer ? m_footer(info).Height() : 0;
    if (m_header) {
        const Band header = m_header(info);
        Put(header, m_margins.left(), m_y);
        m_y += header.Height();
    }
    if (m_repeat) {
        Put(*m_repeat, m_margins.left(), m_y);
        m_y += m_repeat->Height();
    }
    m_bodyTop = m_y;
}

void PageComposer::NewPage()
{
    StartPage();
}

void PageComposer::Restart_Numbering()
{
    m_restart = true;
    m_pageOpen = false;
}

void PageComposer::Add(const Band& band, double keepWithNext)
{
    if (!m_pageOpen)
        StartPage();
    const double need = band.Height() + keepWithNext;
    // A band that does not fit moves to the next page, unless this page has
    // nothing on it yet but its furniture: then it stays, taller or not.
    if (m_y + need > Bottom() + 0.5) {
        if (m_y > m_bodyTop + 0.5)
            StartPage();
    }
    Put(band, m_margins.left(), m_y);
    m_y += band.Height();
}

void PageComposer::Begin_Repeated_Heading(const Band& heading, double keepWithNext)
{
    m_repeat.reset();
    if (!m_pageOpen || m_y + heading.Height() + keepWithNext > Bottom() + 0.5) {
        m_repeat = heading;
        StartPage();
        return;
    }
    Add(heading);
    m_bodyTop = m_y; // the heading alone on a page is no body to break after
    m_repeat = heading;
}

void PageComposer::Skip(double height)
{
    if (!m_pageOpen)
        StartPage();
    m_y = std::min(m_y + height, Bottom());
}

void PageComposer::Place(const Band& band, QPointF pos)
{
    if (!m_pageOpen)
        StartPage();
    Put(band, pos.x(), pos.y());
}

void PageComposer::Finish()
{
    if (m_doc.pages.empty())
        StartPage();
    m_groupStart.push_back(int(m_doc.pages.size()));
    for (size_t g = 0; g + 1 < m_groupStart.size(); ++g) {
        const int first = m_groupStart[g], end = m_groupStart[g + 1];
        for (int i = first; i < end; ++i) {
            ReportPage& page = m_doc.pages[size_t(i)];
            page.number = i - first + 1;
            page.count = end - first;
            if (m_footer) {
                const Band footer = m_footer(PageInfo{i, page.number, page.count});
                auto& items = page.items;
                for (PageItem it : footer.Items()) {
                    it.rect.translate(m_margins.left(), m_doc.pageSize.height() - m_margins.bottom() - footer.Height());
                    items.push_back(std::move(it));
                }
            }
        }
    }
    m_groupStart.pop_back();
    m_pageOpen = false;
}

#include "LabelSheet.h"

#include "PageComposer.h"

#include <algorithm>

LabelGeometry LabelGeometry::Avery5160()
{
    using ReportUnits::Inches;
    LabelGeometry g;
    g.name = QStringLiteral("Avery 5160");
    g.page = QSizeF(Inches(8.5), Inches(11));
    g.width = Inches(2.625);
    g.height = Inches(1);
    g.nx = 3;
    g.ny = 10;
    g.x0 = Inches(0.15625);
    g.y0 = Inches(0.5);
    g.dx = Inches(2.78125);
    g.dy = Inches(1);
    return g;
}

LabelSheet::LabelSheet(ReportDocument& doc, const LabelGeometry& geometry, double padding)
    : m_doc(doc), m_g(geometry), m_pad(padding)
{
    m_doc.pageSize = m_g.page;
}

QRectF LabelSheet::LabelRect(int index) const
{
    const int onSheet = index % m_g.PerSheet();
    if (!m_g.cells.empty())
        return QRectF(m_g.cells[size_t(onSheet)], QSizeF(m_g.width, m_g.height));
    const int col = onSheet % m_g.nx, row = onSheet / m_g.nx;
    return QRectF(m_g.x0 + col * m_g.dx, m_g.y0 + row * m_g.dy, m_g.width, m_g.height);
}

void LabelSheet::Ensure_Page(int index)
{
    const int sheet = index / m_g.PerSheet();
    while (int(m_doc.pages.size()) <= sheet) {
        m_doc.pages.emplace_back();
        m_doc.pages.back().number = int(m_doc.pages.size());
    }
    for (ReportPage& p : m_doc.pages)
        p.count = int(m_doc.pages.size());
}

double LabelSheet::Add_Label(const QString& text, int font, bool* fits)
{
    Ensure_Page(m_count);
    const QRectF area = LabelRect(m_count).adjusted(m_pad, m_pad, -m_pad, -m_pad);
    Band band(&m_doc, area.width());
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const double scale = band.FittedText(QRectF(QPointF(0, 0), area.size()), lines, font, Qt::AlignLeft | Qt::AlignVCenter, fits);
    for (PageItem it : band.Items()) {
        it.rect.translate(area.topLeft());
        m_doc.pages.back().items.push_back(std::move(it));
    }
    ++m_count;
    return scale;
}

double LabelSheet::Add_Label(const QString& lead, int leadFont, const QString& text, int font, bool* fits)
{
    if (lead.isEmpty())
        return Add_Label(text, font, fits);
    Ensure_Page(m_count);
    const QRectF area = LabelRect(m_count).adjusted(m_pad, m_pad, -m_pad, -m_pad);
    Band band(&m_doc, area.width());
    const double leadHeight = std::min(area.height() / 2, m_doc.Measure(leadFont, lead).height());
    bool leadFits = true, textFits = true;
    band.FittedText(QRectF(0, 0, area.width(), leadHeight), lead, leadFont, Qt::AlignLeft | Qt::AlignTop, &leadFits);
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const double scale = band.FittedText(QRectF(0, leadHeight, area.width(), area.height() - leadHeight), lines, font,
                                         Qt::AlignLeft | Qt::AlignTop, &textFits);
    for (PageItem it : band.Items()) {
        it.rect.translate(area.topLeft());
        m_doc.pages.back().items.push_back(std::move(it));
    }
    if (fits)
        *fits = leadFits && textFits;
    ++m_count;
    return scale;
}

void LabelSheet::Skip_Label()
{
    Ensure_Page(m_count);
    ++m_count;
}

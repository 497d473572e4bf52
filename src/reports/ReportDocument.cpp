#include "ReportDocument.h"

#include "PdfFile.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

namespace {
// Text is measured on an image of 1200 dots to the inch: a font of 9 points
// is 150 dots high there, so rounding in the metrics is far below what a
// printer shows.
const QImage& MetricsDevice()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        const int dpm = int(std::lround(ReportUnits::PerInch / 0.0254));
        i.setDotsPerMeterX(dpm);
        i.setDotsPerMeterY(dpm);
        return i;
    }();
    return image;
}

QFont DeviceFont(const ReportFont& style, double scale, double deviceDpi)
{
    QFont f(style.family);
    // The font's size in device pixels equals its size in units; the
    // painter's scale then brings units to the device.
    f.setPointSizeF(style.pointSize * scale * ReportUnits::PerInch / deviceDpi);
    f.setBold(style.bold);
    f.setItalic(style.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}
} // namespace

ReportDocument::ReportDocument() : pageSize(ReportUnits::Inches(8.5), ReportUnits::Inches(11)) {}

PrintedTable& ReportDocument::Printed_Table(const QString& name, const QStringList& headings)
{
    for (auto it = tables.rbegin(); it != tables.rend(); ++it)
        if (it->name == name && it->headings == headings)
            return *it;
    tables.push_back({name, headings, {}});
    return tables.back();
}

void ReportDocument::Append(ReportDocument&& part)
{
    std::vector<quint8> font(part.m_fonts.size());
    bool same = true;
    for (size_t i = 0; i < font.size(); ++i) {
        font[i] = quint8(Font(part.m_fonts[i]));
        same = same && font[i] == i;
    }
    pages.reserve(pages.size() + part.pages.size());
    for (ReportPage& page : part.pages) {
        if (!same)
            for (PageItem& item : page.items)
                item.font = font[item.font];
        pages.push_back(std::move(page));
    }
    for (PrintedTable& table : part.tables) {
        PrintedTable& mine = Printed_Table(table.name, table.headings);
        for (QStringList& row : table.rows)
            mine.rows.push_back(std::move(row));
    }
    unfit += part.unfit;
    part = ReportDocument();
}

int ReportDocument::Font(const ReportFont& style)
{
    for (size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i] == style)
            return int(i);
    m_fonts.push_back(style);
    return int(m_fonts.size()) - 1;
}

QFont ReportDocument::MeasureFont(const ReportFont& style, double scale)
{
    return DeviceFont(style, scale, ReportUnits::PerInch);
}

const QPaintDevice* ReportDocument::MeasureDevice()
{
    return &MetricsDevice();
}

double ReportDocument::Least_Height(int font, const QString& text, double scale) const
{
    // Measured once per number of lines, as lines of one letter: a line of
    // the font's letters is as high as any other of them.
    const QFontMetricsF& fm = Metrics(font, scale);
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n')) {
            ++lines;
        } else if (c.isHighSurrogate() && i + 1 < text.size()) {
            if (!fm.inFontUcs4(QChar::surrogateToUcs4(c, text.at(++i))))
                return 0;
        } else if (!fm.inFont(c)) {
            return 0;
        }
    }
    QString sample = QStringLiteral("x");
    for (int i = 1; i < lines; ++i)
        sample += QStringLiteral("\nx");
    return Measure(font, sample, 0, 0, scale).height();
}

const QFontMetricsF& ReportDocument::Metrics(int font, double scale) const
{
    auto metrics = m_metrics.find({font, scale});
    if (metrics == m_metrics.end())
        metrics = m_metrics
                      .emplace(std::make_pair(font, scale),
                               QFontMetricsF(MeasureFont(m_fonts.at(size_t(font)), scale), &const_cast<QImage&>(MetricsDevice())))
                      .first;
    return metrics->second;
}

QSizeF ReportDocument::Measure(int font, const QString& text, double width, int flags, double scale) const
{
    MeasureKey key{font, flags, width, scale, text};
    const auto known = m_measured.constFind(key);
    if (known != m_measured.constEnd())
        return *known;
    if (m_measured.size() >= kMeasureGeneration) {
        m_measuredBefore = std::move(m_measured);
        m_measured = {};
    }
    const auto before = m_measuredBefore.constFind(key);
    if (before != m_measuredBefore.constEnd())
        return *m_measured.insert(std::move(key), *before);
    const QFontMetricsF& fm = Metrics(font, scale);
    const QSizeF size = width > 0 ? fm.boundingRect(QRectF(0, 0, width, 1e9), flags | Qt::TextWordWrap, text).size()
                                  : fm.boundingRect(QRectF(0, 0, 1e9, 1e9), flags, text).size();
    m_measured.insert(std::move(key), size);
    return size;
}

QString ReportDocument::Break_Long_Words(int font, const QString& text, double width, double scale) const
{
    auto fits = [&](const QString& s) { return Measure(font, s, 0, 0, scale).width() <= width; };
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        // A line that fits has no word too wide: one measure, not one a word.
        if (line.isEmpty() || fits(line))
            continue;
        QStringList words = line.split(QLatin1Char(' '));
        for (QString& word : words) {
            if (word.isEmpty() || fits(word))
                continue;
            QString broken, rest = word;
            while (!rest.isEmpty() && !fits(rest)) {
                // At least one letter per line, however narrow the column.
                int n = 1;
                while (n < rest.size() && fits(rest.left(n + 1)))
                    ++n;
                // A surrogate pair stays together.
                if (n < rest.size() && rest.at(n).isLowSurrogate())
                    ++n;
                broken += rest.left(n) + QLatin1Char('\n');
                rest = rest.mid(n);
            }
            word = broken + rest;
        }
        line = words.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n'));
}

void ReportDocument::Paint(QPainter& p, int index, const QRectF& target) const
{
    const ReportPage& page = pages.at(size_t(index));
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / pageSize.width(), target.height() / pageSize.height());
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Only what lies in the painter's clip is drawn; a viewer painting part
    // of a page passes its visible area as the clip.
    const QRectF visible = p.hasClipping() ? p.clipBoundingRect() : QRectF(QPointF(0, 0), pageSize);
    const double dpi = p.device()->logicalDpiY();
    int currentFont = -1;
    double currentScale = 0;
    for (const PageItem& it : page.items) {
        const double reach = std::max<double>(it.pen, 1.0);
        if (!visible.intersects(it.rect.normalized().adjusted(-reach, -reach, reach, reach)))
            continue;
        switch (it.kind) {
        case PageItem::Text:
            if (it.font != currentFont || it.scale != currentScale) {
                p.setFont(DeviceFont(m_fonts.at(it.font), it.scale, dpi));
                currentFont = it.font;
                currentScale = it.scale;
            }
            p.setPen(Qt::black);
            // Laid out to fit at the report's resolution; a screen's rounding
            // may make a line a hair wider, and clipping would lose a letter.
            p.drawText(it.rect, it.flags | Qt::TextDontClip, it.text);
            break;
        case PageItem::Line:
            p.setPen(QPen(Qt::black, it.pen, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(it.rect.topLeft(), it.rect.bottomRight());
            break;
        case PageItem::Box:
            p.setPen(it.pen > 0 ? QPen(Qt::black, it.pen) : QPen(Qt::NoPen));
            p.setBrush(it.fill.isValid() ? QBrush(it.fill) : QBrush(Qt::NoBrush));
            p.drawRect(it.rect);
            p.setBrush(Qt::NoBrush);
            break;
        }
    }
    p.restore();
}

QRectF ReportDocument::Paper_Rect(const QPagedPaintDevice& device, const QSizeF& pageSize)
{
    const double scale = std::min(device.width() / pageSize.width(), device.height() / pageSize.height());
    const QSizeF size = pageSize * scale;
    return QRectF(QPointF((device.width() - size.width()) / 2, 0), size);
}

void ReportDocument::Render(QPagedPaintDevice& device, int from, int to) const
{
    if (to < 0 || to >= PageCount())
        to = PageCount() - 1;
    QPainter p(&device);
    const QRectF full = Paper_Rect(device, pageSize);
    for (int i = std::max(0, from); i <= to; ++i) {
        if (i > std::max(0, from))
            device.newPage();
        Paint(p, i, full);
    }
}

bool ReportDocument::WritePdf(const QString& path, QString* error) const
{
    return PdfFile::Write(*this, path, error);
}

#pragma once

#include "reports/ReportDocument.h"
#include "reports/ReportTable.h"

#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include "PdfText.h"

// Checks that hold for every page of every report, made on the laid-out
// document itself: where each item was put and in which font.
namespace ReportChecks {

// The document written to a PDF file at path; the writer's complaint, if
// any, as a warning (the checks on the file then fail).
inline QString Pdf(const ReportDocument& doc, const QString& path)
{
    QString error;
    if (!doc.WritePdf(path, &error))
        qWarning() << error;
    return path;
}

inline QString Describe(const PageItem& it, int page)
{
    const char* kind = it.kind == PageItem::Text ? "text" : it.kind == PageItem::Line ? "line" : "box";
    return QStringLiteral("page %1 %2 \"%3\" at %4,%5 %6x%7")
        .arg(page + 1)
        .arg(QLatin1String(kind), it.text.left(30))
        .arg(it.rect.left(), 0, 'f', 0)
        .arg(it.rect.top(), 0, 'f', 0)
        .arg(it.rect.width(), 0, 'f', 0)
        .arg(it.rect.height(), 0, 'f', 0);
}

// Whether an item (with half its pen) keeps inside box and, for a text,
// whether its words stay within its own area, where the drawing would cut
// them off.
inline bool Inside(const ReportDocument& doc, const PageItem& it, const QRectF& box)
{
    // A line's pen spreads across it, not past its ends; a box's outline
    // spreads all round.
    const double pen = it.pen / 2.0;
    const double across = it.kind == PageItem::Line && it.rect.height() == 0 ? 0 : pen;
    const double down = it.kind == PageItem::Line && it.rect.width() == 0 ? 0 : pen;
    const QRectF reach = it.rect.normalized().adjusted(-across, -down, across, down);
    if (!box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(reach))
        return false;
    if (it.kind != PageItem::Text)
        return true;
    const bool wraps = it.flags & Qt::TextWordWrap;
    const QSizeF size = doc.Measure(it.font, it.text, wraps ? it.rect.width() : 0, it.flags, it.scale);
    return size.width() <= it.rect.width() + 0.5 && size.height() <= it.rect.height() + 0.5;
}

// The items of every page that do not keep inside box.
inline QStringList Outside(const ReportDocument& doc, const QRectF& box)
{
    QStringList out;
    for (int p = 0; p < doc.PageCount(); ++p)
        for (const PageItem& it : doc.pages[size_t(p)].items)
            if (!Inside(doc, it, box))
                out << Describe(it, p);
    return out;
}

// The page less half an inch all round: where every report draws.
inline QRectF Margin_Box(const ReportDocument& doc)
{
    return QRectF(QPointF(0, 0), doc.pageSize).adjusted(600, 600, -600, -600);
}

// Texts drawn smaller than points.
inline QStringList Smaller_Than(const ReportDocument& doc, double points)
{
    QStringList out;
    for (int p = 0; p < doc.PageCount(); ++p)
        for (const PageItem& it : doc.pages[size_t(p)].items)
            if (it.kind == PageItem::Text && !it.text.trimmed().isEmpty()) {
                const double size = doc.Fonts().at(it.font).pointSize * it.scale;
                if (size < points - 0.01)
                    out << Describe(it, p) + QStringLiteral(" in %1 pt").arg(size);
            }
    return out;
}

// A CSV file as rows of cells.
inline QList<QStringList> Csv(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return ReportTable::ParseCsv(f.readAll());
}

// The text item of a page that says text (blanks and line breaks aside).
inline const PageItem* Find_Text(const ReportDocument& doc, int page, const QString& text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QString wanted = QString(text).remove(space);
    for (const PageItem& it : doc.pages.at(size_t(page)).items)
        if (it.kind == PageItem::Text && QString(it.text).remove(space) == wanted)
            return &it;
    return nullptr;
}

// What the PDF shows inside an area of a page (in report units), read back
// with pdftotext: letters drawn outside the area, or cut off, are missing.
inline QString Text_In(const QString& pdf, int page, const QRectF& area)
{
    const QRectF pt(area.topLeft() / ReportUnits::PerPoint, area.size() / ReportUnits::PerPoint);
    const QRectF r = pt.adjusted(-1, -1, 1, 1).toAlignedRect();
    return PdfText::Run(QStringLiteral("pdftotext"),
                        {QStringLiteral("-f"), QString::number(page + 1), QStringLiteral("-l"), QString::number(page + 1),
                         QStringLiteral("-x"), QString::number(int(r.x())), QStringLiteral("-y"), QString::number(int(r.y())),
                         QStringLiteral("-W"), QString::number(int(r.width())), QStringLiteral("-H"),
                         QString::number(int(r.height())), pdf, QStringLiteral("-")});
}

// Whether text reads whole there: the same letters in the same order, a
// long word perhaps broken over lines.
inline bool Reads_Whole(const QString& shown, const QString& text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return QString(shown).remove(space) == QString(text).remove(space);
}

} // namespace ReportChecks

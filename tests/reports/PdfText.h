#pragma once

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// What a rendered PDF says, read back with poppler's tools: the text of
// each page (NFKC, so ligatures read as letters), the page count, and
// where words stand.
namespace PdfText {

inline QString Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

// One entry per page, laid out as on the page.
inline QStringList Pages(const QString& pdf)
{
    QStringList pages = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

inline int PageCount(const QString& pdf)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

struct Word {
    QString text;
    QRectF box; // points from the page's top-left corner
    int page;
};

inline QList<Word> Words(const QString& pdf)
{
    const QString html = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QList<Word> words;
    int page = -1;
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (const QString& line : html.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("<page ")))
            ++page;
        const auto m = word.match(line);
        if (m.hasMatch())
            words.append({m.captured(5).replace(QLatin1String("&amp;"), QLatin1String("&")),
                          QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                 QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                          page});
    }
    return words;
}

// Collapses runs of blanks, so that a test can look for "Total $1,234.00"
// whatever the columns' spacing.
inline QString Squeezed(const QString& s)
{
    return QString(s).replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
}

} // namespace PdfText

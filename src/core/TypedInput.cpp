#include "TypedInput.h"

#include "Helpers.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

namespace modGlobal {

QString SearchKey(const QString& text)
{
    // Most names are plain ASCII: nothing to take apart.
    bool plain = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            plain = false;
            break;
        }
    if (plain)
        return text.toUpper();
    // Compatibility decomposition splits a letter from its accents (and
    // ligatures into their letters); the accents are then left out.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category cat = c.category();
        if (cat != QChar::Mark_NonSpacing && cat != QChar::Mark_SpacingCombining && cat != QChar::Mark_Enclosing)
            key.append(c);
    }
    return key.toUpper();
}

QChar DateSeparator()
{
    for (const QChar c : ShortDateFormat())
        if (!c.isLetter() && c != QLatin1Char('\''))
            return c;
    return QLatin1Char('/');
}

bool IsDateSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char('-') || c == DateSeparator();
}

namespace {

// Month, day and year in the order a form gives them: "Mdy", "dMy", "yMd".
QString PartOrder(const QString& format)
{
    QString order;
    for (const QChar c : format)
        if ((c == QLatin1Char('M') || c == QLatin1Char('d') || c == QLatin1Char('y')) && !order.contains(c))
            order += c;
    return order;
}

// The numbers typed, read in the given order; two numbers are a month and a
// day of defaultYear.
QDate ReadInOrder(const QStringList& parts, const QString& order, int defaultYear)
{
    int month = 0, day = 0, year = defaultYear;
    int i = 0;
    for (const QChar kind : order) {
        if (kind == QLatin1Char('y') && parts.size() == 2)
            continue; // no year typed
        const QString& part = parts.at(i++);
        if (part.size() > (kind == QLatin1Char('y') ? 4 : 2))
            return {};
        const int value = part.toInt();
        if (kind == QLatin1Char('M'))
            month = value;
        else if (kind == QLatin1Char('d'))
            day = value;
        else if (part.size() == 2)
            year = 2000 + value;
        else if (part.size() == 4)
            year = value;
        else
            return {}; // a year of one or three digits is a typing mistake
    }
    return QDate(year, month, day);
}

} // namespace

QDate ParseTypedDate(const QString& text, int defaultYear)
{
    // Numbers and one kind of separator between them, nothing else.
    const QString typed = text.trimmed();
    QChar separator;
    for (const QChar c : typed) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            continue;
        if (!IsDateSeparator(c) || (!separator.isNull() && c != separator))
            return {};
        separator = c;
    }
    if (separator.isNull())
        return {};
    const QStringList parts = typed.split(separator);
    if (parts.size() < 2 || parts.size() > 3)
        return {};
    for (const QString& part : parts)
        if (part.isEmpty())
            return {};

    // 2025-06-22, whatever the locale.
    if (parts.size() == 3 && separator == QLatin1Char('-') && parts.at(0).size() == 4)
        return ReadInOrder(parts, QStringLiteral("yMd"), defaultYear);
    // The locale's own order first, so that it decides what is ambiguous
    // (6/7 is the 6th of July in London); then the US form of 6/22/2025.
    QDate d = ReadInOrder(parts, PartOrder(ShortDateFormat()), defaultYear);
    if (!d.isValid() && separator == QLatin1Char('/'))
        d = ReadInOrder(parts, QStringLiteral("Mdy"), defaultYear);
    return d;
}

} // namespace modGlobal

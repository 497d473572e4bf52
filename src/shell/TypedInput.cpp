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

QDate ParseTypedDate(const QString& text, int defaultYear)
{
    // The order of month, day and year is the order of the short date form.
    const QString format = ShortDateFormat();
    struct Part {
        char kind;
        qsizetype at;
    };
    Part order[3] = {{'M', format.indexOf(QLatin1Char('M'))},
                     {'d', format.indexOf(QLatin1Char('d'))},
                     {'y', format.indexOf(QLatin1Char('y'))}};
    std::sort(std::begin(order), std::end(order), [](const Part& a, const Part& b) { return a.at < b.at; });

    const QStringList parts = text.trimmed().split(DateSeparator());
    if (parts.size() < 2 || parts.size() > 3)
        return {};
    int month = 0, day = 0, year = defaultYear;
    int i = 0;
    for (const Part& p : order) {
        if (p.kind == 'y' && parts.size() == 2)
            continue; // no year typed
        if (i >= parts.size())
            return {};
        const QString& part = parts.at(i++);
        if (part.isEmpty() || part.size() > (p.kind == 'y' ? 4 : 2))
            return {};
        for (const QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
        const int value = part.toInt();
        if (p.kind == 'M')
            month = value;
        else if (p.kind == 'd')
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

} // namespace modGlobal

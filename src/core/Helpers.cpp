#include "Helpers.h"

#include "Messages.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <optional>

namespace modGlobal {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

qint64 ToCents(double v)
{
    if (!std::isfinite(v))
        return 0;
    // The small nudge keeps decimal halves such as 2.675 (held as
    // 2.67499999...) rounding up, as a person would round them.
    const double cents = v * 100.0 + (v >= 0 ? 1e-7 : -1e-7);
    // A value from elsewhere too large for whole cents is shown at the
    // limit rather than wrapped round to a wrong sign.
    if (std::fabs(cents) >= 9.2e18)
        return cents > 0 ? std::numeric_limits<qint64>::max() : -std::numeric_limits<qint64>::max();
    return std::llround(cents);
}

// The forms an amount or whole number is read in: what the program writes
// ("$1,234.50", "($5.00)") and what a person types ("1234.5", "-5", "1,000",
// ".5"). Thousands separators only in groups of three.
const QRegularExpression& NumberForm()
{
    static const QString body = QStringLiteral(R"((?:(?:\d{1,3}(?:,\d{3})+|\d+)(?:\.\d*)?|\.\d+))");
    static const QRegularExpression form(QStringLiteral(R"(^\s*(?:\(\$?(?<paren>%1)\)|(?<minus>-)?\$?(?<plain>%1))\s*$)")
                                             .arg(body));
    return form;
}

// A number in one of those forms, of any size.
bool ReadNumberForm(const QString& text, double* value)
{
    const QRegularExpressionMatch m = NumberForm().match(text);
    if (!m.hasMatch())
        return false;
    const bool negative = m.hasCaptured(QStringLiteral("paren")) || m.hasCaptured(QStringLiteral("minus"));
    QString digits = m.captured(QStringLiteral("paren")) + m.captured(QStringLiteral("plain"));
    digits.remove(QLatin1Char(','));
    bool ok = false;
    const double v = QLocale::c().toDouble(digits, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = negative ? -v : v;
    return true;
}
} // namespace

bool ParseNumber(const QString& text, double* value)
{
    double v = 0;
    if (!ReadNumberForm(text, &v) || std::fabs(RoundCents(v)) > kLargestAmount)
        return false;
    if (value)
        *value = v;
    return true;
}


QString Refusal_Note(const QString& text, const QString& what)
{
    // A blank box is simply empty, not a mistake.
    QString shown = text.trimmed();
    if (shown.isEmpty())
        return QString();
    if (shown.size() > 30)
        shown = shown.left(30) + QStringLiteral("...");
    const QString article = what.startsWith(QLatin1Char('a')) ? QStringLiteral("an ") : QStringLiteral("a ");
    return QLatin1Char('\'') + shown + QStringLiteral("' is not ") + article + what;
}

void Refuse_Number(const QString& text, const QString& what)
{
    const QString note = Refusal_Note(text, what);
    if (note.isEmpty())
        return;
    Messages::Beep();
    // The status bar says what was replaced, so that a typing mistake ("1O0")
    // does not pass unnoticed as a zero.
    Messages::Note(note);
}

double RoundCents(double v)
{
    return double(ToCents(v)) / 100.0;
}

QString FormatAmount(double v)
{
    // Written backwards into a buffer: a statement run formats a million
    // amounts.
    const qint64 cents = ToCents(v);
    quint64 rest = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    char buf[48];
    char* const end = buf + sizeof buf;
    char* p = end;
    if (cents < 0)
        *--p = ')';
    *--p = char('0' + rest % 10);
    *--p = char('0' + rest / 10 % 10);
    *--p = '.';
    rest /= 100;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0)
            *--p = ',';
        *--p = char('0' + rest % 10);
        rest /= 10;
        ++digits;
    } while (rest > 0);
    *--p = '$';
    if (cents < 0)
        *--p = '(';
    return QString::fromLatin1(p, end - p);
}

QString AmountText(const QString& text)
{
    double v = 0;
    if (!ParseNumber(text, &v)) {
        Refuse_Number(text, QStringLiteral("amount"));
        v = 0;
    }
    return FormatAmount(v);
}

QString WholeNumberText(const QString& text)
{
    double v = 0;
    // A whole number (an envelope number, a count) may go as far as the
    // whole-number columns hold.
    if (!ReadNumberForm(text, &v) || std::fabs(std::round(v)) > double(std::numeric_limits<int>::max())) {
        Refuse_Number(text, QStringLiteral("number"));
        return QStringLiteral("0");
    }
    const double r = std::round(v);
    return QString::number(r == 0 ? 0.0 : r, 'f', 0);
}

double AmountValue(const QString& text)
{
    double v = 0;
    return ParseNumber(text, &v) ? v : 0.0;
}

QString BlankIfZero(int n)
{
    return n == 0 ? QString() : QString::number(n);
}

bool AmountIsZero(double v)
{
    return std::fabs(v) < 0.01;
}

QString FieldText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    return TrimBlanks(v.toString());
}

int FieldLong(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        return std::isfinite(d) ? int(std::llround(d)) : 0;
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (ok)
        return int(n);
    double d = 0;
    return ParseNumber(v.toString(), &d) ? int(std::llround(d)) : 0;
}

short FieldInt(const QVariant& v)
{
    return short(FieldLong(v));
}

QDate ZeroDate()
{
    return QDate(1899, 12, 30);
}

QDate FieldDate(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return ZeroDate();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QString s = v.toString().trimmed();
    QDate d = QDate::fromString(s.left(10), Qt::ISODate);
    return d.isValid() ? d : ZeroDate();
}

double FieldDouble(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return 0.0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

bool FieldBool(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || (s.toLongLong() != 0);
    }
    return v.toLongLong() != 0 || v.toBool();
}

QString TrimBlanks(const QString& s)
{
    int start = 0, end = s.size();
    while (start < end && s[start] == QLatin1Char(' '))
        ++start;
    while (end > start && s[end - 1] == QLatin1Char(' '))
        --end;
    return s.mid(start, end - start);
}

QString CleanText(const QString& s, bool multiLine)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        const bool lineBreak = c == QLatin1Char('\r') || c == QLatin1Char('\n');
        if (c.category() == QChar::Other_Control && !(multiLine && lineBreak))
            continue;
        out += c;
    }
    return out;
}

QString CutText(const QString& s, int size)
{
    if (s.size() <= size)
        return s;
    QString cut = s.left(std::max(size, 0));
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

QString RTrimBlanks(const QString& s)
{
    int end = s.size();
    while (end > 0 && s[end - 1] == QLatin1Char(' '))
        --end;
    return s.left(end);
}

QString PairJoin(const QString& a, const QString& b)
{
    const QString ta = TrimBlanks(a), tb = TrimBlanks(b);
    if (!ta.isEmpty() && !tb.isEmpty())
        return ta + QStringLiteral(", ") + tb;
    return ta + tb;
}

QString NameJoin(const QString& lastName, const QString& firstNames, bool lastNameFirst)
{
    const QString last = RTrimBlanks(lastName), first = RTrimBlanks(firstNames);
    if (lastNameFirst)
        return PairJoin(last, first);
    return first.isEmpty() ? last : first + QLatin1Char(' ') + last;
}

QString AddressJoin(const QString& address1, const QString& address2, const QString& city, const QString& state,
                    const QString& zipCode, bool multiLine)
{
    const QString sep = multiLine ? kCrLf : QStringLiteral(", ");
    const QString place = TrimBlanks(PairJoin(city, state) + QStringLiteral("  ") + TrimBlanks(zipCode));
    QString street = TrimBlanks(address1);
    const QString line2 = TrimBlanks(address2);
    if (!street.isEmpty() && !line2.isEmpty())
        street += sep;
    street += line2;
    if (!street.isEmpty() && !place.isEmpty())
        street += sep;
    return street + place;
}

QString EnvelopeSortKey(int number, const QString& name)
{
    if (number == 0)
        return QStringLiteral("ZZZZZZZZZZ") + name;
    return QString::number(number).rightJustified(10, QLatin1Char(' ')) + name;
}

QString HeadingWrap(const QString& text, int lines)
{
    QString t = TrimBlanks(text);
    while (t.contains(QLatin1String("  ")))
        t.replace(QLatin1String("  "), QLatin1String(" "));
    const int breaks = std::max(lines - 1, 0);
    const int blanks = int(t.count(QLatin1Char(' ')));
    QString prefix;
    for (int i = blanks; i < breaks; ++i)
        prefix += kCrLf;
    int toReplace = breaks;
    QString out;
    out.reserve(t.size() + 2 * breaks);
    for (QChar c : t) {
        if (c == QLatin1Char(' ') && toReplace > 0) {
            out += kCrLf;
            --toReplace;
        } else {
            out += c;
        }
    }
    return prefix + out;
}

QString ShortDateFormat()
{
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    // Only day, month and year in numbers can be typed quickly and read
    // back: a form that names the month ("22 Jun 2025" of a fresh machine's
    // C locale) or the weekday gives way to the US form.
    bool numeric = f.contains(QLatin1Char('d')) && f.contains(QLatin1Char('M')) && f.contains(QLatin1Char('y'))
                   && !f.contains(QLatin1String("MMM")) && !f.contains(QLatin1String("ddd"));
    for (const QChar c : f)
        if (c.isLetter() && c != QLatin1Char('d') && c != QLatin1Char('M') && c != QLatin1Char('y'))
            numeric = false;
    if (!numeric)
        return QStringLiteral("M/d/yyyy");
    // A two-digit year reads back as a year of the last century.
    f.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    return f;
}

QString ShortDate(const QDate& d)
{
    // A statement run writes the same few hundred dates a hundred thousand
    // times; each thread keeps their texts while the locale stays the same.
    struct Known {
        QLocale locale;
        QString format;
        QHash<qint64, QString> texts;
    };
    thread_local std::optional<Known> known;
    const QLocale locale;
    if (!known || known->locale != locale || known->texts.size() >= 4096)
        known = Known{locale, ShortDateFormat(), {}};
    const qint64 day = d.isValid() ? d.toJulianDay() : std::numeric_limits<qint64>::min();
    auto found = known->texts.constFind(day);
    if (found == known->texts.constEnd())
        found = known->texts.insert(day, locale.toString(d, known->format));
    return *found;
}

QDate ParseShortDate(const QString& text)
{
    return QLocale().toDate(text.trimmed(), ShortDateFormat());
}

QString LongDate(const QDate& d)
{
    return QLocale().toString(d, QStringLiteral("MMMM d, yyyy"));
}

} // namespace modGlobal

#include "GiftCsv.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace GiftCsv {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unused
// codes are kept as the C1 controls, as Windows itself reads them.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar PickSeparator(const QString& text)
{
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

bool IsBlankRow(const QStringList& row)
{
    for (const QString& f : row)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

QString DecodeText(const QByteArray& bytes, bool* windows1252)
{
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(b);
    const bool valid = !utf8.hasError();
    if (windows1252)
        *windows1252 = !valid;
    if (valid)
        return text;
    text.clear();
    text.reserve(b.size());
    for (const char ch : b) {
        const auto u = static_cast<unsigned char>(ch);
        text.append(u >= 0x80 && u < 0xA0 ? QChar(kCp1252High[u - 0x80]) : QChar(u));
    }
    return text;
}

Table Read(const QByteArray& bytes)
{
    Table t;
    const QString text = DecodeText(bytes, &t.windows1252);
    t.separator = PickSeparator(text);
    QList<QStringList> rows;
    QList<int> lines;
    QStringList row;
    QString field;
    bool quoted = false, fieldStarted = false;
    int line = 1, rowLine = 1;
    auto endField = [&] {
        row << field;
        field.clear();
        fieldStarted = false;
    };
    auto endRow = [&] {
        endField();
        if (!IsBlankRow(row)) {
            rows << row;
            lines << rowLine;
        }
        row.clear();
    };
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
        } else if (c == QLatin1Char('"') && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == t.separator) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endRow();
            rowLine = ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (!field.isEmpty() || !row.isEmpty() || fieldStarted)
        endRow();
    if (rows.isEmpty())
        return t;
    t.header = rows.takeFirst();
    lines.removeFirst();
    for (QString& h : t.header)
        h = h.trimmed();
    for (QStringList& r : rows)
        while (r.size() < t.header.size())
            r << QString();
    t.rows = rows;
    t.lines = lines;
    return t;
}

bool ReadCents(const QString& text, qint64* cents, bool decimalComma)
{
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    auto takeSign = [&] {
        if (s.startsWith(QLatin1Char('-')) || s.startsWith(QChar(0x2212))) {
            if (negative)
                return false;
            negative = true;
            s = s.mid(1).trimmed();
        }
        return true;
    };
    if (!takeSign())
        return false;
    // A currency sign or code on either side, and the sign on either side of it.
    static const QRegularExpression currency(QStringLiteral("^(\\$|€|£|USD|EUR|GBP|CAD|US\\$)\\s*|\\s*(\\$|€|£|USD|EUR|GBP|CAD)$"));
    s.remove(currency);
    if (!takeSign())
        return false;
    if (s.endsWith(QLatin1Char('-'))) {
        if (negative)
            return false;
        negative = true;
        s.chop(1);
    }
    s = s.trimmed();
    if (s.isEmpty())
        return false;
    QChar decimal = decimalComma ? QLatin1Char(',') : QLatin1Char('.');
    QChar group = decimalComma ? QLatin1Char('.') : QLatin1Char(',');
    // Both marks present: the last one is the decimal mark, whatever the file.
    const int lastPoint = int(s.lastIndexOf(QLatin1Char('.'))), lastComma = int(s.lastIndexOf(QLatin1Char(',')));
    if (lastPoint >= 0 && lastComma >= 0) {
        decimal = lastPoint > lastComma ? QLatin1Char('.') : QLatin1Char(',');
        group = lastPoint > lastComma ? QLatin1Char(',') : QLatin1Char('.');
    }
    QString whole = s, fraction;
    if (const int d = int(s.indexOf(decimal)); d >= 0) {
        whole = s.left(d);
        fraction = s.mid(d + 1);
        if (fraction.isEmpty() || fraction.contains(decimal))
            return false;
    }
    // Groups of three after the first group of one to three digits.
    const QStringList groups = whole.split(group);
    if (groups.size() > 1) {
        if (groups.first().isEmpty() || groups.first().size() > 3)
            return false;
        for (int i = 1; i < groups.size(); ++i)
            if (groups.at(i).size() != 3)
                return false;
    }
    whole = groups.join(QString());
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    // Digits beyond the cents must be zeros: a fraction of a cent is no amount.
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (fraction.size() > 2 || whole.size() > 13)
        return false;
    qint64 value = 0;
    for (const QChar c : whole) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        value = value * 10 + (c.unicode() - '0');
    }
    fraction = fraction.leftJustified(2, QLatin1Char('0'));
    for (const QChar c : fraction) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        value = value * 10 + (c.unicode() - '0');
    }
    *cents = negative ? -value : value;
    return true;
}

QDate ReadDate(const QString& text)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ].*)?$"));
    static const QRegularExpression slash(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})(?: .*)?$"));
    static const QRegularExpression dots(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})(?: .*)?$"));
    const QString s = text.trimmed();
    if (const auto m = iso.match(s); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (const auto m = slash.match(s); m.hasMatch()) {
        int a = m.captured(1).toInt(), b = m.captured(2).toInt(), y = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            y += 2000;
        if (a > 12)
            std::swap(a, b);
        return QDate(y, a, b);
    }
    if (const auto m = dots.match(s); m.hasMatch())
        return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    return QDate();
}

} // namespace GiftCsv

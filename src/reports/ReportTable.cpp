#include "ReportTable.h"

#include "core/DbError.h"
#include <algorithm>


void ReportTable::AppendField(const QString& name, Type type, int size)
{
    if (m_rowCount > 0)
        throw DbError(QStringLiteral("fields must be appended before rows are added: ") + name);
    if (!m_byName.contains(name)) // a later namesake is never found
        m_byName.insert(name, int(m_fields.size()));
    m_fields.push_back({name, type, size});
    m_columns.emplace_back();
}

int ReportTable::IndexOf(const QString& name) const
{
    const auto exact = m_byName.constFind(name);
    if (exact != m_byName.constEnd())
        return exact.value();
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QStringList ReportTable::FieldNames() const
{
    QStringList names;
    for (const Field& f : m_fields)
        names << f.name;
    return names;
}

int ReportTable::Require(const QString& field) const
{
    const int i = IndexOf(field);
    if (i < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection: ") + field, m_name);
    return i;
}

void ReportTable::Reserve(int rows)
{
    const size_t n = size_t(std::max(rows, 0));
    for (size_t i = 0; i < m_fields.size(); ++i) {
        Column& c = m_columns[i];
        switch (m_fields[i].type) {
        case Type::Double:
            c.real.reserve(n);
            break;
        case Type::Text:
            c.text.reserve(n);
            break;
        default:
            c.whole.reserve(n);
            break;
        }
        c.set.reserve(n);
    }
}

void ReportTable::AddNew()
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        Column& c = m_columns[i];
        switch (m_fields[i].type) {
        case Type::Double:
            c.real.push_back(0);
            break;
        case Type::Text:
            c.text.emplace_back();
            break;
        default:
            c.whole.push_back(0);
            break;
        }
        c.set.push_back(false);
    }
    ++m_rowCount;
}

void ReportTable::Set(int row, const QString& field, const QVariant& value)
{
    const int i = Require(field);
    if (row < 0 || row >= RowCount())
        throw DbError(QStringLiteral("no current row to set ") + field, m_name);
    const Field& f = m_fields[size_t(i)];
    Column& c = m_columns[size_t(i)];
    const size_t r = size_t(row);
    const bool null = !value.isValid() || value.isNull();
    c.set[r] = !null;
    switch (f.type) {
    case Type::Long:
        c.whole[r] = null ? 0 : qint32(value.toLongLong());
        break;
    case Type::BigInt:
        c.whole[r] = null ? 0 : qint64(value.toLongLong());
        break;
    case Type::Date:
        c.whole[r] = null ? 0 : value.toDate().toJulianDay();
        break;
    case Type::Double:
        c.real[r] = null ? 0.0 : value.toDouble();
        break;
    case Type::Text: {
        // Cut where the database would cut it.
        QString s = null ? QString() : value.toString();
        if (f.size > 0 && s.size() > f.size)
            s.truncate(f.size);
        c.text[r] = std::move(s);
        break;
    }
    }
}

QVariant ReportTable::Value(int row, int field) const
{
    const Column& c = m_columns.at(size_t(field));
    const size_t r = size_t(row);
    if (!c.set.at(r))
        return {};
    switch (m_fields[size_t(field)].type) {
    case Type::Long:
        return QVariant(qint32(c.whole[r]));
    case Type::BigInt:
        return QVariant(qint64(c.whole[r]));
    case Type::Date:
        return QVariant(QDate::fromJulianDay(c.whole[r]));
    case Type::Double:
        return QVariant(c.real[r]);
    case Type::Text:
        return QVariant(c.text[r]);
    }
    return {};
}

// The readers go straight to a column of their own type; what a Null or
// another type reads as is what its variant converts to.
double ReportTable::Double(int row, const QString& field) const
{
    const int i = Require(field);
    if (m_fields[size_t(i)].type == Type::Double)
        return m_columns[size_t(i)].set.at(size_t(row)) ? m_columns[size_t(i)].real[size_t(row)] : 0.0;
    return Value(row, i).toDouble();
}

qint64 ReportTable::Integer(int row, const QString& field) const
{
    const int i = Require(field);
    const Type type = m_fields[size_t(i)].type;
    if (type == Type::Long || type == Type::BigInt)
        return m_columns[size_t(i)].set.at(size_t(row)) ? m_columns[size_t(i)].whole[size_t(row)] : 0;
    return Value(row, i).toLongLong();
}

QString ReportTable::Text(int row, const QString& field) const
{
    const int i = Require(field);
    if (m_fields[size_t(i)].type == Type::Text)
        return m_columns[size_t(i)].set.at(size_t(row)) ? m_columns[size_t(i)].text[size_t(row)] : QString();
    return Value(row, i).toString();
}

QList<QStringList> ReportTable::ParseCsv(const QByteArray& csv)
{
    QList<QStringList> rows;
    const QString text = QString::fromUtf8(csv);
    QStringList row;
    QString cell;
    bool quoted = false, any = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(',')) {
            row << cell;
            cell.clear();
            any = true;
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            any = false;
            ++i;
        } else {
            cell += c;
            any = true;
        }
    }
    if (any || !cell.isEmpty()) {
        row << cell;
        rows << row;
    }
    return rows;
}

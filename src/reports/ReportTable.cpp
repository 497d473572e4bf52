#include "ReportTable.h"

#include "core/DbError.h"


void ReportTable::AppendField(const QString& name, Type type, int size)
{
    if (!m_rows.empty())
        throw DbError(QStringLiteral("fields must be appended before rows are added: ") + name);
    m_fields.push_back({name, type, size});
}

int ReportTable::IndexOf(const QString& name) const
{
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

void ReportTable::AddNew()
{
    m_rows.emplace_back(m_fields.size());
}

QVariant ReportTable::Convert(const Field& f, const QVariant& value) const
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (f.type) {
    case Type::Long:
        return QVariant(qint32(value.toLongLong()));
    case Type::BigInt:
        return QVariant(qint64(value.toLongLong()));
    case Type::Double:
        return QVariant(value.toDouble());
    case Type::Date:
        return QVariant(value.toDate());
    case Type::Text: {
        QString s = value.toString();
        if (f.size > 0 && s.size() > f.size)
            s.truncate(f.size);
        return QVariant(s);
    }
    }
    return value;
}

void ReportTable::Set(int row, const QString& field, const QVariant& value)
{
    const int i = Require(field);
    if (row < 0 || row >= RowCount())
        throw DbError(QStringLiteral("no current row to set ") + field, m_name);
    m_rows[size_t(row)][size_t(i)] = Convert(m_fields[size_t(i)], value);
}

QVariant ReportTable::Value(int row, const QString& field) const
{
    return m_rows.at(size_t(row)).at(size_t(Require(field)));
}

double ReportTable::Double(int row, const QString& field) const
{
    return Value(row, field).toDouble();
}

qint64 ReportTable::Integer(int row, const QString& field) const
{
    return Value(row, field).toLongLong();
}

QString ReportTable::Text(int row, const QString& field) const
{
    return Value(row, field).toString();
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

#include "Recordset.h"

#include "Connection.h"
#include "DbError.h"

#include <algorithm>
#include <sqlite3.h>

Recordset::Recordset(const QString& sql, Connection& conn, Cursor cursor)
{
    Open(sql, conn, cursor);
}

Recordset::~Recordset()
{
    Close();
}

Recordset::Recordset(Recordset&& other) noexcept
{
    *this = std::move(other);
}

Recordset& Recordset::operator=(Recordset&& other) noexcept
{
    if (this != &other) {
        Close();
        m_names = std::move(other.m_names);
        m_index = std::move(other.m_index);
        m_rows = std::move(other.m_rows);
        m_current = std::move(other.m_current);
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
        m_forwardOnly = other.m_forwardOnly;
        m_streamEnd = other.m_streamEnd;
        m_pos = other.m_pos;
        m_sql = std::move(other.m_sql);
    }
    return *this;
}

void Recordset::Open(const QString& sql, Connection& conn, Cursor cursor)
{
    Close();
    m_sql = sql;
    const QByteArray utf8 = Connection::Translate(sql).toUtf8();
    if (sqlite3_prepare_v2(conn.Handle(), utf8.constData(), -1, &m_stmt, nullptr) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(conn.Handle()));
        m_stmt = nullptr;
        throw DbError(msg, sql);
    }
    if (!m_stmt)
        throw DbError(QStringLiteral("empty statement"), sql);
    ReadNames();
    m_forwardOnly = (cursor == Cursor::ForwardOnly);
    m_streamEnd = false;
    if (m_forwardOnly) {
        Step();
        return;
    }
    for (Step(); !m_streamEnd; Step())
        m_rows.push_back(m_current);
    m_current.clear();
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_pos = 0;
}

void Recordset::Close()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    m_names.clear();
    m_index.clear();
    m_rows.clear();
    m_current.clear();
    m_forwardOnly = false;
    m_streamEnd = true;
    m_pos = 0;
}

void Recordset::ReadNames()
{
    const int n = sqlite3_column_count(m_stmt);
    for (int i = 0; i < n; ++i)
        m_names << QString::fromUtf8(sqlite3_column_name(m_stmt, i));
    // Filled from the back so that the first column of a name wins, as in
    // "SELECT Pledges.*, Funds.FundName" where ID appears once per table.
    for (int i = n - 1; i >= 0; --i)
        m_index.insert(m_names[i].toLower(), i);
}

void Recordset::ReadCurrentRow(std::vector<QVariant>& row)
{
    const int n = int(m_names.size());
    row.assign(n, QVariant());
    for (int i = 0; i < n; ++i) {
        switch (sqlite3_column_type(m_stmt, i)) {
        case SQLITE_INTEGER:
            row[i] = QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
            break;
        case SQLITE_FLOAT:
            row[i] = QVariant(sqlite3_column_double(m_stmt, i));
            break;
        case SQLITE_TEXT:
            row[i] = QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i)),
                                                sqlite3_column_bytes(m_stmt, i)));
            break;
        case SQLITE_BLOB:
            row[i] = QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, i)),
                                         sqlite3_column_bytes(m_stmt, i)));
            break;
        default:
            break; // Null
        }
    }
}

void Recordset::Step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        ReadCurrentRow(m_current);
        return;
    }
    m_streamEnd = true;
    m_current.clear();
    if (rc != SQLITE_DONE) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_stmt)));
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError(msg, m_sql);
    }
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
}

bool Recordset::Eof() const
{
    if (m_forwardOnly)
        return m_streamEnd;
    return m_pos >= int(m_rows.size());
}

void Recordset::MoveNext()
{
    if (m_forwardOnly) {
        if (!m_streamEnd)
            Step();
        return;
    }
    if (m_pos < int(m_rows.size()))
        ++m_pos;
}

void Recordset::MoveFirst()
{
    if (m_forwardOnly)
        throw DbError(QStringLiteral("a forward-only recordset cannot move back"), m_sql);
    m_pos = 0;
}

void Recordset::MoveTo(int row)
{
    if (m_forwardOnly)
        throw DbError(QStringLiteral("a forward-only recordset cannot move back"), m_sql);
    m_pos = std::clamp(row, 0, int(m_rows.size()));
}

int Recordset::RecordCount() const
{
    return m_forwardOnly ? -1 : int(m_rows.size());
}

int Recordset::IndexOf(const QString& name) const
{
    const QString key = name.toLower();
    auto it = m_index.constFind(key);
    if (it != m_index.constEnd())
        return it.value();
    // "Offering.ContributorID" names the column ContributorID.
    const int dot = key.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        it = m_index.constFind(key.mid(dot + 1));
        if (it != m_index.constEnd())
            return it.value();
    }
    return -1;
}

int Recordset::RequireIndex(const QString& name) const
{
    const int i = IndexOf(name);
    if (i < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection: ") + name, m_sql);
    return i;
}

QVariant Recordset::Field(const QString& name) const
{
    return Field(RequireIndex(name));
}

QVariant Recordset::Field(int index) const
{
    if (Eof())
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."), m_sql);
    const auto& row = m_forwardOnly ? m_current : m_rows[m_pos];
    return row.at(index);
}

void Recordset::AppendField(const QString& name)
{
    if (!m_rows.empty())
        throw DbError(QStringLiteral("fields must be appended before rows are added"));
    m_index.insert(name.toLower(), int(m_names.size()));
    m_names << name;
}

void Recordset::AddNew()
{
    m_rows.emplace_back(m_names.size());
    m_pos = int(m_rows.size()) - 1;
}

void Recordset::SetField(const QString& name, const QVariant& value)
{
    const int i = RequireIndex(name);
    if (m_pos >= int(m_rows.size()))
        throw DbError(QStringLiteral("no current row to set ") + name);
    m_rows[m_pos][i] = value;
}

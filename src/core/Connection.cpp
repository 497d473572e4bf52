#include "Connection.h"

#include "DbError.h"
#include "modGlobal.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace {

// Text columns compare and sort without regard to case, also beyond ASCII
// ("Émile" finds "émile"). Registered under the name NOCASE so that the
// files stay readable by any SQLite tool, which falls back to its own
// ASCII-only NOCASE.
int CompareNoCase(void*, int lenA, const void* a, int lenB, const void* b)
{
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    const int n = std::min(lenA, lenB);
    bool ascii = true;
    for (int i = 0; i < n; ++i) {
        if (pa[i] >= 0x80 || pb[i] >= 0x80) {
            ascii = false;
            break;
        }
        const int ca = (pa[i] >= 'A' && pa[i] <= 'Z') ? pa[i] + 32 : pa[i];
        const int cb = (pb[i] >= 'A' && pb[i] <= 'Z') ? pb[i] + 32 : pb[i];
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (ascii)
        return lenA == lenB ? 0 : (lenA < lenB ? -1 : 1);
    const QString sa = QString::fromUtf8(reinterpret_cast<const char*>(pa), lenA);
    const QString sb = QString::fromUtf8(reinterpret_cast<const char*>(pb), lenB);
    const int r = sa.compare(sb, Qt::CaseInsensitive);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool IsAlreadyThere(const QString& message)
{
    return message.contains(QLatin1String("already exists"), Qt::CaseInsensitive)
        || message.contains(QLatin1String("duplicate column name"), Qt::CaseInsensitive);
}

// "#...#" date literals become quoted ISO text. The program itself writes
// #YYYY-MM-DD#; the US form #M/D/YYYY# is accepted as well.
QString DateLiteralToText(const QString& inner)
{
    QDate d = QDate::fromString(inner.trimmed(), Qt::ISODate);
    if (!d.isValid())
        d = QDate::fromString(inner.trimmed(), QStringLiteral("M/d/yyyy"));
    const QString text = d.isValid() ? d.toString(Qt::ISODate) : inner;
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

std::function<void()>& OpenedHook()
{
    static std::function<void()> hook;
    return hook;
}

std::function<void()>& ClosedHook()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

Connection::Connection(const QString& filePath) : Connection(filePath, false) {}

Connection::Connection(const QString& filePath, bool create) : m_path(filePath)
{
    Open(create);
}

Connection Connection::Create(const QString& filePath)
{
    return Connection(filePath, true);
}

Connection::Connection(Connection&& other) noexcept
    : m_path(std::move(other.m_path)), m_db(other.m_db), m_transactionDepth(other.m_transactionDepth)
{
    other.m_db = nullptr;
}

void Connection::Open(bool create)
{
    const QByteArray path = m_path.toUtf8();
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(msg + QStringLiteral(": ") + m_path);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_create_collation_v2(m_db, "NOCASE", SQLITE_UTF8, nullptr, &CompareNoCase, nullptr);
    try {
        // SQLite opens lazily; reading the catalogue tells at once whether
        // the file is a database at all.
        Execute(QStringLiteral("SELECT COUNT(*) FROM sqlite_master;"));
    } catch (const DbError& e) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(e.Message() + QStringLiteral(": ") + m_path);
    }
}

Connection::~Connection()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString Connection::Translate(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    const int n = sql.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            // Copy a quoted text whole, with its doubled quotes.
            int j = i + 1;
            while (j < n) {
                if (sql[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && sql[j + 1] == QLatin1Char('\''))
                        j += 2;
                    else
                        break;
                } else {
                    ++j;
                }
            }
            out += sql.mid(i, j - i + 1);
            i = j;
        } else if (c == QLatin1Char('#')) {
            const int close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0) {
                out += c;
                continue;
            }
            out += DateLiteralToText(sql.mid(i + 1, close - i - 1));
            i = close;
        } else {
            out += c;
        }
    }
    static const QRegularExpression ddl(QStringLiteral("^\\s*(CREATE\\s+TABLE|ALTER\\s+TABLE)"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (ddl.match(out).hasMatch()) {
        static const QRegularExpression text(QStringLiteral("\\bTEXT\\s*\\(\\s*(\\d+)\\s*\\)"),
                                             QRegularExpression::CaseInsensitiveOption);
        out.replace(text, QStringLiteral("TEXT(\\1) COLLATE NOCASE"));
    }
    return out;
}

void Connection::Execute(const QString& sql)
{
    const QByteArray utf8 = Translate(sql).toUtf8();
    const char* tail = utf8.constData();
    while (tail && *tail) {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, tail, -1, &stmt, &tail);
        if (rc != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)), sql);
        if (!stmt)
            break; // only blanks or a closing ";" were left
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
            sqlite3_finalize(stmt);
            throw DbError(msg, sql);
        }
        sqlite3_finalize(stmt);
    }
}

void Connection::ExecuteDDL(const QString& sql)
{
    try {
        Execute(sql);
    } catch (const DbError& e) {
        if (!IsAlreadyThere(e.Message()))
            throw;
    }
}

int Connection::Changes() const
{
    return sqlite3_changes(m_db);
}

void Connection::SetBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

bool Connection::CanWrite()
{
    if (sqlite3_db_readonly(m_db, "main") == 1)
        return false;
    // A write that changes nothing, rolled back: it needs the journal beside
    // the file, which a read-only folder refuses.
    int version = 0;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, "PRAGMA user_version;", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray same = "PRAGMA user_version = " + QByteArray::number(version) + ";";
        rc = sqlite3_exec(m_db, same.constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "ROLLBACK;", nullptr, nullptr, nullptr);
    }
    switch (rc & 0xFF) {
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return false;
    default:
        return true;
    }
}

void Connection::SetTransactionHooks(std::function<void()> opened, std::function<void()> closed)
{
    OpenedHook() = std::move(opened);
    ClosedHook() = std::move(closed);
}

Connection::Transaction::Transaction(Connection& c) : m_conn(c)
{
    m_outer = (m_conn.m_transactionDepth == 0);
    if (m_outer) {
        m_conn.Execute(QStringLiteral("BEGIN IMMEDIATE;"));
        if (OpenedHook())
            OpenedHook()();
    }
    ++m_conn.m_transactionDepth;
}

void Connection::Transaction::Commit()
{
    if (m_done)
        return;
    // A failed COMMIT leaves the transaction open; the destructor then
    // rolls it back.
    if (m_outer)
        m_conn.Execute(QStringLiteral("COMMIT;"));
    m_done = true;
    --m_conn.m_transactionDepth;
    if (m_outer) {
        if (ClosedHook())
            ClosedHook()();
        modGlobal::SendHeldNotices();
    }
}

Connection::Transaction::~Transaction()
{
    if (m_done)
        return;
    --m_conn.m_transactionDepth;
    if (m_outer) {
        try {
            m_conn.Execute(QStringLiteral("ROLLBACK;"));
        } catch (const DbError&) {
            // The engine may already have rolled back on its own.
        }
        // A table made ready inside the transaction is gone again; the next
        // record object makes it ready anew.
        modGlobal::ResetTableReady();
        if (ClosedHook())
            ClosedHook()();
        modGlobal::DropHeldNotices();
    }
}

#include "FaultInjection.h"

#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "core/Helpers.h"

#include <sqlite3.h>

namespace FaultInjection {

ExclusiveLock::ExclusiveLock(const QString& file)
{
    modGlobal::DB().SetBusyTimeout(50);
    if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK
        || sqlite3_exec(m_db, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("could not lock %s", qPrintable(file));
}

ExclusiveLock::~ExclusiveLock()
{
    sqlite3_exec(m_db, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(m_db);
    if (modGlobal::HasDB())
        modGlobal::DB().SetBusyTimeout(5000);
}

RefuseWrites::RefuseWrites(const QString& table, const QString& what)
    : m_name(QStringLiteral("refuse_") + table + QLatin1Char('_') + what)
{
    modGlobal::DB().Execute(QStringLiteral("CREATE TEMP TRIGGER ") + m_name + QStringLiteral(" BEFORE ") + what
                            + QStringLiteral(" ON main.") + table
                            + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END;"));
}

RefuseWrites::~RefuseWrites()
{
    modGlobal::DB().Execute(QStringLiteral("DROP TRIGGER temp.") + m_name + QLatin1Char(';'));
}

DiskFull::DiskFull()
{
    Recordset rs(QStringLiteral("PRAGMA page_count;"), modGlobal::DB());
    modGlobal::DB().Execute(QStringLiteral("PRAGMA max_page_count = ")
                            + QString::number(modGlobal::FieldLong(rs.Field(0))) + QLatin1Char(';'));
}

DiskFull::~DiskFull()
{
    modGlobal::DB().Execute(QStringLiteral("PRAGMA max_page_count = 1073741823;"));
}

} // namespace FaultInjection

#pragma once

#include <QString>
#include <memory>

struct sqlite3;

// Real failures of the data file for tests: another program holding it
// locked, a disk that is full, or one table whose writes the engine refuses.
namespace FaultInjection {

// A second connection to the file that holds an exclusive lock (as another
// program writing the books would) until it is destroyed. Our own
// connection is made to give up after a short wait instead of five seconds.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const QString& file);
    ~ExclusiveLock();
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    sqlite3* m_db = nullptr;
};

// The engine refuses every insert into (or update of) the table with the
// text of a full disk, on the program's own connection only and without
// touching the file. Ends with the returned guard.
class RefuseWrites {
public:
    RefuseWrites(const QString& table, const QString& what = QStringLiteral("INSERT"));
    ~RefuseWrites();
    RefuseWrites(const RefuseWrites&) = delete;
    RefuseWrites& operator=(const RefuseWrites&) = delete;

private:
    QString m_name;
};

// The file may not grow by a single page more: the engine's own "database
// or disk is full" on the next write that needs room. Ends with the guard.
class DiskFull {
public:
    DiskFull();
    ~DiskFull();
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
};

} // namespace FaultInjection

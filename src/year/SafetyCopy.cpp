#include "SafetyCopy.h"

#include "shell/Messages.h"
#include "shell/clsDBEvent.h"
#include "shell/modGlobal.h"
#include "shell/modStartup.h"
#include "storage/Connection.h"
#include "storage/DbError.h"
#include "storage/clsFunds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <sqlite3.h>

namespace SafetyCopy {

namespace {

QDateTime g_now;

QDateTime Now()
{
    return g_now.isValid() ? g_now : QDateTime::currentDateTime();
}

QFileInfo DataFile()
{
    return QFileInfo(modGlobal::DB().FilePath());
}

QString Suffix()
{
    const QString s = DataFile().suffix();
    return s.isEmpty() ? QString() : QLatin1Char('.') + s;
}

// QVDATA-2025-06-15-143000.MDB, and -2, -3 ... after the time for a second
// copy within the same second.
QRegularExpression NamePattern()
{
    return QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(DataFile().completeBaseName())
                                  + QStringLiteral("-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+))?")
                                  + QRegularExpression::escape(Suffix()) + QLatin1Char('$'),
                              QRegularExpression::CaseInsensitiveOption);
}

// What is kept beside a copy, in a small file of its own: the processing
// year the books were worked in when the copy was made, so that a restore
// brings back the year together with the envelope numbers of that year.
QString AboutFile(const QString& copyPath)
{
    return copyPath + QStringLiteral(".about");
}

void Write_About(const QString& copyPath)
{
    QFile f(AboutFile(copyPath));
    // Without it the copy is still whole; a restore then keeps the year in force.
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        f.write("ProcessingYear=" + QByteArray::number(modGlobal::ProcessingYear) + '\n');
}

int Read_Year(const QString& copyPath)
{
    QFile f(AboutFile(copyPath));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    for (int lines = 0; lines < 20 && !f.atEnd(); ++lines) {
        const QByteArray line = f.readLine(200).trimmed();
        if (line.startsWith("ProcessingYear=")) {
            const int year = line.mid(15).toInt();
            return year >= 1900 && year <= 9999 ? year : 0;
        }
    }
    return 0;
}

struct Found {
    Copy copy;
    int sequence = 1;
};

QList<Found> FindCopies()
{
    QList<Found> found;
    const QRegularExpression pattern = NamePattern();
    const QFileInfoList files = QDir(Folder()).entryInfoList(QDir::Files);
    for (const QFileInfo& f : files) {
        const QRegularExpressionMatch m = pattern.match(f.fileName());
        if (!m.hasMatch())
            continue;
        const QDateTime made = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd-HHmmss"));
        if (!made.isValid())
            continue;
        Found c;
        c.copy = {f.absoluteFilePath(), made, f.size(), Read_Year(f.absoluteFilePath())};
        c.sequence = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        found.append(c);
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.copy.made != b.copy.made ? a.copy.made > b.copy.made : a.sequence > b.sequence;
    });
    return found;
}

void Prune()
{
    const QList<Found> copies = FindCopies();
    for (int i = kKept; i < copies.size(); ++i) {
        QFile::remove(copies[i].copy.path);
        QFile::remove(AboutFile(copies[i].copy.path));
    }
}

QString EngineText(sqlite3* db, int rc)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// Copies every page of one open database into another, in one step, so the
// destination is either the whole copy or unchanged.
void Backup(sqlite3* destination, sqlite3* source)
{
    sqlite3_backup* b = sqlite3_backup_init(destination, "main", source, "main");
    if (!b)
        throw DbError(EngineText(destination, SQLITE_ERROR));
    sqlite3_backup_step(b, -1);
    if (sqlite3_backup_finish(b) != SQLITE_OK)
        throw DbError(EngineText(destination, SQLITE_ERROR));
}

class Handle {
public:
    Handle(const QString& path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const QString text = EngineText(m_db, rc);
            sqlite3_close(m_db);
            m_db = nullptr;
            throw DbError(text + QStringLiteral(": ") + path);
        }
    }
    ~Handle() { Close(); }
    void Close()
    {
        if (m_db)
            sqlite3_close(m_db);
        m_db = nullptr;
    }
    sqlite3* db() const { return m_db; }
    // The first column of the first row, as text.
    QString Value(const char* sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw DbError(EngineText(m_db, SQLITE_ERROR));
        QString value;
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw DbError(EngineText(m_db, rc));
        return value;
    }

private:
    sqlite3* m_db = nullptr;
};

QString NewCopy()
{
    const QString folder = Folder();
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("The folder ") + QDir::toNativeSeparators(folder)
                      + QStringLiteral(" could not be made."));
    const QString stem = DataFile().completeBaseName() + QLatin1Char('-')
                         + Now().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString path = QDir(folder).filePath(stem + Suffix());
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(stem + QLatin1Char('-') + QString::number(n) + Suffix());
    // Written under a name that is not a copy's, so that a copy broken off
    // half-way is never listed.
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    try {
        Handle target(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        Backup(target.db(), modGlobal::DB().Handle());
        target.Close();
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        throw DbError(QStringLiteral("The copy could not be named ") + QDir::toNativeSeparators(path) + QLatin1Char('.'));
    }
    Write_About(path);
    return path;
}

} // namespace

void SetNow(const QDateTime& t)
{
    g_now = t;
}

QString Folder()
{
    return DataFile().absoluteDir().filePath(QStringLiteral("Backups"));
}

QString Make_Copy()
{
    const QString path = NewCopy();
    Prune();
    return path;
}

QList<Copy> List_Copies()
{
    QList<Copy> copies;
    for (const Found& f : FindCopies())
        copies.append(f.copy);
    return copies;
}

bool Copy_Before_Change(QString* path)
{
    path->clear();
    try {
        *path = Make_Copy();
        return true;
    } catch (const DbError& e) {
        return Messages::Show(QStringLiteral("No copy of the books could be saved before this change:\r\n\r\n") + e.Message()
                                  + QStringLiteral("\r\n\r\nMake the change without a copy?"),
                              QStringLiteral("Safety Copy"), Messages::Icon::Exclamation, Messages::Buttons::YesNo)
               == Messages::Answer::Yes;
    }
}

void Tell_Copy(const QString& path, const QString& title)
{
    if (!path.isEmpty())
        Messages::Show(QStringLiteral("A copy of the books before this change was saved as ")
                           + QDir::toNativeSeparators(path) + QLatin1Char('.'),
                       title, Messages::Icon::Information);
}

void Exit_Copy()
{
    if (!modGlobal::HasDB())
        return;
    try {
        if (sqlite3_total_changes(modGlobal::DB().Handle()) == 0 && !FindCopies().isEmpty())
            return;
        Make_Copy();
    } catch (const DbError& e) {
        Messages::Show(QStringLiteral("No safety copy of the books could be saved in ") + QDir::toNativeSeparators(Folder())
                           + QStringLiteral(":\r\n\r\n") + e.Message(),
                       {}, Messages::Icon::Exclamation);
    }
}

QString Restore_Copy(const QString& path)
{
    // A copy that is damaged, or not a data file at all, must not replace the books.
    Handle source(path, SQLITE_OPEN_READONLY);
    const QString check = source.Value("PRAGMA quick_check;");
    if (check != QLatin1String("ok"))
        throw DbError(check + QStringLiteral(": ") + path);
    if (source.Value("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'Pledges';").toInt() == 0)
        throw DbError(QStringLiteral("The file is not a data file of this program: ") + path);

    // The copy of the books as they are now comes first; the oldest copies
    // are let go only afterwards, as the one restored may be among them.
    const QString before = NewCopy();
    Backup(modGlobal::DB().Handle(), source.db());
    source.Close();
    Prune();

    // The copy's year comes back with it: in another year the envelope
    // numbers of the restored books would all be blank.
    if (const int year = Read_Year(path); year > 0)
        modGlobal::ProcessingYear = year;

    // The books are opened again as at start-up, so that every table is
    // ready for the restored content.
    modGlobal::SetDB(std::make_unique<Connection>(modGlobal::DB().FilePath()));
    modGlobal::ResetTableReady();
    modStartup::MakeTablesReady();
    clsFunds mainFund;
    mainFund.Get_One_Record(QStringLiteral("ID = 1"));
    modGlobal::MainFundName = mainFund.FundName();
    // The church's name and the main fund's name may differ in the copy.
    modGlobal::Notify(dbChurch, false, true, false, 1, 0);
    modGlobal::Notify(dbFunds, false, true, false, 1, 0);
    return before;
}

} // namespace SafetyCopy

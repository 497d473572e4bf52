#include "SafetyCopy.h"

#include "core/Messages.h"
#include "core/Privacy.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/clsFunds.h"

#include <QCryptographicHash>
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

// What is kept beside a copy, in a small file of its own: the order in which
// it was made (a sequence that never goes back, whatever the clock says),
// its size and checksum, and the processing year the books were worked in,
// so that a restore brings back the year with that year's envelope numbers.
QString AboutFile(const QString& copyPath)
{
    return copyPath + QStringLiteral(".about");
}

struct About {
    qint64 sequence = 0; // 0: a copy of an older program run, older than any with one
    int processingYear = 0;
    qint64 size = -1;
    QByteArray sha256; // hex
};

About Read_About(const QString& copyPath)
{
    About about;
    QFile f(AboutFile(copyPath));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return about;
    for (int lines = 0; lines < 20 && !f.atEnd(); ++lines) {
        const QByteArray line = f.readLine(200).trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq), value = line.mid(eq + 1);
        if (key == "Sequence")
            about.sequence = std::max<qint64>(0, value.toLongLong());
        else if (key == "ProcessingYear")
            about.processingYear = value.toInt() >= 1900 && value.toInt() <= 9999 ? value.toInt() : 0;
        else if (key == "Size")
            about.size = value.toLongLong();
        else if (key == "SHA256")
            about.sha256 = value.toLower();
    }
    return about;
}

QByteArray Checksum(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f))
        return {};
    return hash.result().toHex();
}

bool Write_About(const QString& copyPath, const About& about)
{
    // Written whole under another name, then put in place.
    const QString path = AboutFile(copyPath);
    QFile f(path + QStringLiteral(".part"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QByteArray text = "Sequence=" + QByteArray::number(about.sequence) + "\nProcessingYear="
                            + QByteArray::number(about.processingYear) + "\nSize=" + QByteArray::number(about.size)
                            + "\nSHA256=" + about.sha256 + '\n';
    const bool written = f.write(text) == text.size() && f.flush();
    f.close();
    modGlobal::Owner_Only(f.fileName());
    QFile::remove(path);
    return written && QFile::rename(f.fileName(), path);
}

struct Found {
    Copy copy;
    qint64 order = 0; // the sequence it was made in
    int suffix = 1;   // -2, -3 ... after the time of a second copy in one second
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
        const About about = Read_About(f.absoluteFilePath());
        Found c;
        c.copy = {f.absoluteFilePath(), made, f.size(), about.processingYear};
        // A copy whose size is not the one it was made with is damaged; the
        // checksum is compared when it is to be restored.
        c.copy.damaged = about.size >= 0 && about.size != f.size();
        c.order = about.sequence;
        c.suffix = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        found.append(c);
    }
    // The order they were made in; the clock only between copies that keep
    // none (made before copies were numbered).
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.order != b.order)
            return a.order > b.order;
        return a.copy.made != b.copy.made ? a.copy.made > b.copy.made : a.suffix > b.suffix;
    });
    return found;
}

qint64 NextSequence()
{
    qint64 last = 0;
    for (const Found& f : FindCopies())
        last = std::max(last, f.order);
    return last + 1;
}

void Remove_Copy(const QString& path)
{
    QFile::remove(path);
    QFile::remove(AboutFile(path));
}

// Lets go of the oldest copies beyond kKept; the ones named are kept in any case.
void Prune(const QStringList& keep)
{
    const QList<Found> copies = FindCopies();
    int kept = 0;
    for (const Found& f : copies) {
        if (keep.contains(f.copy.path) || kept < kKept) {
            ++kept;
            continue;
        }
        Remove_Copy(f.copy.path);
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

// The engine's full check: quick_check does not compare the indexes with
// their tables, and a copy whose index lies would give wrong totals.
void Check_Whole(const Handle& h, const QString& path)
{
    const QString check = h.Value("PRAGMA integrity_check;");
    if (check != QLatin1String("ok"))
        throw DbError(QStringLiteral("The copy is damaged (") + check + QStringLiteral("): ") + QDir::toNativeSeparators(path));
}

QString NewCopy()
{
    const QString folder = Folder();
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("The folder ") + QDir::toNativeSeparators(folder)
                      + QStringLiteral(" could not be made."));
    modGlobal::Owner_Only_Folder(folder);
    const qint64 sequence = NextSequence();
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
        Check_Whole(target, path);
        target.Close();
        modGlobal::Owner_Only(part);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        throw DbError(QStringLiteral("The copy could not be named ") + QDir::toNativeSeparators(path) + QLatin1Char('.'));
    }
    About about;
    about.sequence = sequence;
    about.processingYear = modGlobal::ProcessingYear;
    about.size = QFileInfo(path).size();
    about.sha256 = Checksum(path);
    if (!Write_About(path, about)) {
        // Without it the copy could be taken for an older one and let go first.
        Remove_Copy(path);
        throw DbError(QStringLiteral("The copy's checksum could not be written beside ") + QDir::toNativeSeparators(path)
                      + QLatin1Char('.'));
    }
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
    Prune({path});
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

void Verify_Copy(const QString& path)
{
    const About about = Read_About(path);
    if (!about.sha256.isEmpty() && Checksum(path) != about.sha256)
        throw DbError(QStringLiteral("The copy is damaged: it is no longer the file that was saved. ")
                      + QDir::toNativeSeparators(path));
    Handle source(path, SQLITE_OPEN_READONLY);
    Check_Whole(source, path);
    if (source.Value("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'Pledges';").toInt() == 0)
        throw DbError(QStringLiteral("The file is not a data file of this program: ") + path);
}

QString Restore_Copy(const QString& path)
{
    // A copy that is damaged, or not a data file at all, must not replace the books.
    Verify_Copy(path);
    const About about = Read_About(path);
    Handle source(path, SQLITE_OPEN_READONLY);

    // The copy of the books as they are now comes first; the oldest copies
    // are let go only afterwards, as the one restored may be among them.
    const QString before = NewCopy();
    Backup(modGlobal::DB().Handle(), source.db());
    source.Close();
    {
        // The books put back get the same check; should they fail it, the
        // books as they were go back in their place.
        Handle restored(modGlobal::DB().FilePath(), SQLITE_OPEN_READONLY);
        const QString check = restored.Value("PRAGMA integrity_check;");
        restored.Close();
        if (check != QLatin1String("ok")) {
            Handle previous(before, SQLITE_OPEN_READONLY);
            Backup(modGlobal::DB().Handle(), previous.db());
            throw DbError(QStringLiteral("The restored books did not pass the engine's check (") + check
                          + QStringLiteral("); the books are as they were."));
        }
    }
    Prune({before});

    // The copy's year comes back with it: in another year the envelope
    // numbers of the restored books would all be blank.
    if (about.processingYear > 0)
        modGlobal::ProcessingYear = about.processingYear;

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

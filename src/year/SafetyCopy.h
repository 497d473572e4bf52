#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// Copies of the books kept in a folder "Backups" beside the data file, made
// with the engine's online backup (never by copying the open file), named
// after the data file with the date and time ("QVDATA-2025-06-15-143000.MDB").
// Beside each, a small file keeps the order it was made in, its checksum and
// the processing year. The newest ones by that order are kept, whatever the
// clock said when they were made; a copy is an ordinary data file.
namespace SafetyCopy {

constexpr int kKept = 20;

// The Backups folder beside the open data file.
QString Folder();

// Copies the open data file into Backups and keeps only the newest kKept
// copies. Returns the copy's path. A copy that cannot be made throws
// DbError with the engine's or the file system's words; no half-made copy
// is left behind.
QString Make_Copy();

struct Copy {
    QString path;
    QDateTime made;
    qint64 size = 0;
    int processingYear = 0; // the year in force when it was made; 0 when not known
    bool damaged = false;   // no longer the size it was made with: it cannot be restored
};
// The copies of the open data file, the one made last first.
QList<Copy> List_Copies();

// Before a change of many pledges: makes a copy and returns true. When no
// copy can be made the user is asked whether to go on without one; the
// answer is returned and *path stays empty.
bool Copy_Before_Change(QString* path);
// Tells the user where the copy made before a change is.
void Tell_Copy(const QString& path, const QString& title);

// At a normal exit: a copy when this run wrote to the books (or when there
// is no copy yet), so that runs that only looked do not push older copies
// out. A failure is told to the user; the exit goes on.
void Exit_Copy();

// Puts the books back as they were in the copy: first copies the books as
// they are now (the returned path), then writes the copy over the open
// data file through the engine and reopens it, in the processing year that
// was in force when the copy was made. A copy whose checksum or engine check
// fails, or that is not a sound
// data file throws DbError before anything is changed.
QString Restore_Copy(const QString& path);
// Throws DbError when the copy's checksum or the engine's full check fails,
// or when it is not a data file of this program.
void Verify_Copy(const QString& path);

// The time copies are named by; tests fix it (an invalid time returns to the clock).
void SetNow(const QDateTime& t);

} // namespace SafetyCopy

#pragma once

#include "core/modGlobal.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <stdexcept>

// The books of the older program: its Jet data file (Access 97 or 2000
// format, QVDATA.MDB) read row by row and written to a new data file with
// the same IDs and values. The new file appears only when it is complete;
// a failure leaves nothing behind and an existing file is never replaced.
namespace LegacyImport {

// Why an import stopped, in words for the treasurer: the file, and where
// it matters the table and the row.
class ImportError : public std::runtime_error {
public:
    explicit ImportError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString Message() const { return m_message; }

private:
    QString m_message;
};

struct Result {
    QString target;
    // Rows written per table, indexed by modGlobal::TableIndex.
    std::array<qint64, modGlobal::TableCount> rows{};
    // The old Church table had no AssignEnv column: its row reads False,
    // as after the upgrade of an old church table.
    bool churchHadAssignEnv = true;
    QString churchName;
    // KeyGen rows moved forward past keys already in use, as
    // "Offering: 2197 to 2201".
    QStringList keyCorrections;

    qint64 TotalRows() const;
    // "Funds: 7" ... one line per table, in the order of the import.
    QStringList CountLines() const;
};

// Called now and then with the rows done and the rows in all eight tables.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Reads oldFile and writes newFile. Throws ImportError; newFile is then
// not there (and is never touched when it was there before).
Result Import(const QString& oldFile, const QString& newFile, const Progress& progress = {});

// The same import run by the qv-import tool in a child process, so that
// whatever the reader library does with a damaged file ends only the child.
// Progress comes from the child's output. Throws ImportError, with the
// child's own reason, or "The old file is damaged: ..." when the child
// ended without one. No passing file of the target is left in any outcome.
// While the child works, progress is also called with -1, -1 now and then,
// so that the caller can keep its windows painted.
Result ImportInChild(const QString& tool, const QString& oldFile, const QString& newFile,
                     const Progress& progress = {});

// The money of an imported data file per year and per fund, one line each
// ("2004  General Fund  $12,345.00"), years in order: the old file keeps no
// checksums, so these are to be compared with the old program's reports.
QStringList MoneyLines(const QString& dataFile);
QString CompareAdvice();

// What starts a message about a file whose insides are damaged.
QString DamagedPrefix(); // "The old file is damaged: "

// The tables in the order they are imported.
const std::array<modGlobal::TableIndex, modGlobal::TableCount>& ImportOrder();

// A name for the new data file in folder that no file has yet: the old
// file's base name with ".MDB", else with "-2", "-3" ... added.
QString FreeTargetName(const QString& folder, const QString& oldFile);

} // namespace LegacyImport

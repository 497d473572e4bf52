// qv-import: the books of the older program into a new data file, for
// batch use.
//   qv-import OLD.MDB NEW.MDB
// Prints the rows imported per table and the money per year and fund;
// NEW.MDB must not exist yet. With --progress (as the program runs it),
// "progress DONE TOTAL" lines tell how far the rows have come.
//   qv-import gifts CSV DATA --mapping NAME [--fund DESIGNATION=FUND]... [--add-contributors]
// Books a giving platform's gift file into DATA with the column mapping kept
// under NAME (the first time, one read from the headings and kept), as the
// program's import does; donors who are no contributor are refused unless
// --add-contributors; --fund gives a designation its fund (kept). Prints
// the import's summary.
#include "GiftsCommand.h"
#include "core/DbError.h"
#include "storage/LegacyImport.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("gifts"))
        return Gifts_Command(args.mid(1));
    const bool forProgram = !args.isEmpty() && args.first() == QLatin1String("--progress");
    if (forProgram)
        args.removeFirst();
    if (args.size() != 2 || args[0].startsWith(QLatin1Char('-')) || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: qv-import [--progress] OLD.MDB NEW.MDB\n");
        return 2;
    }
    // A percentage on the terminal for large files; nothing in a log.
    const bool showProgress = isatty(fileno(stderr));
    LegacyImport::Progress progress;
    if (forProgram)
        progress = [](qint64 done, qint64 total) {
            std::printf("progress %lld %lld\n", static_cast<long long>(done), static_cast<long long>(total));
            std::fflush(stdout);
        };
    else if (showProgress)
        progress = [](qint64 done, qint64 total) {
            std::fprintf(stderr, "\rImporting... %3d%%", total > 0 ? int(done * 100 / total) : 100);
            std::fflush(stderr);
        };
    try {
        const LegacyImport::Result r = LegacyImport::Import(args[0], args[1], progress);
        if (showProgress)
            std::fprintf(stderr, "\r                  \r");
        std::printf("%s\n", qPrintable(args[1]));
        for (const QString& line : r.CountLines())
            std::printf("%s\n", qPrintable(line));
        if (!r.churchHadAssignEnv)
            std::printf("Church: no AssignEnv column in the old file; read as No\n");
        for (const QString& c : r.keyCorrections)
            std::printf("KeyGen corrected, %s\n", qPrintable(c));
        std::printf("Money per year and fund:\n");
        for (const QString& line : LegacyImport::MoneyLines(args[1]))
            std::printf("%s\n", qPrintable(line));
        std::printf("%s\n", qPrintable(LegacyImport::CompareAdvice()));
    } catch (const DbError& e) {
        std::fprintf(stderr, "qv-import: The new data file could not be read: %s\n", qPrintable(e.Message()));
        return 1;
    } catch (const LegacyImport::ImportError& e) {
        if (showProgress)
            std::fprintf(stderr, "\n");
        std::fprintf(stderr, "qv-import: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}

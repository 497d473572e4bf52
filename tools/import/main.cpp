// qv-import: the books of the older program into a new data file, for
// batch use.
//   qv-import OLD.MDB NEW.MDB
// Prints the rows imported per table; NEW.MDB must not exist yet.
#include "storage/LegacyImport.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2 || args[0].startsWith(QLatin1Char('-')) || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: qv-import OLD.MDB NEW.MDB\n");
        return 2;
    }
    // A percentage on the terminal for large files; nothing in a log.
    const bool showProgress = isatty(fileno(stderr));
    LegacyImport::Progress progress;
    if (showProgress)
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
    } catch (const LegacyImport::ImportError& e) {
        if (showProgress)
            std::fprintf(stderr, "\n");
        std::fprintf(stderr, "qv-import: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}

// The settings-file reader on any bytes: it never crashes, and a key the
// program writes into such a file reads back as written, with the other
// sections still there.
#include "core/modGlobal.h"
#include "core/modSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const bool set = (modGlobal::SetSettingsFolder(dir.path()), true);
    (void)set;
    {
        QFile f(modSettings::SettingsFilePath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    modSettings::Read(QStringLiteral("General"), QStringLiteral("NumberDataSets"));
    const QString before = modSettings::Read(QStringLiteral("Database"), QStringLiteral("DBName"));
    if (!modSettings::Write(QStringLiteral("General"), QStringLiteral("ProcessingYear"), QStringLiteral("2031")))
        std::abort();
    if (modSettings::Read(QStringLiteral("General"), QStringLiteral("ProcessingYear")) != QLatin1String("2031"))
        std::abort();
    // Writing one key changes no other.
    if (modSettings::Read(QStringLiteral("Database"), QStringLiteral("DBName")) != before)
        std::abort();
    return 0;
}

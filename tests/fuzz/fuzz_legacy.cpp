// The import of the older program's data file with a damaged table
// definition and usage map: the input takes the place of the Funds table's
// definition page and of the page that holds its usage map, in a copy of
// the sample file. The import either refuses the file with a reason or
// imports it; it never reads outside its buffers or ends the process.
#include "storage/LegacyImport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {
// The sample's pages of 4 KB: the Funds definition and the page holding its
// usage map, one after the other.
constexpr qint64 kPage = 4096;
constexpr qint64 kDefinitionPage = 29;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QByteArray sample = [] {
        QFile f(QStringLiteral(QV_LEGACY_SAMPLE));
        if (!f.open(QIODevice::ReadOnly))
            std::abort();
        return f.readAll();
    }();
    const QString old = dir.filePath(QStringLiteral("QVDATA.MDB"));
    const QString target = dir.filePath(QStringLiteral("NEW.MDB"));
    QByteArray file = sample;
    file.replace(kDefinitionPage * kPage, qMin<qint64>(qint64(size), 2 * kPage),
                 QByteArray(reinterpret_cast<const char*>(data), qsizetype(qMin<qint64>(qint64(size), 2 * kPage))));
    file.truncate(sample.size());
    {
        QFile f(old);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(file) != file.size())
            std::abort();
    }
    try {
        LegacyImport::Import(old, target);
    } catch (const LegacyImport::ImportError&) {
        // A refusal; it must leave nothing behind.
        if (QFile::exists(target) || QDir(dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files).size() > 0)
            std::abort();
    }
    QFile::remove(target);
    return 0;
}

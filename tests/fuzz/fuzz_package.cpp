// The update package reader on any bytes: the signature check and the
// expansion of CAB and SZDD (libmspack) never crash, and an expansion that
// succeeds wrote exactly the length the package promised.
#include "update/modUpdate.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString package = dir.filePath(QStringLiteral("QVUPD.VXO"));
    static const QString expanded = dir.filePath(QStringLiteral("expanded"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // No key signs what the fuzzer makes up: a signature found good is a fault.
    if (modUpdate::Signed_Contents(bytes, QByteArray(32, '\x5a')))
        std::abort();
    {
        QFile f(package);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            std::abort();
    }
    QFile::remove(expanded);
    modUpdate::Expand(package, expanded);
    return 0;
}

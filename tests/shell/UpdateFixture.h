#pragma once

// Update packages made in the test (CAB with gcab, SZDD written here) and a
// folder tree standing in for the user's documents, desktop, temporary
// folder and the program folder, so no test touches the real ones.
#include "update/modUpdate.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <sodium.h>

namespace UpdateFixture {

// A version block as the program's executable carries it.
inline QByteArray Block(const QByteArray& company, const QByteArray& product, const QByteArray& version)
{
    return QByteArray("VS_VERSION_INFO\0CompanyName\0", 28) + company + QByteArray("\0ProductName\0", 13) + product
        + QByteArray("\0ProductVersion\0", 16) + version + QByteArray("\0\0", 2);
}

// An executable's stand-in: machine code-like noise, runs of zeros as
// executables have, and the version block somewhere in the middle.
inline QByteArray Program(const QByteArray& version, const QByteArray& product = "Quorvane",
                          const QByteArray& company = "Quorvane Developers", quint32 seed = 7)
{
    QRandomGenerator random(seed);
    QByteArray data;
    for (int i = 0; i < 60000; ++i)
        data.append(char(random.bounded(256)));
    data.append(QByteArray(5000, '\0'));
    data.append(Block(company, product, version));
    for (int i = 0; i < 30000; ++i)
        data.append(char(random.bounded(16)));
    return data;
}

inline bool Write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

inline QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A cabinet made by gcab, MSZIP-compressed, holding the given files.
inline bool MakeCab(const QString& package, const QList<QPair<QString, QByteArray>>& files)
{
    QTemporaryDir staging;
    QStringList args = {QStringLiteral("--create"), QStringLiteral("--zip"), QStringLiteral("--nopath"), package};
    for (const auto& [name, content] : files) {
        const QString path = staging.filePath(name);
        if (!Write(path, content))
            return false;
        args << path;
    }
    QFile::remove(package);
    QProcess gcab;
    gcab.start(QStringLiteral(QV_GCAB), args);
    return gcab.waitForFinished(60000) && gcab.exitStatus() == QProcess::NormalExit && gcab.exitCode() == 0;
}

// An SZDD file as the old COMPRESS tool wrote it: LZSS over a 4096-byte
// window that starts filled with blanks at position 4080. Runs of one byte
// become back-references, everything else literals. The header's length is
// the data's unless the test gives another.
inline QByteArray Szdd(const QByteArray& data, qint64 headerLength = -1)
{
    const quint32 length = quint32(headerLength < 0 ? data.size() : headerLength);
    QByteArray out("SZDD\x88\xF0\x27\x33", 8);
    out.append('A');
    out.append('\0');
    for (int i = 0; i < 4; ++i)
        out.append(char((length >> (8 * i)) & 0xFF));
    qsizetype i = 0;
    while (i < data.size()) {
        const qsizetype control = out.size();
        out.append('\0');
        quint8 flags = 0;
        for (int bit = 0; bit < 8 && i < data.size(); ++bit) {
            qsizetype run = 0;
            if (i > 0)
                while (i + run < data.size() && run < 18 && data.at(i + run) == data.at(i - 1))
                    ++run;
            if (run >= 3) {
                const int pos = int((4080 + i - 1) & 0xFFF);
                out.append(char(pos & 0xFF));
                out.append(char(((pos >> 4) & 0xF0) | int(run - 3)));
                i += run;
            } else {
                flags |= quint8(1u << bit);
                out.append(data.at(i));
                ++i;
            }
        }
        out[control] = char(flags);
    }
    return out;
}

// A key pair of the test's own, made once per run, and another that is not
// the program's.
struct Keys {
    QByteArray publicKey, secretKey;
};
inline Keys MakeKeys()
{
    Keys k;
    if (sodium_init() < 0)
        return k;
    k.publicKey.resize(crypto_sign_PUBLICKEYBYTES);
    k.secretKey.resize(crypto_sign_SECRETKEYBYTES);
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(k.publicKey.data()),
                        reinterpret_cast<unsigned char*>(k.secretKey.data()));
    return k;
}
inline const Keys& TestKeys()
{
    static const Keys keys = MakeKeys();
    return keys;
}

// A package signed as make package signs it.
inline QByteArray Signed(const QByteArray& package, const Keys& keys = TestKeys())
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(package.constData()), quint64(package.size()),
                         reinterpret_cast<const unsigned char*>(keys.secretKey.constData()));
    return package + signature + QByteArray("Quorvane Ed25519");
}

// A signed cabinet of the given files.
inline bool SignedCab(const QString& package, const QList<QPair<QString, QByteArray>>& files,
                      const Keys& keys = TestKeys())
{
    return MakeCab(package, files) && Write(package, Signed(Read(package), keys));
}

// Folders for one test: documents, desktop, temporary and the program's
// own, with a running "program" of version 3.0.5.
struct Places {
    QTemporaryDir root;
    QString documents, desktop, temporary, bin, program;
    QByteArray oldProgram;

    Places()
    {
        documents = root.filePath(QStringLiteral("Documents"));
        desktop = root.filePath(QStringLiteral("Desktop"));
        temporary = root.filePath(QStringLiteral("tmp"));
        bin = root.filePath(QStringLiteral("bin"));
        for (const QString& d : {documents, desktop, temporary, bin})
            QDir().mkpath(d);
        program = QDir(bin).filePath(QStringLiteral("quorvane"));
        oldProgram = Program("3.00.0005", "Quorvane", "Quorvane Developers", 1);
        Write(program, oldProgram);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                           | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }

    modUpdate::Context Context() const
    {
        modUpdate::Context c = modUpdate::DefaultContext();
        c.documents = documents;
        c.desktop = desktop;
        c.temporary = temporary;
        c.program = program;
        c.running = {3, 0, 5};
        c.publicKey = TestKeys().publicKey;
        return c;
    }

    QString OldQV() const { return QDir(bin).filePath(QStringLiteral("OldQV")); }
    QString InDocuments() const { return QDir(documents).filePath(QStringLiteral("QVUPD.VXO")); }
    QString OnDesktop() const { return QDir(desktop).filePath(QStringLiteral("QVUPD.VXO")); }
    // Nothing may stay behind in the temporary folder, whatever happened.
    bool TemporaryEmpty() const
    {
        return QDir(temporary).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty();
    }
};

} // namespace UpdateFixture

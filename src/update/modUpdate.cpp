#include "modUpdate.h"

#include "core/Messages.h"
#include "UpdateKey.h"
#include "Version.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <mspack.h>
#include <sodium.h>

#define QV_COMPANY_NAME "Quorvane Developers"

// The version block the upgrade looks for in an executable, kept as plain
// data so that one search works on every platform: a marker, then key and
// value pairs separated by NULs. The search takes its marker from this array
// rather than from a literal of its own, so that the marker's text appears in
// the program once, here, and the search cannot stop at a copy of it
// elsewhere in the file.
extern const char qvVersionBlock[];
[[gnu::used]] const char qvVersionBlock[] = "VS_VERSION_INFO\0"
                                            "CompanyName\0" QV_COMPANY_NAME "\0"
                                            "ProductName\0Quorvane\0"
                                            "ProductVersion\0" QV_PRODUCT_VERSION "\0";

namespace modUpdate {

namespace {

std::optional<Context> g_context;

// The expected length of a product version: "3.00.0000".
constexpr int ProductVersionLength = 9;
// How far after the marker the keys are looked for.
constexpr int MaxBlockLength = 1024;

// The value after a key: NULs and blanks skipped, then as many characters
// as the expected text has (fewer when the block ends first).
QString Value(const QByteArray& block, const char* key, qsizetype length)
{
    qsizetype at = block.indexOf(key);
    if (at < 0)
        return {};
    at += qstrlen(key);
    while (at < block.size() && (block.at(at) == '\0' || block.at(at) == ' '))
        ++at;
    QByteArray value = block.mid(at, length);
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0)
        value.truncate(nul);
    return QString::fromUtf8(value);
}

bool DefaultCopy(const QString& from, const QString& to)
{
    return QFile::copy(from, to);
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool IsCabFileOfProgram(const char* name)
{
    // A cabinet names its files with Windows separators.
    const QString file = QString::fromUtf8(name).replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(file).completeBaseName().compare(QStringLiteral("quorvane"), Qt::CaseInsensitive) == 0;
}

// A library error while the package is read means the package is damaged;
// one while opening or writing means the files around it are at fault.
Expansion FromError(int error)
{
    switch (error) {
    case MSPACK_ERR_OPEN:
    case MSPACK_ERR_WRITE:
    case MSPACK_ERR_NOMEMORY:
    case MSPACK_ERR_ARGS:
        return Expansion::Failed;
    default:
        return Expansion::NotAPackage;
    }
}

Expansion ExpandSzdd(const QByteArray& package, const QByteArray& target, const QString& targetPath)
{
    msszdd_decompressor* d = mspack_create_szdd_decompressor(nullptr);
    if (!d)
        return Expansion::Failed;
    auto destroy = qScopeGuard([d] { mspack_destroy_szdd_decompressor(d); });
    msszddd_header* header = d->open(d, package.constData());
    if (!header)
        return FromError(d->last_error(d));
    const qint64 expected = header->length;
    const int error = d->extract(d, header, target.constData());
    d->close(d, header);
    if (error != MSPACK_ERR_OK)
        return FromError(error);
    // The library reports success when the stream ends early; only the
    // length the header promised shows that nothing is missing.
    return QFileInfo(targetPath).size() == expected ? Expansion::Expanded : Expansion::NotAPackage;
}

Expansion ExpandCab(const QByteArray& package, const QByteArray& target, const QString& targetPath)
{
    mscab_decompressor* d = mspack_create_cab_decompressor(nullptr);
    if (!d)
        return Expansion::Failed;
    auto destroy = qScopeGuard([d] { mspack_destroy_cab_decompressor(d); });
    mscabd_cabinet* cab = d->open(d, package.constData());
    if (!cab)
        return FromError(d->last_error(d));
    auto close = qScopeGuard([d, cab] { d->close(d, cab); });
    mscabd_file* chosen = cab->files;
    if (chosen && chosen->next) {
        chosen = nullptr;
        for (mscabd_file* f = cab->files; f && !chosen; f = f->next)
            if (IsCabFileOfProgram(f->filename))
                chosen = f;
    }
    if (!chosen)
        return Expansion::NotAPackage;
    // Block checksums are checked while extracting (salvage mode is off).
    const int error = d->extract(d, chosen, target.constData());
    if (error != MSPACK_ERR_OK)
        return FromError(error);
    return QFileInfo(targetPath).size() == qint64(chosen->length) ? Expansion::Expanded : Expansion::NotAPackage;
}

} // namespace

QByteArray BuiltInPublicKey()
{
    return QByteArray::fromHex(QV_UPDATE_PUBLIC_KEY_HEX);
}

std::optional<QByteArray> Signed_Contents(const QByteArray& package, const QByteArray& publicKey)
{
    static const QByteArray marker("Quorvane Ed25519");
    const qsizetype trailer = crypto_sign_BYTES + marker.size();
    if (sodium_init() < 0 || publicKey.size() != crypto_sign_PUBLICKEYBYTES || package.size() < trailer
        || !package.endsWith(marker))
        return std::nullopt;
    const qsizetype length = package.size() - trailer;
    const auto* bytes = reinterpret_cast<const unsigned char*>(package.constData());
    if (crypto_sign_verify_detached(bytes + length, bytes, quint64(length),
                                    reinterpret_cast<const unsigned char*>(publicKey.constData()))
        != 0)
        return std::nullopt;
    return package.left(length);
}

QString PackageName()
{
    return QStringLiteral("QVUPD.VXO");
}

QString CompanyName()
{
    return QStringLiteral(QV_COMPANY_NAME);
}

QString OldProgramName()
{
    return QStringLiteral("OldQV");
}

VersionNumber ParseVersion(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char('.'));
    const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('.'), first + 1);
    const QString major = first < 0 ? text : text.left(first);
    const QString minor = first < 0 ? QString() : (second < 0 ? text.mid(first + 1) : text.mid(first + 1, second - first - 1));
    const QString revision = second < 0 ? QString() : text.mid(second + 1);
    auto number = [](const QString& part) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        return ok ? n : 0;
    };
    return {number(major), number(minor), number(revision)};
}

QString VersionString(const VersionNumber& v)
{
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

VersionNumber RunningVersion()
{
    return {Version::Major, Version::Minor, Version::Revision};
}

QString Version_Text(const QByteArray& contents)
{
    const QByteArray marker(qvVersionBlock, qstrlen(qvVersionBlock) + 1);
    const qsizetype start = contents.indexOf(marker);
    if (start < 0)
        return {};
    const QByteArray block = contents.mid(start + marker.size(), MaxBlockLength);

    // The whole names, up to their NULs: a package of "Quorvane Lite" is
    // another product, though it begins with this one's name.
    constexpr qsizetype kLongestName = 255;
    const QString company = Value(block, "CompanyName", kLongestName);
    const QString product = Value(block, "ProductName", kLongestName);
    const QString version = Value(block, "ProductVersion", ProductVersionLength);
    if (company != CompanyName() || product != QStringLiteral("Quorvane"))
        return {};
    return version;
}

QString File_Version_Text(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    if (uchar* mapped = size > 0 ? file.map(0, size) : nullptr)
        return Version_Text(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size));
    return Version_Text(file.readAll());
}

Expansion Expand(const QString& package, const QString& target)
{
    int selftest = MSPACK_ERR_OK;
    MSPACK_SYS_SELFTEST(selftest);
    if (selftest != MSPACK_ERR_OK)
        return Expansion::Failed;
    QFile file(package);
    if (!file.open(QIODevice::ReadOnly))
        return Expansion::Failed;
    const QByteArray head = file.read(8);
    file.close();
    const QByteArray packageName = QFile::encodeName(package);
    const QByteArray targetName = QFile::encodeName(target);
    if (head.startsWith(QByteArray("SZDD\x88\xF0\x27\x33", 8)) || head.startsWith(QByteArray("SZ \x88\xF0\x27\x33", 7)))
        return ExpandSzdd(packageName, targetName, target);
    if (head.startsWith("MSCF"))
        return ExpandCab(packageName, targetName, target);
    return Expansion::NotAPackage;
}

Context DefaultContext()
{
    Context c;
    c.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    c.desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    c.temporary = QDir::tempPath();
    c.program = QCoreApplication::applicationFilePath();
    c.running = RunningVersion();
    c.publicKey = BuiltInPublicKey();
    c.copy = &DefaultCopy;
    return c;
}

Context CurrentContext()
{
    return g_context ? *g_context : DefaultContext();
}

void SetContext(const std::optional<Context>& context)
{
    g_context = context;
}

QString Find_Package(const Context& c)
{
    for (const QString& folder : {c.documents, c.desktop}) {
        if (folder.isEmpty())
            continue;
        // QDir's name filters ignore case: "qvupd.vxo" saved from a mail is found too.
        const QDir dir(folder);
        const QStringList found = dir.entryList({PackageName()}, QDir::Files | QDir::Hidden, QDir::Name);
        if (!found.isEmpty())
            return dir.filePath(found.first());
    }
    return {};
}

QString Install(const QString& expanded, const Context& c)
{
    const QFileInfo info(c.program);
    const QString program = info.absoluteFilePath();
    const QString old = info.absoluteDir().filePath(OldProgramName()
                                                    + (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix()));
    const QFile::Permissions permissions = QFile::permissions(program) | QFile::ExeOwner | QFile::ExeUser;
    const QString running = VersionString(c.running);
    auto nothingInstalled = [&running](const QString& reason) {
        return QStringLiteral("The Quorvane upgrade could not be installed: %1. Nothing was installed; you are still "
                              "using version %2.")
            .arg(reason, running);
    };

    if (QFileInfo::exists(old) && !QFile::remove(old))
        return nothingInstalled(Native(old) + QStringLiteral(" could not be removed"));
    if (!QFile::rename(program, old))
        return nothingInstalled(Native(program) + QStringLiteral(" could not be renamed to ") + Native(old));

    QString reason;
    if (!c.copy(expanded, program))
        reason = QStringLiteral("the new program could not be written to ") + Native(program);
    else if (!QFile::setPermissions(program, permissions))
        reason = QStringLiteral("the new program could not be given its run permission");
    if (reason.isEmpty())
        return {};

    // Never leave the user without a program that runs: the old one goes
    // back under its own name.
    QFile::remove(program);
    if (QFile::rename(old, program))
        return nothingInstalled(reason);
    return QStringLiteral("The Quorvane upgrade could not be installed: %1. The program you have been using could not "
                          "be put back under its own name; it is kept as %2. Rename it to %3 before you start Quorvane "
                          "again.")
        .arg(reason, Native(old), Native(program));
}

Outcome Update_Quorvane(const Context& c, const std::function<QString()>& locate)
{
    using Messages::Icon;
    QString package = Find_Package(c);
    if (package.isEmpty()) {
        const QString chosen = locate ? locate() : QString();
        if (chosen.isEmpty())
            return Outcome::Cancelled;
        if (!QFileInfo(chosen).isFile()) {
            Messages::Show(QStringLiteral("Could not locate ") + Native(chosen) + QStringLiteral("."), {}, Icon::Exclamation);
            return Outcome::Refused;
        }
        package = chosen;
    }
    const QString shown = Native(package);

    const QString notAnUpdate = shown + QStringLiteral(" did not contain a Quorvane update.");
    QFile packageFile(package);
    if (!packageFile.open(QIODevice::ReadOnly)) {
        Messages::Show(shown + QStringLiteral(" could not be expanded."), {}, Icon::Exclamation);
        return Outcome::Refused;
    }
    // Neither format has a checksum that a changed byte cannot pass, and
    // anyone can write a version block: only the maker's signature shows
    // that the package is the one the maker packed.
    constexpr qint64 kLargestPackage = qint64(512) << 20;
    const std::optional<QByteArray> contents = packageFile.size() <= kLargestPackage
        ? Signed_Contents(packageFile.readAll(), c.publicKey)
        : std::nullopt;
    packageFile.close();
    if (!contents) {
        Messages::Show(notAnUpdate, {}, Icon::Exclamation);
        return Outcome::Refused;
    }

    // The package without its signature, and the expanded file, are removed
    // when this returns, whatever the outcome.
    QTemporaryFile unsigned_(QDir(c.temporary).filePath(QStringLiteral("QVXXXXXX")));
    QTemporaryFile expanded(QDir(c.temporary).filePath(QStringLiteral("QVXXXXXX")));
    if (!unsigned_.open() || unsigned_.write(*contents) != contents->size() || !unsigned_.flush() || !expanded.open()) {
        Messages::Show(shown + QStringLiteral(" could not be expanded."), {}, Icon::Exclamation);
        return Outcome::Refused;
    }
    unsigned_.close();
    expanded.close();
    switch (Expand(unsigned_.fileName(), expanded.fileName())) {
    case Expansion::Failed:
        Messages::Show(shown + QStringLiteral(" could not be expanded."), {}, Icon::Exclamation);
        return Outcome::Refused;
    case Expansion::NotAPackage:
        Messages::Show(notAnUpdate, {}, Icon::Exclamation);
        return Outcome::Refused;
    case Expansion::Expanded:
        break;
    }

    const QString version = File_Version_Text(expanded.fileName());
    if (version.isEmpty()) {
        Messages::Show(notAnUpdate, {}, Icon::Exclamation);
        return Outcome::Refused;
    }
    if (ParseVersion(version) < c.running) {
        Messages::Show(QStringLiteral("The upgrade file contains an older version than the one currently installed. "
                                      "The currently installed version is ")
                           + VersionString(c.running) + QStringLiteral(" and the upgrade file version is ") + version
                           + QStringLiteral("."),
                       {}, Icon::Information);
        return Outcome::Refused;
    }

    const QString problem = Install(expanded.fileName(), c);
    if (!problem.isEmpty()) {
        Messages::Show(problem, {}, Icon::Exclamation);
        return Outcome::Refused;
    }
    Messages::Show(QStringLiteral("The Quorvane upgrade was successfully installed. Quorvane will exit now. When you run "
                                  "it again, you will be using version ")
                       + version,
                   {}, Icon::Information);
    return Outcome::Installed;
}

} // namespace modUpdate

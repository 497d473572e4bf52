#pragma once

#include <QString>
#include <compare>
#include <functional>
#include <optional>

class QByteArray;

// The "Update Quorvane" command without its windows: where the package is
// looked for, how it is expanded and checked, and how the new executable
// takes the place of the running one.
namespace modUpdate {

QString PackageName();   // "QVUPD.VXO"
QString CompanyName();   // the maker the version block must name
QString OldProgramName(); // "OldQV", the previous executable kept beside the new one

struct VersionNumber {
    int major = 0;
    int minor = 0;
    int revision = 0;
    auto operator<=>(const VersionNumber&) const = default;
};
// "3.00.0005" gives 3, 0, 5; a part that is not a number counts as 0.
VersionNumber ParseVersion(const QString& text);
QString VersionString(const VersionNumber& v); // "3.0.5"
VersionNumber RunningVersion();

// The product version ("3.00.0000") of an executable's contents, or ""
// when it carries no version block or the block names another program or
// another maker.
QString Version_Text(const QByteArray& contents);
QString File_Version_Text(const QString& path);

// The public key (32 bytes) whose signatures this program accepts, set when
// it was built.
QByteArray BuiltInPublicKey();
// A package as make package writes it: the package, its Ed25519 signature
// and a marker. The package without the signature when the signature is
// publicKey's and fits every byte; nothing otherwise.
std::optional<QByteArray> Signed_Contents(const QByteArray& package, const QByteArray& publicKey);

enum class Expansion {
    Expanded,
    NotAPackage, // neither CAB nor SZDD, or truncated, or failing its checksums
    Failed       // the package could not be read or the target not written
};
// Expands a CAB or SZDD package into target (which may exist and is
// overwritten). A CAB's file is its only one, or the one named after the
// program when it holds several.
Expansion Expand(const QString& package, const QString& target);

// Everything the command touches outside itself, so that tests can point it
// at folders and a "program" file of their own.
struct Context {
    QString documents; // searched first for the package
    QString desktop;   // searched next
    QString temporary; // folder of the expanded file
    QString program;   // the executable the upgrade replaces
    VersionNumber running;
    QByteArray publicKey; // whose signed packages are installed
    // Writes the new executable; true on success. Tests make it fail.
    std::function<bool(const QString& from, const QString& to)> copy;
};
// The user's documents folder and desktop, the system's temporary folder,
// this executable, its version and its built-in public key.
Context DefaultContext();
// The default context, unless a test has put its own in place.
Context CurrentContext();
void SetContext(const std::optional<Context>& context);

// The package in the documents folder, else on the desktop; "" when
// neither holds one. The name is matched without regard to case.
QString Find_Package(const Context& c);

// Puts the expanded executable in place of the program: the previous
// OldQV is removed, the program renamed to OldQV, the new one written with
// its run permission. On failure the program is back under its own name
// wherever possible. Returns "" on success, else the message for the user.
QString Install(const QString& expanded, const Context& c);

enum class Outcome { Installed, Cancelled, Refused };
// The whole command: finds the package (asking locate for it when neither
// folder holds one; locate returns "" when the user cancels), expands it
// into a temporary file when its signature is the context's key's, checks its version and installs it, telling the
// user of every outcome but a cancel. The temporary file is gone afterwards
// whatever happened. After Installed the program should end.
Outcome Update_Quorvane(const Context& c, const std::function<QString()>& locate);

} // namespace modUpdate

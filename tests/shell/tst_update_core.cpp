// The "Update Quorvane" command without windows: the version search, the
// version rule, expansion of real CAB and SZDD packages (whole, truncated,
// corrupt), the search order, installation and every message, all on
// folders of the test's own.
#include "UpdateFixture.h"
#include "Version.h"
#include "update/modUpdate.h"
#include "support/ScriptedResponder.h"
#include "support/CoreTest.h"

#include <QFileInfo>

using namespace UpdateFixture;
using modUpdate::Expansion;
using modUpdate::Outcome;

namespace {

const QString Success = QStringLiteral("The Quorvane upgrade was successfully installed. Quorvane will exit now. When "
                                       "you run it again, you will be using version ");

template <qsizetype N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The locate window as the command sees it: never asked for, unless a
// test gives an answer.
std::function<QString()> NoLocate()
{
    return [] {
        QTest::qFail("the locate window was not expected", __FILE__, __LINE__);
        return QString();
    };
}

} // namespace

class tst_UpdateCore : public QObject {
    Q_OBJECT
private slots:
    void versionText();
    void versionRule();
    void expandWholePackages();
    void expandDamagedPackages();
    void newerEqualAndOlderVersions_data();
    void newerEqualAndOlderVersions();
    void searchOrder();
    void locateWindowAnswers();
    void refusedPackagesChangeNothing_data();
    void refusedPackagesChangeNothing();
    void failedInstallPutsTheOldProgramBack();
    void packageOfThisBuildInstalls();
};

void tst_UpdateCore::versionText()
{
    QCOMPARE(modUpdate::Version_Text(Program("3.01.0000")), QStringLiteral("3.01.0000"));
    // NULs and blanks between a key and its value are skipped; a value is
    // read to its end or to the length of the expected text.
    QCOMPARE(modUpdate::Version_Text(Bytes("xx\0VS_VERSION_INFO\0CompanyName\0\0 Quorvane Developers\0ProductName"
                                           "\0  Quorvane\0ProductVersion\0\0\0 3.02.0017\0")),
             QStringLiteral("3.02.0017"));
    QCOMPARE(modUpdate::Version_Text(Bytes("VS_VERSION_INFO\0CompanyName\0Quorvane Developers\0ProductName\0Quorvane"
                                           "\0ProductVersion\0" "12.345.678901")),
             QStringLiteral("12.345.67"));
    QCOMPARE(modUpdate::Version_Text(Block("Quorvane Developers", "Quorvane", "3.1").chopped(2)), QStringLiteral("3.1"));
    // Another maker, another program, no version, no block at all.
    QCOMPARE(modUpdate::Version_Text(Program("3.01.0000", "Quorvane", "Someone Else")), QString());
    QCOMPARE(modUpdate::Version_Text(Program("3.01.0000", "Ledgerly")), QString());
    // Names that only begin with this program's or its maker's are others'.
    QCOMPARE(modUpdate::Version_Text(Program("9.00.0000", "Quorvane Lite")), QString());
    QCOMPARE(modUpdate::Version_Text(Program("9.00.0000", "Quorvane", "Quorvane Developers Abroad")), QString());
    QCOMPARE(modUpdate::Version_Text(Block("Quorvane Developers", "Quorvane", "").replace("ProductVersion", "Product")),
             QString());
    QCOMPARE(modUpdate::Version_Text(QByteArray(70000, 'x')), QString());

    // The program as built carries the block, and only once: the search
    // finds the version the build was given, not a copy of the key texts
    // that the search itself holds.
    QCOMPARE(modUpdate::File_Version_Text(QStringLiteral(QV_PROGRAM)), QStringLiteral(QV_PRODUCT_VERSION));
    QCOMPARE(modUpdate::ParseVersion(QStringLiteral(QV_PRODUCT_VERSION)), modUpdate::RunningVersion());
    QCOMPARE(modUpdate::File_Version_Text(QStringLiteral("/nonexistent/quorvane")), QString());
}

void tst_UpdateCore::versionRule()
{
    using V = modUpdate::VersionNumber;
    QCOMPARE(modUpdate::ParseVersion("3.00.0005"), (V{3, 0, 5}));
    QCOMPARE(modUpdate::ParseVersion("3.1"), (V{3, 1, 0}));
    QCOMPARE(modUpdate::ParseVersion("x.2.y"), (V{0, 2, 0}));
    QCOMPARE(modUpdate::ParseVersion("4.5.6.7"), (V{4, 5, 0}));
    QCOMPARE(modUpdate::ParseVersion(""), (V{0, 0, 0}));
    // Numbers, not texts: 3.10 is newer than 3.9, the revision counts last.
    QVERIFY(modUpdate::ParseVersion("3.10.0000") > modUpdate::ParseVersion("3.09.0000"));
    QVERIFY(modUpdate::ParseVersion("3.01.0000") > modUpdate::ParseVersion("3.00.0005"));
    QVERIFY(modUpdate::ParseVersion("3.00.0004") < modUpdate::ParseVersion("3.00.0005"));
    QVERIFY(modUpdate::ParseVersion("4.00.0000") > modUpdate::ParseVersion("3.99.9999"));
    QCOMPARE(modUpdate::VersionString({3, 0, 5}), QStringLiteral("3.0.5"));
}

void tst_UpdateCore::expandWholePackages()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const QByteArray program = Program("3.01.0000");

    const QString cab = dir.filePath("single.cab");
    QVERIFY(MakeCab(cab, {{"quorvane", program}}));
    QCOMPARE(modUpdate::Expand(cab, out), Expansion::Expanded);
    QCOMPARE(Read(out), program);

    // Of several files, the one named after the program, whatever its case
    // or extension; the target is overwritten.
    QVERIFY(MakeCab(cab, {{"README", "read me"}, {"Quorvane.exe", program}, {"zz", "last"}}));
    QCOMPARE(modUpdate::Expand(cab, out), Expansion::Expanded);
    QCOMPARE(Read(out), program);
    QVERIFY(MakeCab(cab, {{"README", "read me"}, {"other", program}}));
    QCOMPARE(modUpdate::Expand(cab, out), Expansion::NotAPackage);

    const QString szdd = dir.filePath("file.sz_");
    const QByteArray packed = Szdd(program);
    QVERIFY(Szdd(QByteArray(5000, '\0')).size() < 1000); // the program's run of zeros goes as back-references
    QVERIFY(Write(szdd, packed));
    QCOMPARE(modUpdate::Expand(szdd, out), Expansion::Expanded);
    QCOMPARE(Read(out), program);

    // Not a compressed package at all; a package or target that cannot be used.
    const QString plain = dir.filePath("plain");
    QVERIFY(Write(plain, program));
    QCOMPARE(modUpdate::Expand(plain, out), Expansion::NotAPackage);
    QCOMPARE(modUpdate::Expand(dir.filePath("missing"), out), Expansion::Failed);
    QCOMPARE(modUpdate::Expand(szdd, dir.filePath("no/such/folder/out")), Expansion::Failed);
    QVERIFY(MakeCab(cab, {{"quorvane", program}}));
    QCOMPARE(modUpdate::Expand(cab, dir.filePath("no/such/folder/out")), Expansion::Failed);
}

void tst_UpdateCore::expandDamagedPackages()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const QByteArray program = Program("3.01.0000");

    // SZDD: the library reports success on a cut stream; the header's
    // length catches it, as it catches a header promising more.
    const QByteArray szdd = Szdd(program);
    const QString cut = dir.filePath("cut.sz_");
    QVERIFY(Write(cut, szdd.left(szdd.size() * 2 / 3)));
    QCOMPARE(modUpdate::Expand(cut, out), Expansion::NotAPackage);
    QVERIFY(Write(cut, Szdd(program, program.size() + 1)));
    QCOMPARE(modUpdate::Expand(cut, out), Expansion::NotAPackage);
    QVERIFY(Write(cut, szdd.left(10)));
    QCOMPARE(modUpdate::Expand(cut, out), Expansion::NotAPackage);

    // CAB: cut in its data, cut in its header, one byte changed.
    const QString cab = dir.filePath("p.cab");
    QVERIFY(MakeCab(cab, {{"quorvane", program}}));
    const QByteArray whole = Read(cab);
    QVERIFY(whole.size() > 1000);
    const QString damaged = dir.filePath("damaged.cab");
    QVERIFY(Write(damaged, whole.left(whole.size() / 2)));
    QCOMPARE(modUpdate::Expand(damaged, out), Expansion::NotAPackage);
    QVERIFY(Write(damaged, whole.left(40)));
    QCOMPARE(modUpdate::Expand(damaged, out), Expansion::NotAPackage);
    QByteArray flipped = whole;
    flipped[whole.size() / 2] = char(flipped.at(whole.size() / 2) ^ 0x55);
    QVERIFY(Write(damaged, flipped));
    QCOMPARE(modUpdate::Expand(damaged, out), Expansion::NotAPackage);
}

void tst_UpdateCore::newerEqualAndOlderVersions_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("szdd");
    QTest::newRow("newer, CAB") << QByteArray("3.01.0000") << true << false;
    QTest::newRow("newer, SZDD") << QByteArray("3.01.0000") << true << true;
    QTest::newRow("equal is installed again") << QByteArray("3.00.0005") << true << false;
    QTest::newRow("older") << QByteArray("3.00.0004") << false << false;
    QTest::newRow("older, SZDD") << QByteArray("2.09.0009") << false << true;
}

void tst_UpdateCore::newerEqualAndOlderVersions()
{
    QFETCH(QByteArray, version);
    QFETCH(bool, installed);
    QFETCH(bool, szdd);
    Places places;
    ScriptedResponder messages;
    const QByteArray update = Program(version, "Quorvane", "Quorvane Developers", 2);
    if (szdd)
        QVERIFY(Write(places.InDocuments(), Signed(Szdd(update))));
    else
        QVERIFY(SignedCab(places.InDocuments(), {{"quorvane", update}}));
    // A previous upgrade's OldQV gives way to the program replaced now.
    QVERIFY(Write(places.OldQV(), "the program before the last upgrade"));
    const auto permissions = QFile::permissions(places.program);

    if (installed)
        messages.Expect(Success);
    else
        messages.Expect("older version");
    const Outcome outcome = modUpdate::Update_Quorvane(places.Context(), NoLocate());
    messages.VerifyAllShown();
    QCOMPARE(messages.Seen().size(), 1);
    const Messages::Message& shown = messages.Seen().first();
    QCOMPARE(shown.icon, Messages::Icon::Information);
    if (installed) {
        QCOMPARE(outcome, Outcome::Installed);
        QCOMPARE(shown.text, Success + QString::fromLatin1(version));
        QCOMPARE(Read(places.program), update);
        QCOMPARE(Read(places.OldQV()), places.oldProgram);
        QCOMPARE(QFile::permissions(places.program), permissions);
    } else {
        QCOMPARE(outcome, Outcome::Refused);
        QCOMPARE(shown.text, QStringLiteral("The upgrade file contains an older version than the one currently installed. "
                                            "The currently installed version is 3.0.5 and the upgrade file version is ")
                                 + QString::fromLatin1(version) + QStringLiteral("."));
        QCOMPARE(Read(places.program), places.oldProgram);
        QCOMPARE(Read(places.OldQV()), QByteArray("the program before the last upgrade"));
    }
    QVERIFY(places.TemporaryEmpty());
}

void tst_UpdateCore::searchOrder()
{
    Places places;
    ScriptedResponder messages;
    const QByteArray fromDocuments = Program("3.02.0000", "Quorvane", "Quorvane Developers", 3);
    const QByteArray fromDesktop = Program("3.03.0000", "Quorvane", "Quorvane Developers", 4);
    QVERIFY(SignedCab(places.InDocuments(), {{"quorvane", fromDocuments}}));
    QVERIFY(SignedCab(places.OnDesktop(), {{"quorvane", fromDesktop}}));
    QCOMPARE(modUpdate::Find_Package(places.Context()), places.InDocuments());

    // Documents first, though the desktop holds the newer version.
    messages.Expect(Success + "3.02.0000");
    QCOMPARE(modUpdate::Update_Quorvane(places.Context(), NoLocate()), Outcome::Installed);
    QCOMPARE(Read(places.program), fromDocuments);

    // Without one in the documents folder, the desktop's; a name saved in
    // other letters is still the package.
    QVERIFY(QFile::remove(places.InDocuments()));
    QVERIFY(QFile::rename(places.OnDesktop(), QDir(places.desktop).filePath("qvupd.vxo")));
    messages.Expect(Success + "3.03.0000");
    QCOMPARE(modUpdate::Update_Quorvane(places.Context(), NoLocate()), Outcome::Installed);
    QCOMPARE(Read(places.program), fromDesktop);
    QCOMPARE(Read(places.OldQV()), fromDocuments);
    messages.VerifyAllShown();
    QVERIFY(places.TemporaryEmpty());
}

void tst_UpdateCore::locateWindowAnswers()
{
    Places places;
    ScriptedResponder messages;
    int asked = 0;
    auto answer = [&asked](const QString& name) {
        return [&asked, name] {
            ++asked;
            return name;
        };
    };

    // Cancelled: no message, nothing changed.
    QCOMPARE(modUpdate::Update_Quorvane(places.Context(), answer(QString())), Outcome::Cancelled);
    QCOMPARE(asked, 1);
    QVERIFY(messages.Seen().isEmpty());

    // A name that is not there.
    const QString missing = places.root.filePath("Downloads/QVUPD.VXO");
    messages.Expect("Could not locate");
    QCOMPARE(modUpdate::Update_Quorvane(places.Context(), answer(missing)), Outcome::Refused);
    QCOMPARE(messages.Seen().last().text, QStringLiteral("Could not locate ") + Native(missing) + QStringLiteral("."));
    QCOMPARE(messages.Seen().last().icon, Messages::Icon::Exclamation);

    // The file the user pointed at, under any name.
    QDir().mkpath(places.root.filePath("Downloads"));
    const QString chosen = places.root.filePath("Downloads/update from the office.cab");
    const QByteArray update = Program("3.01.0000", "Quorvane", "Quorvane Developers", 5);
    QVERIFY(SignedCab(chosen, {{"quorvane", update}}));
    messages.Expect(Success + "3.01.0000");
    QCOMPARE(modUpdate::Update_Quorvane(places.Context(), answer(chosen)), Outcome::Installed);
    QCOMPARE(asked, 3);
    QCOMPARE(Read(places.program), update);
    messages.VerifyAllShown();
    QVERIFY(places.TemporaryEmpty());
}

void tst_UpdateCore::refusedPackagesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("package");
    QTest::addColumn<bool>("programHasKey");
    QTest::addColumn<QString>("message");
    const QString notUpdate = QStringLiteral(" did not contain a Quorvane update.");
    const QByteArray update = Program("3.01.0000", "Quorvane", "Quorvane Developers", 8);
    auto cab = [](const QByteArray& program) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.cab"));
        return MakeCab(path, {{"quorvane", program}}) ? Read(path) : QByteArray();
    };
    // An uncompressed executable, even a newer one, is not a package; nor is
    // a signed one of another program, or of ours without a version block,
    // or one cut short before it was signed.
    QTest::newRow("uncompressed") << Program("3.01.0000") << true << notUpdate;
    QTest::newRow("another program") << Signed(cab(Program("9.00.0000", "Ledgerly"))) << true << notUpdate;
    QTest::newRow("no version block") << Signed(cab(QByteArray(50000, 'q'))) << true << notUpdate;
    QTest::newRow("SZDD cut short") << Signed(Szdd(update).chopped(3000)) << true << notUpdate;
    QTest::newRow("CAB cut short") << Signed(cab(update).chopped(3000)) << true << notUpdate;
    // A changed byte inside the compressed data still expands to a program
    // of the right length with a version block; only the signature tells.
    const Keys other = MakeKeys();
    for (const bool szdd : {false, true}) {
        const char* format = szdd ? "SZDD" : "CAB";
        const QByteArray packed = szdd ? Szdd(update) : cab(update);
        // A literal of the SZDD stream; a cabinet's middle.
        const qsizetype at = szdd ? 20 : packed.size() / 2;
        QByteArray changed = Signed(packed);
        changed[at] = char(changed.at(at) ^ 0x01);
        QByteArray badSignature = Signed(packed);
        badSignature[packed.size() + 10] = char(badSignature.at(packed.size() + 10) ^ 0x80);
        QTest::addRow("%s, one byte of the package changed", format) << changed << true << notUpdate;
        QTest::addRow("%s, one byte of the signature changed", format) << badSignature << true << notUpdate;
        QTest::addRow("%s, signed with another key", format) << Signed(packed, other) << true << notUpdate;
        QTest::addRow("%s, not signed", format) << packed << true << notUpdate;
        QTest::addRow("%s, program built without a key", format) << Signed(packed) << false << notUpdate;
    }
    // A whole package, but no room for the expanded file.
    QTest::newRow("no temporary folder") << Signed(cab(update)) << true << QStringLiteral(" could not be expanded.");
}

void tst_UpdateCore::refusedPackagesChangeNothing()
{
    QFETCH(QByteArray, package);
    QFETCH(bool, programHasKey);
    QFETCH(QString, message);
    Places places;
    ScriptedResponder messages;
    QVERIFY(Write(places.InDocuments(), package));
    modUpdate::Context c = places.Context();
    if (!programHasKey)
        c.publicKey.clear();
    const bool noRoom = message.contains(QLatin1String("expanded"));
    if (noRoom)
        QVERIFY(QDir(places.temporary).removeRecursively());
    const QString text = Native(places.InDocuments()) + message;
    messages.Expect(text);
    QCOMPARE(modUpdate::Update_Quorvane(c, NoLocate()), Outcome::Refused);
    messages.VerifyAllShown();
    QCOMPARE(messages.Seen().last().text, text);
    QCOMPARE(messages.Seen().last().icon, Messages::Icon::Exclamation);
    QCOMPARE(Read(places.program), places.oldProgram);
    QVERIFY(!QFileInfo::exists(places.OldQV()));
    if (noRoom)
        QVERIFY(QDir().mkpath(places.temporary));
    QVERIFY(places.TemporaryEmpty());
}

void tst_UpdateCore::failedInstallPutsTheOldProgramBack()
{
    Places places;
    ScriptedResponder messages;
    const QByteArray update = Program("3.01.0000", "Quorvane", "Quorvane Developers", 6);
    QVERIFY(SignedCab(places.InDocuments(), {{"quorvane", update}}));
    const auto permissions = QFile::permissions(places.program);

    // The copy fails after writing part of the new program.
    modUpdate::Context failing = places.Context();
    QString writtenTo;
    failing.copy = [&](const QString& from, const QString& to) {
        writtenTo = to;
        Write(to, Read(from).left(1000));
        return false;
    };
    messages.Expect("could not be installed");
    QCOMPARE(modUpdate::Update_Quorvane(failing, NoLocate()), Outcome::Refused);
    QCOMPARE(writtenTo, places.program);
    QCOMPARE(messages.Seen().last().text,
             QStringLiteral("The Quorvane upgrade could not be installed: the new program could not be written to ")
                 + Native(places.program) + QStringLiteral(". Nothing was installed; you are still using version 3.0.5."));
    QCOMPARE(Read(places.program), places.oldProgram);
    QCOMPARE(QFile::permissions(places.program), permissions);
    QVERIFY(!QFileInfo::exists(places.OldQV()));
    QVERIFY(places.TemporaryEmpty());

    // An OldQV that cannot be removed (a folder with files in it) stops the
    // install before the program is touched.
    QVERIFY(QDir().mkpath(places.OldQV()));
    QVERIFY(Write(QDir(places.OldQV()).filePath("keep"), "x"));
    messages.Expect("could not be removed");
    QCOMPARE(modUpdate::Update_Quorvane(places.Context(), NoLocate()), Outcome::Refused);
    QCOMPARE(Read(places.program), places.oldProgram);
    QVERIFY(places.TemporaryEmpty());

    // A program that is not where the context says cannot be renamed.
    QVERIFY(QDir(places.OldQV()).removeRecursively());
    modUpdate::Context elsewhere = places.Context();
    elsewhere.program = QDir(places.bin).filePath("not-here");
    messages.Expect("could not be renamed");
    QCOMPARE(modUpdate::Update_Quorvane(elsewhere, NoLocate()), Outcome::Refused);
    QVERIFY(!QFileInfo::exists(elsewhere.program));
    QVERIFY(!QFileInfo::exists(places.OldQV()));

    // With the fault gone, the same package installs.
    messages.Expect(Success + "3.01.0000");
    QCOMPARE(modUpdate::Update_Quorvane(places.Context(), NoLocate()), Outcome::Installed);
    QCOMPARE(Read(places.program), update);
    messages.VerifyAllShown();
    QVERIFY(places.TemporaryEmpty());
}

void tst_UpdateCore::packageOfThisBuildInstalls()
{
    // make package's QVUPD.VXO, put on the desktop of a user running an
    // older version, replaces that program with this build's.
    Places places;
    ScriptedResponder messages;
    QVERIFY(QFile::copy(QStringLiteral(QV_PACKAGE), places.OnDesktop()));
    modUpdate::Context c = places.Context();
    c.running = {0, 9, 0};
    // Signed with the key this build was given, not the test's.
    messages.Expect(QStringLiteral(" did not contain a Quorvane update."));
    QCOMPARE(modUpdate::Update_Quorvane(c, NoLocate()), Outcome::Refused);
    c.publicKey = modUpdate::BuiltInPublicKey();
    QCOMPARE(c.publicKey, modUpdate::DefaultContext().publicKey);
    messages.Expect(Success + QStringLiteral(QV_PRODUCT_VERSION));
    QCOMPARE(modUpdate::Update_Quorvane(c, NoLocate()), Outcome::Installed);
    messages.VerifyAllShown();
    QVERIFY(QFileInfo(places.program).size() > 100000);
    QCOMPARE(modUpdate::File_Version_Text(places.program), QStringLiteral(QV_PRODUCT_VERSION));
    QVERIFY(QFileInfo(places.program).isExecutable());
    QCOMPARE(Read(places.OldQV()), places.oldProgram);
    QVERIFY(places.TemporaryEmpty());
}

QV_TEST_MAIN(tst_UpdateCore, QCoreApplication)
#include "tst_update_core.moc"

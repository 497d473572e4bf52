// Start-up when the data file is not ours alone: another copy of the
// program has it open, a copy that died left its lock behind, or the file
// (or its folder) cannot be written. The other copy is a real process.
#include "support/CoreTest.h"
#include "core/modSettings.h"
#include "storage/modStartup.h"

#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <grp.h>
#include <unistd.h>

using namespace modGlobal;
using modStartup::Result;

namespace {

struct Run {
    QStringList messages;
    int result = -1;
};

// Starts another copy on the test's folders; as an ordinary user when the
// tests run as root (who may write any file).
Run OtherCopy(const QString& picks, const QString& answers, bool ordinaryUser = false)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QV_PICKS", picks);
    env.insert("QV_ANSWERS", answers);
    child.setProcessEnvironment(env);
    if (ordinaryUser && geteuid() == 0)
        child.setChildProcessModifier([] {
            setgroups(0, nullptr);
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(99);
        });
    child.start(QStringLiteral(QV_FAULTCHILD), {"startup", SettingsFolder(), DataFolder(), ProgramFolder()});
    child.waitForFinished(30000);
    Run run;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("MESSAGE "))
            run.messages << QString::fromUtf8(line.mid(8));
        else if (line.startsWith("RESULT "))
            run.result = line.mid(7).toInt();
    }
    if (run.result < 0)
        qWarning("other copy: exit %d, %s", child.exitCode(), child.readAllStandardError().constData());
    return run;
}

void Open(QFileDevice::Permissions p, const QString& path)
{
    QVERIFY(QFile::setPermissions(path, p));
}

} // namespace

class tst_SecondCopy : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsToldWhoHasTheFile();
    void lockOfADeadCopyIsTakenOver();
    void lockNobodyHoldsIsOffered_data();
    void lockNobodyHoldsIsOffered();
    void fileThatCannotBeWrittenIsSaidAtStart();
};

void tst_SecondCopy::secondCopyIsToldWhoHasTheFile()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    data.ProvideTemplate();
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    const QString file = DataFolder() + "/QVDATA.MDB";
    const QFileInfo lock(modStartup::LockFilePath(file));
    QVERIFY(lock.exists());

    // One data set: told, and the copy ends.
    Run run = OtherCopy("", "");
    QCOMPARE(run.result, int(Result::InUse));
    QCOMPARE(run.messages.size(), 1);
    const QString said = run.messages.value(0);
    // The date and time in the other copy's own locale.
    QVERIFY2(said.startsWith("The data file " + file + " is open in another copy of the program: " + lock.owner()
                             + " on computer " + QSysInfo::machineHostName() + " has had it open since "),
             qPrintable(said));
    QVERIFY2(said.contains(QString::number(lock.lastModified().date().year())), qPrintable(said));
    QVERIFY(said.endsWith("||Only one copy of the program can work on a data file at a time."));

    // Several data sets: the other copy may choose another one instead.
    modSettings::Write("General", "NumberDataSets", "2");
    modSettings::Write("Database", "DBName", DataFolder() + "/QVDATA");
    QVERIFY(QFile::copy(file, data.Folder() + "/Youth.MDB"));
    modSettings::Write("Database2", "DBName", data.Folder() + "/Youth");
    run = OtherCopy("1,2", "yes");
    QCOMPARE(run.result, int(Result::Ready));
    QCOMPARE(run.messages.size(), 1);
    QVERIFY(run.messages.value(0).endsWith("Do you want to choose another data set?"));
    run = OtherCopy("1", "no");
    QCOMPARE(run.result, int(Result::InUse));

    // Once this copy ends, the file is free again.
    modStartup::Shut_Down();
    QVERIFY(!QFile::exists(lock.filePath()));
    QCOMPARE(OtherCopy("1", "").result, int(Result::Ready));
}

void tst_SecondCopy::lockOfADeadCopyIsTakenOver()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    data.ProvideTemplate();
    QProcess holder;
    holder.start(QStringLiteral(QV_FAULTCHILD), {"startup", SettingsFolder(), DataFolder(), ProgramFolder(), "hold"});
    QVERIFY(holder.waitForStarted());
    while (!holder.readAllStandardOutput().contains("HOLDING"))
        QVERIFY(holder.waitForReadyRead(20000));
    holder.kill(); // SIGKILL: the lock file stays behind
    holder.waitForFinished();
    QVERIFY(QFile::exists(modStartup::LockFilePath(DataFolder() + "/QVDATA.MDB")));
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    modStartup::Shut_Down();
}

void tst_SecondCopy::lockNobodyHoldsIsOffered_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::newRow("empty, as a power cut leaves it") << QByteArray();
    QTest::newRow("garbled") << QByteArray("\x01\xff\nnot a lock\n");
}

void tst_SecondCopy::lockNobodyHoldsIsOffered()
{
    QFETCH(QByteArray, lock);
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    data.ProvideTemplate();
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    modStartup::Shut_Down();
    const QString lockPath = modStartup::LockFilePath(DataFolder() + "/QVDATA.MDB");
    QFile f(lockPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(lock);
    f.close();
    // Enter leaves it alone; Yes takes the books over.
    data.Messages().ExpectEnter("names no copy of the program: it may be left from a power cut");
    data.Messages().Expect("Only one copy of the program can work on a data file at a time.");
    QCOMPARE(modStartup::Start_Up(nullptr), Result::InUse);
    data.Messages().Expect("Take it over?", Messages::Answer::Yes);
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QCOMPARE(OtherCopy("", "").result, int(Result::InUse)); // now it is ours
    modStartup::Shut_Down();
    QVERIFY(!QFile::exists(lockPath));
}

void tst_SecondCopy::fileThatCannotBeWrittenIsSaidAtStart()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    data.ProvideTemplate();
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    modStartup::Shut_Down();
    const QString file = DataFolder() + "/QVDATA.MDB";
    const auto folderAll = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    Open(folderAll, data.Folder());
    Open(folderAll, SettingsFolder());
    Open(readOnly, modSettings::SettingsFilePath());
    const QString said = "The data file " + file + " can be read but not written: changes cannot be saved.";

    // A read-only file in a folder one may write to.
    Open(folderAll | QFileDevice::WriteOther, DataFolder());
    Open(readOnly, file);
    Run run = OtherCopy("", "", true);
    QCOMPARE(run.messages, QStringList{said});
    QCOMPARE(run.result, int(Result::Ready)); // and the program goes on

    // A file anyone may write, in a read-only folder: no journal can be made.
    Open(readOnly | QFileDevice::WriteOwner | QFileDevice::WriteOther, file);
    Open(folderAll, DataFolder());
    run = OtherCopy("", "", true);
    QCOMPARE(run.messages, QStringList{said});
    QCOMPARE(run.result, int(Result::Ready));

    // Writable again: nothing said.
    Open(folderAll | QFileDevice::WriteOther, DataFolder());
    run = OtherCopy("", "", true);
    QCOMPARE(run.messages, QStringList());
    QCOMPARE(run.result, int(Result::Ready));
}

QV_TEST_MAIN(tst_SecondCopy, QCoreApplication)
#include "tst_second_copy.moc"

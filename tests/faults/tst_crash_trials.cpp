// The proof that a killed program leaves no action half done: a child
// process runs one user action that writes many rows and is killed with
// SIGKILL at many points, inside the engine (at a chosen step) and from
// outside (at a random time, which reaches the commit). After each kill the
// file must pass the engine's integrity check and hold all of the action
// or none of it. QV_CRASH_TRIALS sets the trials per action (make soak
// runs many more).
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "support/TestDataSet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest/QTest>

using namespace modGlobal;

namespace {

enum class Outcome { None, All, Half };

int Trials()
{
    const int n = qEnvironmentVariableIntValue("QV_CRASH_TRIALS");
    return n > 0 ? n : 12;
}

double Scalar(Connection& c, const QString& sql)
{
    Recordset rs(sql, c);
    return rs.Eof() ? 0.0 : FieldDouble(rs.Field(0));
}

QString IntegrityCheck(Connection& c)
{
    Recordset rs("PRAGMA integrity_check;", c);
    return FieldText(rs.Field(0));
}

} // namespace

class tst_CrashTrials : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void killedActionsLeaveAllOrNothing_data();
    void killedActionsLeaveAllOrNothing();
    void aKilledSettingsWriteLeavesAWholeFile();

private:
    // Runs the child; kills it at 'dieAt' engine steps or after 'killAfterMs'
    // from READY (negative: neither). Returns the steps it reported when it
    // finished, or -1 when killed.
    long RunChild(const QString& action, const QString& file, long dieAt, int killAfterUs);
    Outcome Judge(const QString& action, const QString& file);

    std::unique_ptr<TestDataSet> m_data;
    QString m_base;
    int m_fund = 0;
};

void tst_CrashTrials::initTestCase()
{
    // The books every trial starts from: 2,000 contributors with a pledge
    // of $1.00 each to the building fund, one contributor who gives in
    // set 1, one who leaves with five pledges.
    m_data = std::make_unique<TestDataSet>();
    m_fund = m_data->AddFund("Building Fund");
    for (const char* f : {"Missions", "Flowers", "Bells"})
        m_data->AddFund(f);
    m_data->AddCollection(QDate(2025, 6, 15));
    {
        Connection::Transaction tx(DB());
        for (int i = 0; i < 2000; ++i)
            m_data->AddPledge(m_data->AddContributor(QStringLiteral("Member %1").arg(i, 4, 10, QLatin1Char('0'))), m_fund, 1);
        m_data->AddContributor("Giver");
        const int leaving = m_data->AddContributor("Leaving");
        for (int i = 0; i < 5; ++i)
            m_data->AddPledge(leaving, -2021 - i, 100 + i, 40 + i);
        tx.Commit();
    }
    m_base = m_data->DataFile();
    CloseDB();
}

void tst_CrashTrials::cleanupTestCase()
{
    m_data.reset();
}

long tst_CrashTrials::RunChild(const QString& action, const QString& file, long dieAt, int killAfterUs)
{
    QProcess child;
    QStringList args{"action", action, file};
    if (dieAt > 0)
        args << QString::number(dieAt);
    child.start(QStringLiteral(QV_FAULTCHILD), args);
    if (!child.waitForStarted(10000))
        qFatal("qv-faultchild did not start");
    while (!child.canReadLine() && child.waitForReadyRead(10000)) {
    }
    const QByteArray ready = child.readLine().trimmed();
    if (ready != "READY") {
        child.waitForFinished(10000);
        qFatal("qv-faultchild %s ended with %d: %s %s", qPrintable(action), child.exitCode(), ready.constData(),
               child.readAllStandardError().constData());
    }
    if (killAfterUs >= 0) {
        QThread::usleep(ulong(killAfterUs));
        child.kill();
    }
    child.waitForFinished(60000);
    if (child.exitStatus() == QProcess::CrashExit)
        return -1;
    const QByteArray done = child.readAll().trimmed();
    if (!done.startsWith("DONE"))
        qFatal("qv-faultchild: %s %s", done.constData(), child.readAllStandardError().constData());
    return done.mid(5).toLong();
}

Outcome tst_CrashTrials::Judge(const QString& action, const QString& file)
{
    // Opening the file is what a restarted program does: the engine rolls
    // back what the killed one left in its journal.
    Connection c(file);
    const QString integrity = IntegrityCheck(c);
    if (integrity != "ok")
        qFatal("integrity check after a kill: %s", qPrintable(integrity));
    bool all = false, none = false;
    const double pledges = Scalar(c, QStringLiteral("SELECT COUNT(*) FROM Pledges WHERE FundID = %1").arg(m_fund));
    if (action == "grid") {
        const double changed = Scalar(c, QStringLiteral("SELECT COUNT(*) FROM Pledges WHERE FundID = %1 AND Amount <> 1").arg(m_fund));
        all = changed == 2000 && pledges == 2000;
        none = changed == 0 && pledges == 2000;
    } else if (action == "offering") {
        const double lines = Scalar(c, "SELECT COUNT(*) FROM Offering");
        const double sum = Scalar(c, "SELECT SUM(Amount) FROM Offering");
        const double comments = Scalar(c, "SELECT COUNT(*) FROM ColComment WHERE Comment = 'Cash and check'");
        all = lines == 5 && sum == 150 && comments == 1;
        none = lines == 0 && comments == 0;
    } else if (action == "count") {
        const double counts = Scalar(c, "SELECT COUNT(*) FROM CollectionCount");
        const double checks = Scalar(c, "SELECT COUNT(*) FROM CollectionChecks");
        const double cents = Scalar(c, "SELECT SUM(Cents) FROM CollectionChecks");
        all = counts == 1 && checks == 300 && cents == 750000;
        none = counts == 0 && checks == 0;
    } else if (action == "numbers") {
        // 2,002 envelope users: the 2,000 members' pledges numbered, and a
        // pledge with a number made for each of the other two.
        const double numbered = Scalar(c, QStringLiteral("SELECT COUNT(DISTINCT AccountNumber) FROM Pledges "
                                                         "WHERE FundID = %1 AND AccountNumber > 0").arg(m_fund));
        all = pledges == 2002 && numbered == 2002;
        none = pledges == 2000 && numbered == 0;
    } else if (action == "inactive") {
        const double inactive = Scalar(c, QStringLiteral("SELECT COUNT(*) FROM Pledges WHERE FundID = %1 AND IsInactive <> 0").arg(m_fund));
        all = pledges == 2000 && inactive == 2000;
        none = pledges == 2000 && inactive == 0;
    } else {
        const double person = Scalar(c, "SELECT COUNT(*) FROM Contributors WHERE LastName = 'Leaving'");
        const double mainFund = Scalar(c, "SELECT COUNT(*) FROM Pledges WHERE FundID < 0");
        all = person == 0 && mainFund == 0;
        none = person == 1 && mainFund == 5;
    }
    return all ? Outcome::All : (none ? Outcome::None : Outcome::Half);
}

void tst_CrashTrials::killedActionsLeaveAllOrNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("pledge grid, 2,000 amounts") << "grid";
    QTest::newRow("offering record, five lines and a comment") << "offering";
    QTest::newRow("plate count with 300 checks") << "count";
    QTest::newRow("contributor deleted with five pledges") << "delete";
    QTest::newRow("envelope numbers for 2,002 contributors") << "numbers";
    QTest::newRow("2,000 pledges made inactive") << "inactive";
}

void tst_CrashTrials::killedActionsLeaveAllOrNothing()
{
    QFETCH(QString, action);
    const QString file = QDir(m_data->Folder()).filePath("trial.MDB");
    auto fresh = [&] {
        QFile::remove(file);
        QFile::remove(file + "-journal");
        QVERIFY(QFile::copy(m_base, file));
    };
    // A run to the end tells how many engine steps and how long the action takes.
    fresh();
    QElapsedTimer clock;
    clock.start();
    const long steps = RunChild(action, file, 0, -1);
    const qint64 tookUs = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
    QVERIFY(steps > 0);
    QCOMPARE(Judge(action, file), Outcome::All);

    int counts[3] = {0, 0, 0};
    auto* random = QRandomGenerator::global();
    for (int trial = 0; trial < Trials(); ++trial) {
        fresh();
        // Alternately at an engine step and at a moment from outside.
        if (trial % 2 == 0)
            RunChild(action, file, 1 + long(random->bounded(quint32(steps))), -1);
        else
            RunChild(action, file, 0, int(random->bounded(quint32(tookUs))));
        const Outcome o = Judge(action, file);
        ++counts[int(o)];
        QVERIFY2(o != Outcome::Half, qPrintable(QStringLiteral("trial %1 left the action half done").arg(trial)));
    }
    qInfo("%s: %d trials, %d left nothing, %d left all, %d half done", qPrintable(action), Trials(), counts[0], counts[1],
          counts[2]);
}

void tst_CrashTrials::aKilledSettingsWriteLeavesAWholeFile()
{
    // A settings file of many data sets, written fifty times over by the
    // child, killed somewhere in between.
    const QString folder = QDir(m_data->Folder()).filePath("settings-trial");
    QDir().mkpath(folder);
    const QString ini = QDir(folder).filePath("VXOQV.INI");
    QByteArray text = "[General]\r\nNumberDataSets=99\r\nProcessingYear=1999\r\n";
    for (int i = 1; i <= 99; ++i)
        text += QStringLiteral("[Database%1]\r\nDBName=C:\\Books\\Set%1\r\nDBLabel=%2\r\n")
                    .arg(i)
                    .arg(QString(200, QLatin1Char('x')))
                    .toUtf8();
    auto fresh = [&] {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    fresh();
    QElapsedTimer clock;
    clock.start();
    RunChild("settings", folder, 0, -1);
    const qint64 tookUs = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
    SetSettingsFolder(folder);
    int whole = 0;
    for (int trial = 0; trial < Trials(); ++trial) {
        fresh();
        RunChild("settings", folder, 0, int(QRandomGenerator::global()->bounded(quint32(tookUs))));
        const int year = modSettings::Read("General", "ProcessingYear").toInt();
        QVERIFY2(year == 1999 || (year >= 2000 && year < 2050), qPrintable(QString::number(year)));
        QCOMPARE(modSettings::Read("Database99", "DBName"), "C:\\Books\\Set99");
        QCOMPARE(modSettings::Read("Database1", "DBLabel").size(), 200);
        ++whole;
    }
    SetSettingsFolder({});
    qInfo("settings: %d trials, %d left a whole file", Trials(), whole);
}

QV_TEST_MAIN(tst_CrashTrials, QCoreApplication)
#include "tst_crash_trials.moc"

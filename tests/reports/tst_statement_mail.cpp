// Statements by e-mail against a real mail server on this machine: the
// right statement to the right address, a refused recipient reported and
// put on paper, a dropped connection resumed without sending twice, and the
// sending process killed at random moments and run again.
#include "PdfText.h"
#include "reports/StatementMail.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "core/Connection.h"
#include "storage/ContributorEmail.h"
#include "storage/clsChurch.h"
#include "storage/clsContributors.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest/QTest>

#include "support/ChurchSettings.h"
#include "support/TestDataSet.h"
#include "support/TestSmtpServer.h"

using namespace StatementMail;
using ContributorEmail::Delivery;

namespace {
const QDate kFrom(2025, 1, 1), kTo(2025, 12, 31);

QString Name(int i) { return QStringLiteral("Giver%1").arg(i, 3, 10, QLatin1Char('0')); }
QString Address(int i) { return QStringLiteral("giver%1@example.org").arg(i); }

// A mail server on this machine, without TLS.
void Point_At(quint16 port)
{
    modSettings::Write("Mail", "Server", "127.0.0.1");
    modSettings::Write("Mail", "Port", QString::number(port));
    modSettings::Write("Mail", "Security", "None");
    modSettings::Write("Mail", "Sender", "treasurer@grace.example");
}

struct Sent {
    RunResult result;
    QList<TestSmtpServer::Mail> mails;
};
} // namespace

class tst_StatementMail : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_data.reset(); }
    void addressForms_data();
    void addressForms();
    void plainOnlyToThisMachine_data();
    void plainOnlyToThisMachine();
    void eachStatementToItsOwner();
    void droppedConnectionResumedWithoutRepeats();
    void deletedContributorTakesItsAddress();
    void killedSendingResumes();

private:
    // count givers with a gift each; every third gets paper as well, the
    // last one paper only.
    void Givers(int count);
    Sent Send(TestSmtpServer& server, const QString& paper = {});

    std::unique_ptr<TestDataSet> m_data;
    QList<int> m_ids;
};

void tst_StatementMail::init()
{
    m_data = std::make_unique<TestDataSet>();
    SetChurch("Grace Church");
    m_ids.clear();
}

void tst_StatementMail::Givers(int count)
{
    const int set = m_data->AddCollection(QDate(2025, 3, 2));
    for (int i = 1; i <= count; ++i) {
        // A comma in the name, which an address header must quote.
        const int id = m_data->AddContributor(Name(i), "Pat, Jr");
        m_data->DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '%1 Elm St', City = 'Salem', State = 'OR', ZipCode = '97301' "
                                            "WHERE ID = %2;")
                                 .arg(i)
                                 .arg(id));
        m_data->AddOffering(id, set, -2025, 10 * i);
        const Delivery d = i == count ? Delivery::Paper : i % 3 == 0 ? Delivery::Both : Delivery::Email;
        ContributorEmail::Save(id, {d == Delivery::Paper ? QString() : Address(i), d});
        m_ids << id;
    }
}

Sent tst_StatementMail::Send(TestSmtpServer& server, const QString& paper)
{
    Point_At(server.Port());
    rptStatement report;
    report.Bind(Statements::Build({false, true, 0}, kFrom, kTo));
    const Settings settings = Settings::Load();
    Sender sender(settings, {});
    const int before = server.Count();
    Sent s;
    s.result = Run(report, Make_Plan(report, kFrom, kTo), kFrom, kTo, sender, settings, paper);
    s.mails = server.Mails().mid(before);
    return s;
}

void tst_StatementMail::addressForms_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("good");
    QTest::newRow("plain") << "ann.lee@example.org" << true;
    QTest::newRow("plus and subdomain") << "ann+church@mail.example.co.uk" << true;
    QTest::newRow("blanks around") << "  ann@example.org " << true;
    QTest::newRow("no at") << "ann.example.org" << false;
    QTest::newRow("two ats") << "ann@lee@example.org" << false;
    QTest::newRow("no dot in domain") << "ann@localhost" << false;
    QTest::newRow("blank inside") << "ann lee@example.org" << false;
    QTest::newRow("display name") << "Ann <ann@example.org>" << false;
    QTest::newRow("two addresses") << "ann@example.org, bob@example.org" << false;
    QTest::newRow("double dot") << "ann..lee@example.org" << false;
    QTest::newRow("domain ends in dash") << "ann@example-.org" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_StatementMail::addressForms()
{
    QFETCH(QString, address);
    QFETCH(bool, good);
    QCOMPARE(ContributorEmail::Valid_Address(address), good);
    QCOMPARE(ContributorEmail::Address_Problem(address).isEmpty(), good);
}

void tst_StatementMail::plainOnlyToThisMachine_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("security");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("plain here") << "localhost" << "None" << true;
    QTest::newRow("plain loopback") << "127.0.0.1" << "none" << true;
    QTest::newRow("plain elsewhere") << "smtp.example.org" << "None" << false;
    QTest::newRow("plain to a look-alike") << "127.0.0.1.example.org" << "None" << false;
    QTest::newRow("starttls elsewhere") << "smtp.example.org" << "STARTTLS" << true;
    QTest::newRow("no server") << "" << "TLS" << false;
}

void tst_StatementMail::plainOnlyToThisMachine()
{
    QFETCH(QString, server);
    QFETCH(QString, security);
    QFETCH(bool, allowed);
    modSettings::Write("Mail", "Server", server);
    modSettings::Write("Mail", "Security", security);
    modSettings::Write("Mail", "Sender", "treasurer@grace.example");
    const Settings s = Settings::Load();
    QCOMPARE(s.Problem().isEmpty(), allowed);
    // Certificates are checked unless the settings file says otherwise.
    QVERIFY(s.verifyCertificates);
}

void tst_StatementMail::eachStatementToItsOwner()
{
    Givers(4);
    // Giver001 refused by the server, Giver003 gets both, Giver004 paper only.
    TestSmtpServer server({Address(1)});
    const QString paper = m_data->Folder() + QStringLiteral("/paper.pdf");
    const Sent first = Send(server, paper);
    QVERIFY2(first.result.stopped.isEmpty(), qPrintable(first.result.stopped));
    QCOMPARE(first.result.sent, 2);
    QCOMPARE(first.result.refused.size(), 1);
    QVERIFY2(first.result.refused[0].contains("Giver001") && first.result.refused[0].contains("User unknown"),
             qPrintable(first.result.refused[0]));
    QCOMPARE(first.mails.size(), 2);
    for (int i : {2, 3}) {
        const TestSmtpServer::Mail& m = first.mails[i - 2];
        QCOMPARE(m.to, QStringList{Address(i)});
        QCOMPARE(TestSmtpServer::Header(m.data, "Subject"), QStringLiteral("Contribution statement January 1, 2025 to December 31, 2025"));
        QCOMPARE(TestSmtpServer::Header(m.data, "To"), QStringLiteral("\"Pat, Jr %1\" <%2>").arg(Name(i), Address(i)));
        const QString pdf = m_data->Folder() + QStringLiteral("/got.pdf");
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(TestSmtpServer::Attachment(m.data));
        f.close();
        const QString text = PdfText::Squeezed(PdfText::Pages(pdf).join('\n'));
        QVERIFY2(text.contains("Pat, Jr " + Name(i)) && text.contains(QStringLiteral("$%1.00").arg(10 * i)), qPrintable(text));
        QVERIFY(!text.contains(Name(i == 2 ? 3 : 2)));
    }
    // Paper: the refused one, the one who wants both, the paper-only one.
    const QStringList pages = PdfText::Pages(paper);
    QCOMPARE(pages.size(), 3);
    for (int i : {1, 3, 4})
        QVERIFY2(pages[i == 1 ? 0 : i - 2].contains(Name(i)), qPrintable(pages.join('\n')));
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM StatementEmailLog WHERE MessageID LIKE '<%@grace.example>' AND ServerAnswer LIKE '250 %'"), 2.0);

    // The same run again sends nothing but the refused one's, which is refused again.
    const Sent again = Send(server);
    QCOMPARE(again.mails.size(), 0);
    QCOMPARE(again.result.skipped, 2);
    QCOMPARE(again.result.refused.size(), 1);
}

void tst_StatementMail::droppedConnectionResumedWithoutRepeats()
{
    Givers(15); // 14 by e-mail
    QStringList got;
    {
        TestSmtpServer dropping({}, 10);
        const Sent s = Send(dropping);
        QCOMPARE(s.result.sent, 10);
        QVERIFY(!s.result.stopped.isEmpty());
        for (const auto& m : s.mails)
            got << m.to;
    }
    TestSmtpServer server;
    const Sent rest = Send(server);
    QVERIFY2(rest.result.stopped.isEmpty(), qPrintable(rest.result.stopped));
    QCOMPARE(rest.result.skipped, 10);
    QCOMPARE(rest.mails.size(), 4);
    for (const auto& m : rest.mails)
        got << m.to;
    QStringList expected;
    for (int i = 1; i <= 14; ++i)
        expected << Address(i);
    got.sort();
    expected.sort();
    QCOMPARE(got, expected);
}

void tst_StatementMail::deletedContributorTakesItsAddress()
{
    Givers(2);
    const int id = m_data->AddContributor("Nogifts");
    ContributorEmail::Save(id, {"no@example.org", Delivery::Email});
    clsContributors c;
    c.Get_One_Record(QStringLiteral("ID = %1").arg(id));
    c.Delete_Record_from_DB();
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM ContributorEmail"), 1.0);
    QCOMPARE(ContributorEmail::Of(id).email, QString());
}

void tst_StatementMail::killedSendingResumes()
{
    Givers(25); // 24 by e-mail
    TestSmtpServer server;
    Point_At(server.Port());
    // The child reads the same settings file.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", modGlobal::SettingsFolder());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString dataFile = m_data->DataFile();
    const QStringList args = {dataFile, "statements", "--which", "all-name", "--from", "2025-01-01", "--to", "2025-12-31", "--email"};
    // The list first, as --dry-run shows it, sends nothing.
    QProcess dry;
    dry.setProcessEnvironment(env);
    dry.start(QV_REPORT, args + QStringList{"--dry-run"});
    QVERIFY(dry.waitForFinished(60000));
    const QString listing = QString::fromUtf8(dry.readAllStandardOutput());
    QVERIFY2(listing.contains("24 to send, 0 already sent, 9 on paper"), qPrintable(listing));
    QCOMPARE(server.Count(), 0);

    int kills = 0;
    bool finished = false;
    for (int round = 0; round < 60 && !finished; ++round) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QV_REPORT, args);
        QVERIFY(p.waitForStarted());
        // Killed while sending: once a few more messages have arrived,
        // a moment after, wherever the child is by then.
        const int target = server.Count() + QRandomGenerator::global()->bounded(1, 5);
        while (server.Count() < target && p.state() != QProcess::NotRunning)
            p.waitForFinished(1);
        if (p.state() != QProcess::NotRunning)
            p.waitForFinished(QRandomGenerator::global()->bounded(1, 15));
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished();
            ++kills;
            continue;
        }
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAllStandardError().constData());
        finished = true;
    }
    QVERIFY(finished);
    QVERIFY(kills > 0);
    QHash<QString, int> times;
    for (const auto& m : server.Mails())
        ++times[m.to.value(0)];
    int repeats = 0;
    for (int i = 1; i <= 24; ++i) {
        QVERIFY2(times.value(Address(i)) >= 1, qPrintable(Address(i)));
        repeats += times.value(Address(i)) - 1;
    }
    QVERIFY2(repeats <= kills, qPrintable(QStringLiteral("%1 repeats after %2 kills").arg(repeats).arg(kills)));
    QCOMPARE(m_data->Scalar("SELECT COUNT(DISTINCT ContributorID) FROM StatementEmailLog"), 24.0);
    qInfo("%d kills, %d messages sent twice", kills, repeats);
}

QV_TEST_MAIN(tst_StatementMail, QGuiApplication)
#include "tst_statement_mail.moc"

// Statements by e-mail on the large data set: every contributor given an
// address, and the year's statements (5,000) rendered and sent one message
// each to a mail server on this machine (the tests' server). Reported:
// messages per second and the process's peak memory (VmHWM; run this
// benchmark alone with --benchmark_filter for a figure of its own).
#include "BenchData.h"
#include "reports/StatementMail.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "core/Connection.h"
#include "storage/ContributorEmail.h"
#include "support/TestSmtpServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using BenchData::Peak_MB;

void BM_StatementsEmailedAll(benchmark::State& state)
{
    BenchData::OpenLargeDataSet();
    const int year = BenchData::LastYear();
    const QDate from(year, 1, 1), to(year, 12, 31);
    Connection& db = modGlobal::DB();
    {
        Connection::Transaction tx(db);
        ContributorEmail::Make_Ready();
        db.Execute(QStringLiteral("INSERT OR REPLACE INTO ContributorEmail (ContributorID, Email, Delivery) "
                                  "SELECT ID, 'giver' || ID || '@example.org', 1 FROM Contributors WHERE ID > 1;"));
        tx.Commit();
    }
    // The mail settings of this run only, never the user's.
    const QString ownSettings = modGlobal::SettingsFolder();
    QTemporaryDir settings;
    modGlobal::SetSettingsFolder(settings.path());
    TestSmtpServer server({}, -1, false);
    modSettings::Write("Mail", "Server", "127.0.0.1");
    modSettings::Write("Mail", "Port", QString::number(server.Port()));
    modSettings::Write("Mail", "Security", "None");
    modSettings::Write("Mail", "Sender", "treasurer@church.example");
    rptStatement report;
    report.Bind(Statements::Build({true, false, 0}, from, to));
    const StatementMail::Settings mail = StatementMail::Settings::Load();
    int sent = 0;
    for (auto _ : state) {
        state.PauseTiming();
        db.Execute(QStringLiteral("DELETE FROM StatementEmailLog;"));
        const StatementMail::Plan plan = StatementMail::Make_Plan(report, from, to);
        state.ResumeTiming();
        StatementMail::Sender sender(mail, {});
        sent = StatementMail::Run(report, plan, from, to, sender, mail, {}).sent;
    }
    db.Execute(QStringLiteral("DELETE FROM StatementEmailLog;"));
    modGlobal::SetSettingsFolder(ownSettings);
    state.counters["messages"] = sent;
    state.counters["messages_per_s"] = benchmark::Counter(double(sent) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["received"] = server.Count();
    state.counters["peak_MB"] = Peak_MB();
}
BENCHMARK(BM_StatementsEmailedAll)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

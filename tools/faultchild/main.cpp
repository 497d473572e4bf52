// A second copy of the program for the fault tests, run as its own process:
//
//   qv-faultchild startup SETTINGS DATA PROGRAM [hold]
//       The start-up, with the data-set choice taken from QV_PICKS ("2,1")
//       and the answers to questions from QV_ANSWERS ("yes,no"). Prints
//       each message and the result; with "hold" it keeps the data file
//       until its input closes (or it is killed).
//
//   qv-faultchild action NAME FILE [DIE_AT]
//       One user action that writes many rows (grid, offering, count,
//       delete, numbers, inactive, settings), for the crash trials. With DIE_AT the
//       process kills itself at that engine step; without, it reports how
//       many steps the action took. The trials also kill it from outside at random times.
#include "maintenance/PledgeGrid.h"
#include "offering/PlateCount.h"
#include "offering/ReceiptQueries.h"
#include "offering/modOffering.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsContributors.h"
#include "year/YearEnd.h"

#include <QCoreApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <sqlite3.h>

namespace {

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QStringList FromEnv(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name)).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

int RunStartup(const QStringList& args)
{
    modGlobal::SetSettingsFolder(args.value(2));
    modGlobal::SetDataFolder(args.value(3));
    modGlobal::SetProgramFolder(args.value(4));
    QStringList picks = FromEnv("QV_PICKS"), answers = FromEnv("QV_ANSWERS");
    Messages::SetHandler([&answers](const Messages::Message& m) {
        QString text = m.text;
        Say(QStringLiteral("MESSAGE ") + text.replace(QLatin1String("\r\n"), QLatin1String("|")));
        const QString answer = answers.isEmpty() ? QStringLiteral("no") : answers.takeFirst();
        return answer == QLatin1String("yes") ? Messages::Answer::Yes : Messages::Answer::No;
    });
    const auto result = modStartup::Start_Up([&picks] { return picks.isEmpty() ? 1 : picks.takeFirst().toInt(); });
    Say(QStringLiteral("RESULT %1").arg(int(result)));
    if (result == modStartup::Result::Ready && args.value(5) == QLatin1String("hold")) {
        Say(QStringLiteral("HOLDING ") + modGlobal::DB().FilePath());
        while (std::fgetc(stdin) != EOF) {
        }
        modStartup::Shut_Down();
    }
    return 0;
}

long g_steps = 0, g_dieAt = 0;
bool g_counting = false;

int CountStep(void*)
{
    if (g_counting && ++g_steps == g_dieAt)
        std::raise(SIGKILL);
    return 0;
}

// The action proper starts: steps are counted (and the process may die) from here.
void Begin()
{
    Say(QStringLiteral("READY"));
    g_steps = 0;
    g_counting = true;
}

int RunAction(const QStringList& args)
{
    const QString action = args.value(2);
    const QString file = args.value(3);
    g_dieAt = args.value(4).toLong();
    modGlobal::ProcessingYear = 2025;
    if (action == QLatin1String("settings")) {
        modGlobal::SetSettingsFolder(file);
        Say(QStringLiteral("READY"));
        for (int i = 0; i < 50; ++i)
            modSettings::Write(QStringLiteral("General"), QStringLiteral("ProcessingYear"), QString::number(2000 + i));
        Say(QStringLiteral("DONE"));
        return 0;
    }
    modGlobal::SetDB(std::make_unique<Connection>(file));
    Connection& db = modGlobal::DB();
    auto id = [&db](const QString& sql) { return modGlobal::FieldLong(Recordset(sql, db).Field(0)); };
    sqlite3_progress_handler(db.Handle(), 1, &CountStep, nullptr);
    const auto buildingFund = [&id] { return id(QStringLiteral("SELECT ID FROM Funds WHERE FundName = 'Building Fund'")); };
    if (action == QLatin1String("grid")) {
        const int fund = buildingFund();
        QList<PledgeGrid::TypedRow> rows;
        for (const PledgeGrid::Row& r : PledgeGrid::Load_Rows(fund, true))
            if (r.amount != 0)
                rows.append({r.contributorID, QString::number(2 + r.contributorID % 7)});
        Begin();
        PledgeGrid::Save_Pledges(fund, rows);
    } else if (action == QLatin1String("offering")) {
        const int giver = id(QStringLiteral("SELECT ID FROM Contributors WHERE LastName = 'Giver'"));
        OfferingLines lines = modOffering::Load_Offering_Lines(giver, 1, 7);
        for (int i = 0; i < 5; ++i) {
            lines[i].selected = i;
            lines[i].amount = QString::number(10 * (i + 1));
        }
        Begin();
        ReceiptQueries::Save_Receipt(lines, giver, 1, QStringLiteral("Cash and check"));
    } else if (action == QLatin1String("count")) {
        // The plate of set 1: $1,316 in bills and coin and 300 checks.
        PlateCount::Count count = PlateCount::Load(1);
        count.bills = {5, 4, 20, 10, 13, 0, 49};
        count.coins = {0, 8, 0, 0, 0};
        for (int i = 0; i < 300; ++i)
            count.checks.append({QString::number(1000 + i), 2500, 0});
        count.counter1 = QStringLiteral("First Counter");
        Begin();
        PlateCount::Save(1, count);
    } else if (action == QLatin1String("delete")) {
        clsContributors leaving;
        leaving.Get_One_Record(QStringLiteral("LastName = 'Leaving'"));
        Begin();
        leaving.Delete_Record_from_DB();
    } else if (action == QLatin1String("numbers")) {
        // Every active envelope user numbered for the building fund, new
        // pledges made for those who have none.
        const int fund = buildingFund();
        Begin();
        modGlobal::Assign_Numbers(fund, 1, true);
    } else if (action == QLatin1String("inactive")) {
        const int fund = buildingFund();
        Begin();
        modGlobal::Set_Pledges_Active(fund, false);
    } else {
        return 2;
    }
    Say(QStringLiteral("DONE %1").arg(g_steps));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("startup"))
        return RunStartup(args);
    if (args.value(1) == QLatin1String("action"))
        return RunAction(args);
    std::fprintf(stderr, "usage: qv-faultchild startup|action ...\n");
    return 2;
}

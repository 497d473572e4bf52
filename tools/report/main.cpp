// qv-report: builds a report from a data file without any window and writes
// its PDF and/or the CSV files of its tables, with the same table builders
// and layouts as the report windows, for scripting and batch runs.
//   qv-report DATAFILE weekly --collection N [--names] [--pdf FILE] [--csv FOLDER]
#include "ReportCommands.h"
#include "reports/Report.h"
#include "reports/WeeklyReportTables.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/clsFunds.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <cstdio>
#include <functional>
#include <map>

// Contribution statements and the pledge status report (StatementCommands.cpp).
int Statements_Command(const QStringList& args);
int Pledges_Command(const QStringList& args);
// The giving trends charts (TrendCommand.cpp); they make their own application object.
int Trends_Command(int argc, char** argv);

namespace {

struct Options {
    QString dataFile, report, pdf, csv;
    QStringList commandArgs; // the options of a command of Report_Commands
    int collection = 0;
    bool names = false;
};

const char* const kUsage =
    "usage: qv-report DATAFILE REPORT [options] [--pdf FILE] [--csv FOLDER]\n"
    "reports:\n"
    "  weekly --collection N [--names]   the collection report of collection set N,\n"
    "                                    contributors by envelope number or by name\n"
    "  statements --which all-zip|all-name|loose|ID --from DATE --to DATE [--pdf-each FOLDER]\n"
    "             [--email [--dry-run] [--paper FILE]]   e-mail each statement through the\n"
    "                                    mail server of the settings file; --dry-run lists\n"
    "                                    who would get what, --paper FILE collects the rest\n"
    "  pledges --fund ID --sort name|envelope|pledge [--non-pledgers] [--names] --from DATE --to DATE\n"
    "  trends --year Y [--fund F] [--png FOLDER] [--csv FOLDER]\n"
    "                                    the giving trends charts of year Y as PNG pictures\n"
    "                                    and their series as CSV files (no --pdf)\n"
    "--pdf FILE writes the report as a PDF file; --csv FOLDER writes each of its\n"
    "tables as a CSV file in FOLDER. At least one of the two is needed.\n";

int Fail(const QString& message, int status = 1)
{
    std::fprintf(stderr, "qv-report: %s\n", qPrintable(message));
    return status;
}

// The reports this tool knows: each makes its report from the options, or
// says in error why it cannot.
using Builder = std::function<std::unique_ptr<Report>(const Options&, QString* error)>;
const std::map<QString, Builder>& Builders()
{
    static const std::map<QString, Builder> builders = {
        {QStringLiteral("weekly"),
         [](const Options& o, QString* error) -> std::unique_ptr<Report> {
             if (o.collection < 1) {
                 *error = QStringLiteral("weekly needs --collection N with a collection number of 1 or more");
                 return nullptr;
             }
             auto tables = WeeklyReport::Build(o.collection, o.names);
             if (!tables) {
                 *error = QStringLiteral("there is no collection set number %1 in the data file").arg(o.collection);
                 return nullptr;
             }
             auto report = std::make_unique<rptWeeklyReport>();
             report->Bind(std::move(*tables));
             return report;
         }},
    };
    return builders;
}

// Reads the arguments; an empty result means they were good.
QString Parse(const QStringList& args, Options& o)
{
    if (args.size() < 2)
        return QStringLiteral("a data file and a report are needed");
    o.dataFile = args[0];
    o.report = args[1];
    for (int i = 2; i < args.size(); ++i) {
        const QString a = args[i];
        auto value = [&](QString& out) {
            if (i + 1 >= args.size() || args[i + 1].startsWith(QLatin1String("--")))
                return false;
            out = args[++i];
            return true;
        };
        QString v;
        if (Report_Commands().count(o.report) && a != QLatin1String("--pdf") && a != QLatin1String("--csv")) {
            o.commandArgs << a;
        } else if (a == QLatin1String("--collection")) {
            bool ok = false;
            if (!value(v) || (o.collection = v.toInt(&ok), !ok))
                return QStringLiteral("--collection needs a number");
        } else if (a == QLatin1String("--names")) {
            o.names = true;
        } else if (a == QLatin1String("--pdf")) {
            if (!value(o.pdf))
                return QStringLiteral("--pdf needs a file name");
        } else if (a == QLatin1String("--csv")) {
            if (!value(o.csv))
                return QStringLiteral("--csv needs a folder");
        } else {
            return QStringLiteral("unknown argument: ") + a;
        }
    }
    if (!Builders().count(o.report) && !Report_Commands().count(o.report))
        return QStringLiteral("unknown report: ") + o.report;
    if (o.pdf.isEmpty() && o.csv.isEmpty())
        return QStringLiteral("nothing to write: give --pdf FILE and/or --csv FOLDER");
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts are measured without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 2 && QByteArray(argv[2]) == "trends")
        return Trends_Command(argc, argv);
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        for (const auto& [name, command] : Report_Commands())
            std::fputs(qPrintable(command.usage), stdout);
        return 0;
    }
    if (args.value(1) == QLatin1String("statements"))
        return Statements_Command(args);
    if (args.value(1) == QLatin1String("pledges"))
        return Pledges_Command(args);
    Options o;
    if (const QString bad = Parse(args, o); !bad.isEmpty()) {
        Fail(bad, 2);
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::unique_ptr<Report> report;
    try {
        QString error;
        if (!Open_Books(o.dataFile, &error))
            return Fail(error);
        if (auto command = Report_Commands().find(o.report); command != Report_Commands().end())
            report = command->second.build(o.commandArgs, &error);
        else
            report = Builders().at(o.report)(o, &error);
        if (!report)
            return Fail(error);
    } catch (const DbError& e) {
        return Fail(o.dataFile + QStringLiteral(": ") + e.Message());
    }

    if (!o.pdf.isEmpty()) {
        const ReportDocument doc = report->Layout(modGlobal::Today());
        QString error;
        if (!doc.WritePdf(o.pdf, &error))
            return Fail(o.pdf + QStringLiteral(": ") + error);
        std::printf("%s: %d pages\n", qPrintable(o.pdf), doc.PageCount());
    }
    if (!o.csv.isEmpty()) {
        QDir().mkpath(o.csv);
        QStringList written;
        QString error;
        if (!Reports::Export_Csv(*report, o.csv, QString(), &written, &error))
            return Fail(error);
        for (const QString& f : written)
            std::printf("%s\n", qPrintable(f));
    }
    modGlobal::CloseDB();
    return 0;
}

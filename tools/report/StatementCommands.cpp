// qv-report's statements and pledges commands:
//   qv-report DATAFILE statements --which all-zip|all-name|loose|ID --from DATE --to DATE
//             [--pdf FILE] [--csv FOLDER] [--pdf-each FOLDER]
//             [--email [--dry-run] [--paper FILE]]
//   qv-report DATAFILE pledges --fund ID --sort name|envelope|pledge [--non-pledgers] [--names]
//             --from DATE --to DATE [--pdf FILE] [--csv FOLDER]
// Dates are YYYY-MM-DD. --pdf-each writes a PDF file per statement, after
// printing the pre-run check's findings.
#include "ReportCommands.h"
#include "reports/PledgeStatusTables.h"
#include "reports/ReportQueries.h"
#include "reports/StatementTables.h"
#include "reports/rptPledgeStatus.h"
#include "reports/rptStatement.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/clsFunds.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <cstdio>

// The e-mail run (StatementMailCommand.cpp).
int Email_Statements(const rptStatement& report, const QDate& from, const QDate& to, bool dryRun, const QString& paperPdf);

namespace {

int Fail(const QString& message, int status = 1)
{
    std::fprintf(stderr, "qv-report: %s\n", qPrintable(message));
    return status;
}

// --name value pairs and --flags after DATAFILE COMMAND; an empty error
// means they were good.
struct Args {
    QMap<QString, QString> values;
    QStringList flags;
    QString error;
};

Args Parse(const QStringList& args, const QStringList& valued, const QStringList& flags)
{
    Args a;
    for (int i = 2; i < args.size(); ++i) {
        const QString name = args[i].mid(2);
        if (args[i].startsWith(QLatin1String("--")) && valued.contains(name)) {
            if (i + 1 >= args.size()) {
                a.error = args[i] + QStringLiteral(" needs a value");
                return a;
            }
            a.values.insert(name, args[++i]);
        } else if (args[i].startsWith(QLatin1String("--")) && flags.contains(name)) {
            a.flags << name;
        } else {
            a.error = QStringLiteral("unknown argument: ") + args[i];
            return a;
        }
    }
    return a;
}

bool Dates(const Args& a, QDate* from, QDate* to, QString* error)
{
    *from = QDate::fromString(a.values.value(QStringLiteral("from")), Qt::ISODate);
    *to = QDate::fromString(a.values.value(QStringLiteral("to")), Qt::ISODate);
    if (!from->isValid() || !to->isValid()) {
        *error = QStringLiteral("--from and --to need dates as YYYY-MM-DD");
        return false;
    }
    *error = ReportQueries::Range_Problem(*from, *to);
    return error->isEmpty();
}

// Writes the report's PDF and CSV files as asked.
int Write(const Report& report, const Args& a)
{
    const QString pdf = a.values.value(QStringLiteral("pdf")), csv = a.values.value(QStringLiteral("csv"));
    if (!pdf.isEmpty()) {
        const ReportDocument doc = report.Layout(modGlobal::Today());
        QString error;
        if (!doc.WritePdf(pdf, &error))
            return Fail(pdf + QStringLiteral(": ") + error);
        std::printf("%s: %d pages\n", qPrintable(pdf), doc.PageCount());
    }
    if (!csv.isEmpty()) {
        QDir().mkpath(csv);
        QStringList written;
        QString error;
        if (!Reports::Export_Csv(report, csv, QString(), &written, &error))
            return Fail(error);
        for (const QString& f : written)
            std::printf("%s\n", qPrintable(f));
    }
    return 0;
}

int Run(const QStringList& args, const std::function<int(const Args&)>& body, const QStringList& valued, const QStringList& flags)
{
    const Args a = Parse(args, valued, flags);
    if (!a.error.isEmpty())
        return Fail(a.error, 2);
    try {
        QString error;
        if (!Open_Books(args[0], &error))
            return Fail(error);
        const int status = body(a);
        modGlobal::CloseDB();
        return status;
    } catch (const DbError& e) {
        return Fail(args[0] + QStringLiteral(": ") + e.Message());
    }
}

} // namespace

int Statements_Command(const QStringList& args)
{
    return Run(
        args,
        [](const Args& a) {
            QDate from, to;
            QString error;
            if (!Dates(a, &from, &to, &error))
                return Fail(error, 2);
            const QString which = a.values.value(QStringLiteral("which"));
            Statements::Choice choice;
            choice.zipOrder = which == QLatin1String("all-zip");
            choice.alphaOrder = which == QLatin1String("all-name");
            bool ok = true;
            if (which == QLatin1String("loose"))
                choice.contributorID = 1;
            else if (!choice.All())
                choice.contributorID = which.toInt(&ok);
            if (!ok || !choice.Any())
                return Fail(QStringLiteral("--which needs all-zip, all-name, loose or a contributor ID"), 2);
            const QString each = a.values.value(QStringLiteral("pdf-each"));
            const bool email = a.flags.contains(QStringLiteral("email"));
            if (each.isEmpty() && !email && !a.values.contains(QStringLiteral("pdf")) && !a.values.contains(QStringLiteral("csv")))
                return Fail(QStringLiteral("nothing to write: give --pdf FILE, --csv FOLDER, --pdf-each FOLDER and/or --email"), 2);
            if (!email && (a.flags.contains(QStringLiteral("dry-run")) || a.values.contains(QStringLiteral("paper"))))
                return Fail(QStringLiteral("--dry-run and --paper go with --email"), 2);

            rptStatement report;
            Statements::Tables tables = Statements::Build(choice, from, to);
            if (!each.isEmpty() || email) {
                const Statements::Check check = Statements::Pre_Run_Check(choice, tables, from, to);
                if (!check.Clean())
                    std::fprintf(stderr, "%s\n", qPrintable(check.Text()));
            }
            std::printf("%d statements\n", tables.summaries.RowCount());
            report.Bind(std::move(tables));
            // Statements go into their PDF one at a time, whatever their number.
            const QString pdf = a.values.value(QStringLiteral("pdf"));
            if (!pdf.isEmpty()) {
                int pages = 0;
                if (!report.Write_Pdf(pdf, modGlobal::Today(), &pages, &error))
                    return Fail(pdf + QStringLiteral(": ") + error);
                std::printf("%s: %d pages\n", qPrintable(pdf), pages);
            }
            Args csvOnly = a;
            csvOnly.values.remove(QStringLiteral("pdf"));
            if (const int status = Write(report, csvOnly); status != 0)
                return status;
            if (!each.isEmpty()) {
                if (!QDir().mkpath(each))
                    return Fail(each + QStringLiteral(": the folder cannot be made"));
                const StatementFiles files = Write_Statement_Pdfs(report, each, -to.year(), modGlobal::Today());
                std::printf("%s: %d files\n", qPrintable(each), files.written);
                if (!files.failed.isEmpty())
                    return Fail(files.error);
            }
            if (email)
                return Email_Statements(report, from, to, a.flags.contains(QStringLiteral("dry-run")), a.values.value(QStringLiteral("paper")));
            return 0;
        },
        {QStringLiteral("which"), QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("pdf"), QStringLiteral("csv"),
         QStringLiteral("pdf-each"), QStringLiteral("paper")},
        {QStringLiteral("email"), QStringLiteral("dry-run")});
}

int Pledges_Command(const QStringList& args)
{
    return Run(
        args,
        [](const Args& a) {
            PledgeStatus::Options o;
            QString error;
            if (!Dates(a, &o.begin, &o.end, &error))
                return Fail(error, 2);
            bool ok = false;
            o.fundID = a.values.value(QStringLiteral("fund")).toInt(&ok);
            if (!ok || o.fundID == 0)
                return Fail(QStringLiteral("--fund needs a fund reference (-YEAR for the main fund of a year)"), 2);
            const QStringList sorts = {QStringLiteral("name"), QStringLiteral("envelope"), QStringLiteral("pledge")};
            o.sortOrder = int(sorts.indexOf(a.values.value(QStringLiteral("sort")))) + 1;
            if (o.sortOrder < 1)
                return Fail(QStringLiteral("--sort needs name, envelope or pledge"), 2);
            o.nonPledgers = a.flags.contains(QStringLiteral("non-pledgers"));
            o.showNames = a.flags.contains(QStringLiteral("names"));
            if (!a.values.contains(QStringLiteral("pdf")) && !a.values.contains(QStringLiteral("csv")))
                return Fail(QStringLiteral("nothing to write: give --pdf FILE and/or --csv FOLDER"), 2);
            rptPledgeStatus report;
            report.SetDataSource(1, PledgeStatus::Build(o));
            std::printf("%d rows\n", report.Table(1)->RowCount());
            return Write(report, a);
        },
        {QStringLiteral("fund"), QStringLiteral("sort"), QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("pdf"),
         QStringLiteral("csv")},
        {QStringLiteral("non-pledgers"), QStringLiteral("names")});
}

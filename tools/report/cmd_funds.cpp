// qv-report funds and memorials: the gifts to one fund, as a list or as a
// label per donor.
#include "ReportCommands.h"
#include "reports/ListingReports.h"
#include "reports/ListingTables.h"
#include "reports/ReportQueries.h"
#include "core/modGlobal.h"

namespace {
// --collection N, or --from and --to (the first of the year to today).
bool Read_Selection(CommandArgs& a, Listings::Selection& s, QString* error)
{
    s.fundID = a.Fund(false);
    s.collectionID = a.Number(QStringLiteral("--collection"), 0);
    s.byCollection = s.collectionID != 0;
    const QDate today = modGlobal::Today();
    s.begin = a.Date(QStringLiteral("--from"), QDate(today.year(), 1, 1));
    s.end = a.Date(QStringLiteral("--to"), today);
    if (s.fundID == 0 && a.Error().isEmpty()) {
        *error = QStringLiteral("--fund is needed");
        return false;
    }
    if (!s.byCollection)
        *error = ReportQueries::Range_Problem(s.begin, s.end);
    return error->isEmpty();
}

const Register_Command funds(
    QStringLiteral("funds"),
    {QStringLiteral("  funds --fund FUND [--collection N | --from DATE --to DATE] [--names]\n"
                    "                                    every gift to the fund, by date\n"),
     [](const QStringList& args, QString* error) -> std::unique_ptr<Report> {
         CommandArgs a(args);
         Listings::Selection s;
         const bool names = a.Flag(QStringLiteral("--names"));
         if (!Read_Selection(a, s, error))
             return nullptr;
         if (*error = a.Error(); !error->isEmpty())
             return nullptr;
         auto table = Listings::Fund_Report(s, names);
         auto report = std::make_unique<rptFunds>();
         report->SetDataSource(1, std::move(*table));
         return report;
     }});

const Register_Command memorials(
    QStringLiteral("memorials"),
    {QStringLiteral("  memorials --fund FUND [--collection N | --from DATE --to DATE] [--skip N]\n"
                    "            [--sheet \"Avery 5160\"] [--offset X,Y]\n"
                    "                                    an address label per donor to the fund\n"),
     [](const QStringList& args, QString* error) -> std::unique_ptr<Report> {
         CommandArgs a(args);
         Listings::Selection s;
         auto report = std::make_unique<rptMemorials>();
         const int skip = Listings::Skip_Count(QString::number(a.Number(QStringLiteral("--skip"), 0)));
         a.Label_Options(*report);
         if (!Read_Selection(a, s, error))
             return nullptr;
         if (*error = a.Error(); !error->isEmpty())
             return nullptr;
         report->SetDataSource(1, std::move(*Listings::Memorial_Labels(s, skip)));
         return report;
     }});
} // namespace

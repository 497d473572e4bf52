// qv-report directory and mailing-labels: the contributors, active and/or
// inactive, as a telephone directory or as address labels.
#include "ReportCommands.h"
#include "reports/ListingReports.h"
#include "reports/ListingTables.h"

namespace {
// --active and/or --inactive; neither means the active ones, as the
// windows open.
std::pair<bool, bool> Who(CommandArgs& a)
{
    const bool active = a.Flag(QStringLiteral("--active"));
    const bool inactive = a.Flag(QStringLiteral("--inactive"));
    return {active || !inactive, inactive};
}

const Register_Command directory(
    QStringLiteral("directory"),
    {QStringLiteral("  directory [--active] [--inactive] [--by-phone]\n"
                    "                                    the telephone directory, by name or phone\n"),
     [](const QStringList& args, QString* error) -> std::unique_ptr<Report> {
         CommandArgs a(args);
         const auto [active, inactive] = Who(a);
         const bool byPhone = a.Flag(QStringLiteral("--by-phone"));
         if (*error = a.Error(); !error->isEmpty())
             return nullptr;
         auto report = std::make_unique<rptTelephone>();
         report->SetDataSource(1, std::move(*Listings::Telephone_Directory(active, inactive, byPhone)));
         return report;
     }});

const Register_Command mailing(
    QStringLiteral("mailing-labels"),
    {QStringLiteral("  mailing-labels [--active] [--inactive] [--by-name] [--skip N]\n"
                    "            [--sheet \"Avery 5160\"] [--offset X,Y]\n"
                    "                                    an address label per contributor, by zip code\n"),
     [](const QStringList& args, QString* error) -> std::unique_ptr<Report> {
         CommandArgs a(args);
         const auto [active, inactive] = Who(a);
         const bool byName = a.Flag(QStringLiteral("--by-name"));
         const int skip = Listings::Skip_Count(QString::number(a.Number(QStringLiteral("--skip"), 0)));
         auto report = std::make_unique<rptMemorials>();
         a.Label_Options(*report);
         if (*error = a.Error(); !error->isEmpty())
             return nullptr;
         report->SetDataSource(1, std::move(*Listings::Mailing_Labels(active, inactive, !byName, skip)));
         return report;
     }});
} // namespace

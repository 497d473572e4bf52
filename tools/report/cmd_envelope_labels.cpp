// qv-report envelope-labels: a label per pledge to a fund, for the boxes of
// offering envelopes.
#include "ReportCommands.h"
#include "reports/ListingReports.h"
#include "reports/ListingTables.h"

namespace {
const Register_Command envelopes(
    QStringLiteral("envelope-labels"),
    {QStringLiteral("  envelope-labels --fund FUND [--by-number] [--skip N] [--sheet \"Avery 5160\"] [--offset X,Y]\n"
                    "                                    a label per envelope user's pledge to the fund\n"),
     [](const QStringList& args, QString* error) -> std::unique_ptr<Report> {
         CommandArgs a(args);
         const int fund = a.Fund(true);
         const bool byNumber = a.Flag(QStringLiteral("--by-number"));
         const int skip = Listings::Skip_Count(QString::number(a.Number(QStringLiteral("--skip"), 0)));
         auto report = std::make_unique<rptEnvLabels>();
         a.Label_Options(*report);
         if (*error = a.Error(); !error->isEmpty())
             return nullptr;
         if (fund == 0) {
             *error = QStringLiteral("--fund is needed");
             return nullptr;
         }
         report->SetDataSource(1, std::move(*Listings::Envelope_Labels(fund, byNumber, skip)));
         return report;
     }});
} // namespace

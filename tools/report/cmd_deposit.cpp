// qv-report deposit: the deposit slip of a collection set's counted plate.
#include "ReportCommands.h"
#include "reports/rptDeposit.h"

namespace {
const Register_Command deposit(
    QStringLiteral("deposit"),
    {QStringLiteral("  deposit --collection N             the deposit slip of collection set N's count\n"),
     [](const QStringList& args, QString* error) -> std::unique_ptr<Report> {
         CommandArgs a(args);
         const int collection = a.Number(QStringLiteral("--collection"), 0);
         if (*error = a.Error(); !error->isEmpty())
             return nullptr;
         auto tables = Deposit::Build(collection);
         if (!tables) {
             *error = QStringLiteral("no collection set ") + QString::number(collection);
             return nullptr;
         }
         auto report = std::make_unique<rptDeposit>();
         report->Bind(std::move(*tables));
         return report;
     }});
} // namespace

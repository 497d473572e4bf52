#pragma once

#include "reports/Report.h"

#include <QStringList>
#include <functional>
#include <map>
#include <memory>

// Reports that qv-report knows beyond its own: each command reads its own
// options (everything but the data file, the report name, --pdf and --csv)
// and makes its report, or says why it cannot. A command registers itself
// from its own source file.
struct ReportCommand {
    QString usage; // its lines of --help
    std::function<std::unique_ptr<Report>(const QStringList& args, QString* error)> build;
};
std::map<QString, ReportCommand>& Report_Commands();

// Opens the books every command reads: the data file, its tables made ready
// and the main fund's name read. False with the reason when there is no such
// file; an engine error throws DbError.
bool Open_Books(const QString& dataFile, QString* error);

struct Register_Command {
    Register_Command(const QString& name, ReportCommand command) { Report_Commands()[name] = std::move(command); }
};

// Reads a command's options: flags and "--name value" pairs, each taken
// once; whatever is left over is an error.
class CommandArgs {
public:
    explicit CommandArgs(QStringList args) : m_args(std::move(args)) {}
    bool Flag(const QString& name);
    // The value after --name; empty when the option is not given. A missing
    // value sets the error.
    QString Value(const QString& name);
    // A whole number option; fallback when it is not given.
    int Number(const QString& name, int fallback);
    QDate Date(const QString& name, const QDate& fallback);
    // --fund: a fund reference (-2025 for that year's main fund) or a name
    // as the fund lists show it ("2025 Operating Fund", "Building Fund").
    int Fund(bool pledgeFunds);
    // --sheet NAME (default Avery 5160) and --offset X,Y in points.
    void Label_Options(class LabelReport& report);
    // The error of the first bad option, or of an option no one took.
    QString Error() const;

private:
    QStringList m_args;
    QString m_error;
};

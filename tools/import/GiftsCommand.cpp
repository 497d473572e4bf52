#include "GiftsCommand.h"

#include "gifts/GiftImport.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/clsFunds.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace {

int Fail(const QString& text, int code = 1)
{
    std::fprintf(stderr, "qv-import: %s\n", qPrintable(text));
    return code;
}

} // namespace

int Gifts_Command(const QStringList& args)
{
    QStringList files;
    QString mappingName;
    bool addContributors = false, unknownOption = false;
    QStringList fundChoices; // DESIGNATION=FUND
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--mapping") && i + 1 < args.size())
            mappingName = args[++i];
        else if (args[i] == QLatin1String("--fund") && i + 1 < args.size() && args[i + 1].contains(QLatin1Char('=')))
            fundChoices << args[++i];
        else if (args[i] == QLatin1String("--add-contributors"))
            addContributors = true;
        else if (args[i].startsWith(QLatin1Char('-')))
            unknownOption = true;
        else
            files << args[i];
    }
    if (files.size() != 2 || mappingName.isEmpty() || unknownOption) {
        std::fprintf(stderr, "usage: qv-import gifts CSV DATA --mapping NAME [--fund DESIGNATION=FUND]... [--add-contributors]\n");
        return 2;
    }
    QFile csv(files[0]);
    if (!csv.open(QIODevice::ReadOnly))
        return Fail(files[0] + QStringLiteral(": ") + csv.errorString());
    if (!QFileInfo(files[1]).isFile())
        return Fail(QStringLiteral("no data file at ") + files[1]);
    const GiftCsv::Table table = GiftCsv::Read(csv.readAll());
    try {
        modGlobal::SetDB(std::make_unique<Connection>(files[1]));
        modGlobal::ResetTableReady();
        modStartup::MakeTablesReady();
        clsFunds mainFund;
        mainFund.Get_One_Record(QStringLiteral("ID = 1"));
        modGlobal::MainFundName = mainFund.FundName();

        GiftImport::Mapping mapping;
        QString problem;
        const bool kept = GiftImport::Mapping_Names().contains(mappingName, Qt::CaseInsensitive);
        if (kept && !GiftImport::Named_Mapping(mappingName, table.header, &mapping, &problem))
            return Fail(problem);
        if (!kept) {
            // A first file of a platform: the columns as their headings say,
            // kept under the name for the files that follow.
            mapping = GiftImport::Guess_Mapping(table.header);
            mapping.name = mappingName;
        }
        if (problem = GiftImport::Mapping_Problem(mapping); !problem.isEmpty())
            return Fail(problem);
        if (!kept) {
            GiftImport::Keep_Mapping(table.header, mapping);
            std::printf("Mapping %s kept:", qPrintable(mappingName));
            for (int f = 0; f < GiftImport::FieldCount; ++f)
                if (mapping.column[f] >= 0)
                    std::printf(" %s=\"%s\"", qPrintable(GiftImport::Field_Caption(GiftImport::Field(f))),
                                qPrintable(table.header.at(mapping.column[f])));
            std::printf("\n");
        }
        GiftImport::Plan plan = GiftImport::Prepare(table, mapping, QFileInfo(files[0]).fileName());
        for (const GiftImport::Refused& r : plan.refused)
            std::printf("Line %d not read: %s\n", r.line, qPrintable(r.reason));
        for (const QString& choice : fundChoices) {
            const QString designation = choice.section(QLatin1Char('='), 0, 0).trimmed();
            const QString fund = choice.section(QLatin1Char('='), 1).trimmed();
            int fundID = -1;
            for (const auto& [id, name] : GiftImport::Fund_Choices())
                if (name.compare(fund, Qt::CaseInsensitive) == 0 || (id == 0 && fund.compare(modGlobal::MainFundName, Qt::CaseInsensitive) == 0))
                    fundID = id;
            if (fundID < 0)
                return Fail(QStringLiteral("no active fund named \"%1\"").arg(fund));
            for (int d = 0; d < plan.designations.size(); ++d)
                if (plan.designations[d].text.compare(designation, Qt::CaseInsensitive) == 0)
                    GiftImport::Map_Designation(plan, d, fundID);
        }
        if (addContributors)
            for (int d = 0; d < plan.donors.size(); ++d)
                if (plan.donors[d].how == GiftImport::How::Candidates || plan.donors[d].how == GiftImport::How::Unknown)
                    GiftImport::Choose_Contributor(plan, d, 0);
        const GiftImport::Summary s = GiftImport::Write(plan);
        if (!s.stopped.isEmpty()) {
            for (const QString& line : s.stopped)
                Fail(line);
            return Fail(QStringLiteral("nothing imported; choose their funds with --fund or in the program"));
        }
        for (const QString& line : GiftImport::Summary_Lines(s))
            std::printf("%s\n", qPrintable(line));
        modGlobal::CloseDB();
        return s.refused.isEmpty() ? 0 : 3;
    } catch (const DbError& e) {
        return Fail(files[1] + QStringLiteral(": ") + e.Message());
    }
}

// Figures for the engine: opening the data file, keys, single records and a
// statement-shaped query per contributor, on the large data set.
#include "BenchData.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"
#include "core/modDBConnection.h"
#include "storage/modDBKeys.h"

#include <QDate>
#include <benchmark/benchmark.h>

using namespace modGlobal;

namespace {

void BM_OpenDataFileAndMakeTablesReady(benchmark::State& state)
{
    const QString path = DB().FilePath();
    for (auto _ : state) {
        CloseDB();
        ResetTableReady();
        SetDB(std::make_unique<Connection>(path));
        modStartup::MakeTablesReady();
        clsFunds main;
        main.Get_One_Record(QStringLiteral("ID = 1"));
        benchmark::DoNotOptimize(main.FundName());
    }
}
BENCHMARK(BM_OpenDataFileAndMakeTablesReady)->Unit(benchmark::kMillisecond);

void BM_NextKey(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(modDBKeys::NextKey(QStringLiteral("Offering")));
}
BENCHMARK(BM_NextKey)->Unit(benchmark::kMicrosecond);

void BM_GetOneRecord(benchmark::State& state)
{
    int id = 2;
    for (auto _ : state) {
        clsContributors c;
        c.Get_One_Record(QStringLiteral("ID = ") + QString::number(id));
        benchmark::DoNotOptimize(c.LastName());
        id = id % BenchData::Contributors() + 2;
    }
}
BENCHMARK(BM_GetOneRecord)->Unit(benchmark::kMicrosecond);

// One contributor's gifts of a year, with fund names and comments: the shape
// of the query a contribution statement runs for each contributor.
void BM_StatementQueryPerContributor(benchmark::State& state)
{
    const int year = BenchData::LastYear();
    int id = 2;
    int rows = 0;
    for (auto _ : state) {
        Recordset rs(
            QStringLiteral("SELECT Offering.FundID, Offering.Amount, Collection.CollectionDate, Funds.FundName, "
                           "Funds.IsTaxDeductible, ColComment.Comment"
                           " FROM ((Offering LEFT JOIN Collection ON Offering.CollectionID = Collection.ID) LEFT JOIN Funds "
                           "ON Offering.FundID = Funds.ID) LEFT JOIN ColComment ON (Offering.ContributorID = "
                           "ColComment.ContributorID) AND (Offering.CollectionID = ColComment.CollectionID)"
                           " WHERE ((Offering.ContributorID = ")
                + QString::number(id) + QStringLiteral(") AND (Collection.CollectionDate >= ")
                + modDBConnection::DateLiteral(QDate(year, 1, 1)) + QStringLiteral(") AND (Collection.CollectionDate <= ")
                + modDBConnection::DateLiteral(QDate(year, 12, 31)) + QStringLiteral("))")
                + QStringLiteral(" ORDER BY Collection.CollectionDate;"),
            DB());
        rows += rs.RecordCount();
        id = id % BenchData::Contributors() + 2;
    }
    state.counters["rows/query"] = benchmark::Counter(rows, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StatementQueryPerContributor)->Unit(benchmark::kMicrosecond);

} // namespace

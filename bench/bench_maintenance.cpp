// Figures for the contributor list on the large data set: opening it, and
// the single-row refresh that follows saving a contributor.
#include "BenchData.h"
#include "maintenance/frmContList.h"
#include "widgets/QvGrid.h"
#include "core/clsDBEvent.h"
#include "storage/clsContributors.h"

#include <benchmark/benchmark.h>

namespace {

void BM_OpenContributorList(benchmark::State& state)
{
    for (auto _ : state) {
        auto* list = new frmContList;
        list->Form_Load();
        benchmark::DoNotOptimize(list->fgContributors->Rows());
        delete list;
    }
}
BENCHMARK(BM_OpenContributorList)->Unit(benchmark::kMillisecond);

// Saving a contributor's new name, and the list putting that one row in
// its new place in the name order.
void BM_ContributorListRefreshAfterSave(benchmark::State& state)
{
    auto* list = new frmContList;
    list->Form_Load();
    clsContributors c;
    c.ID(BenchData::Contributors() / 2);
    c.Get_One_Record(QString());
    const QString names[2] = {QStringLiteral("Aardvark"), QStringLiteral("Zwingli")};
    int i = 0;
    for (auto _ : state) {
        // The save itself is the disk's business; the list's part is timed.
        state.PauseTiming();
        c.LastName(names[i++ % 2]);
        c.Save_to_DB();
        state.ResumeTiming();
        list->Handle_DBChange(dbContributors, false, true, false, c.ID(), 0);
    }
    delete list;
}
BENCHMARK(BM_ContributorListRefreshAfterSave)->Unit(benchmark::kMillisecond);

} // namespace

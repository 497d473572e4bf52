// Figures for the year-end routines on the large data set (5,000
// contributors): numbering every envelope of the year anew and marking
// every pledge of the year active or inactive, each as one transaction, with
// the progress window and an open contributor list that hears every notice.
#include "BenchData.h"
#include "maintenance/frmContList.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "year/SafetyCopy.h"
#include "year/YearWindows.h"

#include <benchmark/benchmark.h>

namespace {

// The notices reach the open contributor list as under the main window.
class ListeningList {
public:
    ListeningList()
    {
        if (!modGlobal::DBEvent())
            modGlobal::SetDBEvent(std::make_unique<clsDBEvent>());
        m_list = new frmContList;
        m_list->Form_Load();
        m_link = QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
        m_count = QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, [this] { ++notices; });
    }
    ~ListeningList()
    {
        QObject::disconnect(m_link);
        QObject::disconnect(m_count);
        delete m_list;
    }
    long long notices = 0;

private:
    frmContList* m_list;
    QMetaObject::Connection m_link, m_count;
};

// Every iteration starts one number further on, so that every envelope
// number changes each time.
void BM_AssignNumbers(benchmark::State& state)
{
    ListeningList list;
    const int fund = -modGlobal::ProcessingYear;
    int first = 1;
    long long changed = 0;
    for (auto _ : state) {
        YearWindows::ProgressWindow progress(QStringLiteral("Assign Numbers"));
        changed += modGlobal::Assign_Numbers(fund, first, true, progress.Sink()).size();
        first = first == 1 ? 2 : 1;
    }
    state.counters["numbers changed"] = double(changed) / double(state.iterations());
    state.counters["notices"] = double(list.notices) / double(state.iterations());
}
BENCHMARK(BM_AssignNumbers)->Unit(benchmark::kMillisecond)->Iterations(4);

// Iterations alternate between inactive and active, so every pledge of the
// year changes each time.
void BM_SetPledgesActive(benchmark::State& state)
{
    ListeningList list;
    const int fund = -modGlobal::ProcessingYear;
    bool active = false;
    long long changed = 0;
    for (auto _ : state) {
        YearWindows::ProgressWindow progress(QStringLiteral("Make Pledges Active or Inactive"));
        changed += modGlobal::Set_Pledges_Active(fund, active, progress.Sink());
        active = !active;
    }
    state.counters["pledges changed"] = double(changed) / double(state.iterations());
}
BENCHMARK(BM_SetPledgesActive)->Unit(benchmark::kMillisecond)->Iterations(4);

// The safety copy made before either of them.
void BM_SafetyCopy(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SafetyCopy::Make_Copy());
}
BENCHMARK(BM_SafetyCopy)->Unit(benchmark::kMillisecond)->Iterations(4);

} // namespace

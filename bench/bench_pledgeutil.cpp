// Figures for the pledge grid editor after a pledge drive on the large data
// set: listing every contributor with the processing year's main fund
// pledge, and saving the grid with every amount changed.
#include "BenchData.h"
#include "maintenance/PledgeGrid.h"
#include "maintenance/frmPledgeUtil.h"
#include "core/Helpers.h"
#include "widgets/QvGrid.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

namespace {

frmPledgeUtil* OpenGrid()
{
    auto* w = new frmPledgeUtil;
    w->Form_Load();
    return w;
}

// The whole window load: the fund list, then the grid for the processing
// year's main fund with its progress window.
void BM_PledgeGridLoad(benchmark::State& state)
{
    int rows = 0;
    for (auto _ : state) {
        frmPledgeUtil* w = OpenGrid();
        rows = w->fgPledges->Rows() - 2;
        delete w;
    }
    state.counters["contributors"] = rows;
}
BENCHMARK(BM_PledgeGridLoad)->Unit(benchmark::kMillisecond);

// The queries alone, without the grid.
void BM_PledgeGridLoadRows(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PledgeGrid::Load_Rows(-modGlobal::ProcessingYear, false).size());
}
BENCHMARK(BM_PledgeGridLoadRows)->Unit(benchmark::kMillisecond);

// Saving with every amount changed, as the window does it: one transaction,
// the progress window, and each pledge's change notice reaching the open
// grid, which reads the amount back. Iterations alternate between adding
// and taking off a dollar, so the data stays near where it started; a
// contributor without a pledge gets one the first time (then kept at 0 or 1).
void BM_PledgeGridSaveEveryAmount(benchmark::State& state)
{
    // The grid hears the notices as under the main window.
    const bool ownNotifier = modGlobal::DBEvent() == nullptr;
    if (ownNotifier)
        modGlobal::SetDBEvent(std::make_unique<clsDBEvent>());
    const QMetaObject::Connection link =
        QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
    long long written = 0;
    const QMetaObject::Connection count =
        QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, [&written] { ++written; });
    frmPledgeUtil* w = OpenGrid();
    QvGrid* g = w->fgPledges;
    // One amount key marks the grid as typed in.
    g->SetRow(2);
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, QStringLiteral("0"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(g, &digit);
    QApplication::sendEvent(g, &escape);
    double step = 1;
    for (auto _ : state) {
        state.PauseTiming();
        for (int r = 2; r < g->Rows(); ++r)
            g->SetTextMatrix(r, 2, modGlobal::FormatAmount(modGlobal::AmountValue(g->TextMatrix(r, 2)) + step));
        step = -step;
        state.ResumeTiming();
        w->Save_Grid();
    }
    state.counters["pledges written"] = double(written) / double(state.iterations());
    delete w;
    QObject::disconnect(count);
    QObject::disconnect(link);
    if (ownNotifier)
        modGlobal::SetDBEvent(nullptr);
}
BENCHMARK(BM_PledgeGridSaveEveryAmount)->Unit(benchmark::kMillisecond)->Iterations(4);

} // namespace

// Figures for the Sunday-afternoon windows on the large data set: opening
// the offering entry window, one quick-find keystroke, and opening a
// contributor's offering record with ten years of history.
#include "BenchData.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "shell/AllWindows.h"
#include "shell/QvGrid.h"
#include "shell/Windows.h"
#include "shell/frmChild.h"
#include "shell/modGlobal.h"
#include "storage/Recordset.h"
#include "shell/Helpers.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

struct LastSet {
    int id;
    QDate date;
};

LastSet NewestSet()
{
    Recordset rs(QStringLiteral("SELECT ID, CollectionDate FROM Collection ORDER BY CollectionDate DESC"), modGlobal::DB());
    return {modGlobal::FieldLong(rs.Field(0)), modGlobal::FieldDate(rs.Field(1))};
}

frmCollections* OpenOffering(const LastSet& set)
{
    auto* w = new frmCollections;
    w->SetCollectionNumber(set.id);
    w->SetCollectionDate(set.date);
    w->Form_Load();
    return w;
}

void BM_OpenOfferingWindow(benchmark::State& state)
{
    const LastSet set = NewestSet();
    for (auto _ : state) {
        frmCollections* w = OpenOffering(set);
        benchmark::DoNotOptimize(w->fgContrib->Rows());
        delete w;
    }
}
BENCHMARK(BM_OpenOfferingWindow)->Unit(benchmark::kMillisecond);

// The contributors' tab shown for the first time: the list of every
// contributor with this year's envelope number read and sorted.
void BM_OfferingContributorsTab(benchmark::State& state)
{
    const LastSet set = NewestSet();
    for (auto _ : state) {
        state.PauseTiming();
        frmCollections* w = OpenOffering(set);
        state.ResumeTiming();
        w->sstCollections->setCurrentIndex(1);
        benchmark::DoNotOptimize(w->fgContrib->Rows());
        state.PauseTiming();
        delete w;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OfferingContributorsTab)->Unit(benchmark::kMillisecond);

// One keystroke in quick find: the search over 5,000 rows and the new selection.
void BM_QuickFindKeystroke(benchmark::State& state)
{
    frmCollections* w = OpenOffering(NewestSet());
    w->sstCollections->setCurrentIndex(1);
    const QString typed[] = {QStringLiteral("4"), QStringLiteral("49"), QStringLiteral("499"), QStringLiteral("WIL"),
                             QStringLiteral("ZZZ")};
    int i = 0;
    for (auto _ : state) {
        w->Quick_Find(typed[i++ % 5]);
        benchmark::DoNotOptimize(w->fgContrib->RowSel());
    }
    delete w;
}
BENCHMARK(BM_QuickFindKeystroke)->Unit(benchmark::kMicrosecond);

void BM_OpenContributorRecordWithTenYears(benchmark::State& state)
{
    const LastSet set = NewestSet();
    // The contributor who gave most often: the longest history.
    Recordset most(QStringLiteral("SELECT ContributorID, Count(ID) AS N FROM Offering WHERE ContributorID > 1 "
                                  "GROUP BY ContributorID ORDER BY Count(ID) DESC"),
                   modGlobal::DB());
    const int contributor = modGlobal::FieldLong(most.Field(0));
    int rows = 0;
    for (auto _ : state) {
        auto* r = new frmContReceipt;
        r->SetContributorID(contributor);
        r->SetCollectionNumber(set.id);
        r->SetCollectionDate(set.date);
        r->Form_Load();
        rows = r->fgHist->Rows();
        delete r;
    }
    state.counters["history rows"] = rows;
}
BENCHMARK(BM_OpenContributorRecordWithTenYears)->Unit(benchmark::kMillisecond);

} // namespace

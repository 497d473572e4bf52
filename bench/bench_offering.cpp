// Figures for the Sunday-afternoon windows on the large data set: opening
// the offering entry window, one quick-find keystroke, and opening a
// contributor's offering record with ten years of history.
#include "BenchData.h"
#include "offering/CountPage.h"
#include "offering/PlateCount.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "app/AllWindows.h"
#include "widgets/QvGrid.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "core/modDBConnection.h"
#include "core/Helpers.h"

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
// The same on a set whose plate was counted: 1,500 gifts entered and 300
// checks on the Count tab. The set is made inside a transaction that is
// rolled back, so that the other figures stay those of the large books.
void BM_OpenOfferingWindowOnACountedSet(benchmark::State& state)
{
    Connection& db = modGlobal::DB();
    Connection::Transaction tx(db);
    auto scalar = [&db](const QString& sql) { return modGlobal::FieldLong(Recordset(sql, db).Field(0)); };
    const int set = scalar(QStringLiteral("SELECT Max(ID) FROM Collection")) + 1;
    const QDate date = NewestSet().date;
    db.Execute(QStringLiteral("INSERT INTO Collection (ID, CollectionDate, Notation) VALUES (%1, %2, 'Counted')")
                   .arg(set)
                   .arg(modDBConnection::DateLiteral(date)));
    int offering = scalar(QStringLiteral("SELECT Max(ID) FROM Offering"));
    Recordset givers(QStringLiteral("SELECT ID FROM Contributors WHERE ID > 1 ORDER BY ID LIMIT 1500"), db);
    PlateCount::Count count;
    for (int i = 0; !givers.Eof(); givers.MoveNext(), ++i) {
        db.Execute(QStringLiteral("INSERT INTO Offering (ID, ContributorID, CollectionID, FundID, Amount) "
                                  "VALUES (%1, %2, %3, %4, %5)")
                       .arg(++offering)
                       .arg(modGlobal::FieldLong(givers.Field(0)))
                       .arg(set)
                       .arg(-date.year())
                       .arg(10 + i % 90));
        if (i < 300)
            count.checks.append({QString::number(1000 + i), qint64(1000 + 100 * (i % 90)), modGlobal::FieldLong(givers.Field(0))});
    }
    givers.Close();
    count.bills = {3, 2, 10, 5, 4, 0, 17};
    PlateCount::Save(set, count);
    const LastSet counted{set, date};
    int checks = 0;
    for (auto _ : state) {
        frmCollections* w = OpenOffering(counted);
        checks = w->count->fgChecks->Rows() - 1;
        delete w;
    }
    state.counters["checks"] = checks;
}
BENCHMARK(BM_OpenOfferingWindowOnACountedSet)->Unit(benchmark::kMillisecond);

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

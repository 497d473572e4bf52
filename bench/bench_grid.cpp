// Figures for the grid on a list window's largest load: 10,000 contributors
// with a hidden key column and the hidden placeholder row, the grid shown.
#include "widgets/QvGrid.h"

#include <QCoreApplication>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRows = 10000;

// Names in no particular order, repeatable from run to run, with some
// equal last names and both cases of initial letter.
QStringList MakeLines()
{
    static const char* const last[] = {"Smith", "jones", "Young", "Adams", "abbot", "Miller", "Olsen", "Zeta"};
    static const char* const first[] = {"Anne", "Bob", "Carol", "Dave", "Eve", "Frank", "Gwen"};
    QStringList lines;
    lines.reserve(kRows);
    quint32 seed = 12345;
    for (int i = 0; i < kRows; ++i) {
        seed = seed * 1103515245u + 12345u;
        const QString name = QStringLiteral("%1%2, %3")
                                 .arg(QLatin1String(last[(seed >> 8) % 8]))
                                 .arg((seed >> 12) % 500)
                                 .arg(QLatin1String(first[(seed >> 20) % 7]));
        const QString envelope = QString::number(i + 1).rightJustified(10);
        lines << QStringLiteral("%1\t%2\t%3\t$%4.00\t%5")
                     .arg(i + 2)
                     .arg(name, envelope)
                     .arg(seed % 1000)
                     .arg(seed % 9973, 4, 10, QLatin1Char('0'));
    }
    return lines;
}

const QStringList& Lines()
{
    static const QStringList lines = MakeLines();
    return lines;
}

// Loads the grid as a list window does; hideEvery > 0 hides every so many
// records as they are added.
void Load(QvGrid& grid, int hideEvery = 0)
{
    grid.Clear();
    grid.SetCols(5);
    grid.SetColWidthTwips(0, 0);
    grid.SetColWidthTwips(1, 3000);
    grid.SetColWidthTwips(2, 1200);
    grid.SetColWidthTwips(3, 1200);
    grid.SetColWidthTwips(4, 900);
    grid.SetColAlignment(3, Qt::AlignRight);
    grid.AddItem(QStringLiteral("Key\tName\tEnvelope\tPledged\tShuffle"));
    grid.SetHeadingLines(2);
    grid.AddItem(QStringLiteral("0\t\t\t\t"));
    grid.SetRowHidden(1, true);
    int n = 0;
    for (const QString& line : Lines()) {
        const int row = grid.AddItem(line);
        if (hideEvery > 0 && ++n % hideEvery == 0)
            grid.SetRowHidden(row, true);
    }
}

std::unique_ptr<QvGrid> ShownGrid()
{
    auto grid = std::make_unique<QvGrid>();
    grid->resize(600, 400);
    grid->show();
    QCoreApplication::processEvents();
    return grid;
}

void BM_GridLoad10000(benchmark::State& state)
{
    auto grid = ShownGrid();
    Lines();
    for (auto _ : state) {
        Load(*grid);
        QCoreApplication::processEvents();
    }
    if (grid->Rows() != kRows + 2)
        state.SkipWithError("rows missing");
}
BENCHMARK(BM_GridLoad10000)->Unit(benchmark::kMillisecond);

// A filter deciding as the records arrive: every tenth one hidden.
void BM_GridLoad10000HidingEveryTenth(benchmark::State& state)
{
    auto grid = ShownGrid();
    Lines();
    for (auto _ : state) {
        Load(*grid, 10);
        QCoreApplication::processEvents();
    }
    benchmark::DoNotOptimize(grid->Rows());
}
BENCHMARK(BM_GridLoad10000HidingEveryTenth)->Unit(benchmark::kMillisecond);

// Sorting on the name column, each time from the order of a column of
// unrelated numbers; hiddenEvery > 0 also hides every so many rows first.
void SortOnName(benchmark::State& state, int hiddenEvery)
{
    auto grid = ShownGrid();
    Load(*grid);
    if (hiddenEvery > 0) {
        for (int r = 2; r < grid->Rows(); r += hiddenEvery)
            grid->SetRowHidden(r, true);
    }
    grid->SetRow(grid->Rows() / 2);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        grid->Sort(4);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        grid->Sort(1);
        QCoreApplication::processEvents();
    }
    benchmark::DoNotOptimize(grid->TextMatrix(2, 1));
}

void BM_GridSort10000(benchmark::State& state)
{
    SortOnName(state, 0);
}
BENCHMARK(BM_GridSort10000)->Unit(benchmark::kMillisecond);

void BM_GridSort10000EveryTenthHidden(benchmark::State& state)
{
    SortOnName(state, 10);
}
BENCHMARK(BM_GridSort10000EveryTenthHidden)->Unit(benchmark::kMillisecond);

// A filter hiding every tenth record, then the show-all filter.
void BM_GridHideShowAll10000(benchmark::State& state)
{
    auto grid = ShownGrid();
    Load(*grid);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        for (int r = 2; r < grid->Rows(); r += 10)
            grid->SetRowHidden(r, true);
        QCoreApplication::processEvents();
        for (int r = 2; r < grid->Rows(); ++r)
            grid->SetRowHidden(r, false);
        QCoreApplication::processEvents();
    }
    benchmark::DoNotOptimize(grid->IsRowHidden(12));
}
BENCHMARK(BM_GridHideShowAll10000)->Unit(benchmark::kMillisecond);

void BM_GridFindRow10000(benchmark::State& state)
{
    auto grid = ShownGrid();
    Load(*grid);
    const QString lastKey = grid->TextMatrix(grid->Rows() - 1, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(grid->FindRow(0, lastKey));
}
BENCHMARK(BM_GridFindRow10000)->Unit(benchmark::kMicrosecond);

} // namespace

// Figures for the giving trends on the large data set (5,000 contributors,
// ten years): the four charts' series of the newest year's main fund, and
// the same with the four charts made and drawn, as the window shows them.
#include "BenchData.h"
#include "reports/TrendCharts.h"
#include "reports/TrendTables.h"

#include <QChart>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void BM_TrendSeries(benchmark::State& state)
{
    const int year = BenchData::LastYear();
    int points = 0;
    for (auto _ : state) {
        const Trends::Charts c = Trends::Build(year, -year);
        points = 0;
        for (const Trends::Chart* chart : c.All())
            for (const Trends::Series& s : chart->series)
                points += int(s.values.size());
    }
    state.counters["points"] = points;
}
BENCHMARK(BM_TrendSeries)->Unit(benchmark::kMillisecond);

// The same with a fund that has pledges over many years: its pledge line
// reads every gift to it since the books began.
void BM_TrendSeriesOtherFund(benchmark::State& state)
{
    const int year = BenchData::LastYear();
    for (auto _ : state)
        benchmark::DoNotOptimize(Trends::Build(year, 2).weekly.series.size());
}
BENCHMARK(BM_TrendSeriesOtherFund)->Unit(benchmark::kMillisecond);

void BM_TrendChartsDrawn(benchmark::State& state)
{
    const int year = BenchData::LastYear();
    QImage image(900, 560, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const Trends::Charts c = Trends::Build(year, -year);
        for (const Trends::Chart* chart : c.All()) {
            std::unique_ptr<QChart> drawn(TrendCharts::Make(*chart));
            image.fill(Qt::white);
            QPainter painter(&image);
            TrendCharts::Render(drawn.get(), painter, QRectF(0, 0, 900, 560));
        }
    }
}
BENCHMARK(BM_TrendChartsDrawn)->Unit(benchmark::kMillisecond);

} // namespace

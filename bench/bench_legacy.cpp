// Importing the older program's sample data file: rows per second, and the
// time that rate gives for the books of a large church.
#include "storage/LegacyImport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Ten years of a 5,000-contributor church: about 1.5 million offerings,
// with its contributors, pledges, 520 collection sets and comments.
constexpr double kTenYearRows = 1.55e6;

void BM_ImportOlderProgramsFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString target = QDir(dir.path()).filePath(QStringLiteral("Imported.MDB"));
    qint64 rows = 0, loopRows = 0, loopNs = 0;
    for (auto _ : state) {
        // The row loop alone, from the first progress report (tables made)
        // to the last one before the indexes and the commit: what grows
        // with the file, unlike the fixed cost of making and syncing it.
        QElapsedTimer clock;
        qint64 firstNs = -1, firstRows = 0, lastNs = 0, lastRows = 0;
        const LegacyImport::Result r = LegacyImport::Import(
            QStringLiteral(QV_LEGACY_SAMPLE), target, [&](qint64 done, qint64 total) {
                if (firstNs < 0) {
                    clock.start();
                    firstNs = 0;
                    firstRows = done;
                } else if (done < total) {
                    lastNs = clock.nsecsElapsed();
                    lastRows = done;
                }
            });
        rows += r.TotalRows();
        loopRows += lastRows - firstRows;
        loopNs += lastNs;
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
    }
    state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsRate);
    // The large church's rows at the rate of the whole import, fixed costs
    // included (an upper bound), and at the rate of the row loop.
    state.counters["s_for_1.55M_rows"] =
        benchmark::Counter(double(rows) / kTenYearRows, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    const double loopRate = loopNs > 0 ? double(loopRows) * 1e9 / double(loopNs) : 0;
    state.counters["loop_rows/s"] = loopRate;
    state.counters["loop_s_for_1.55M"] = loopRate > 0 ? kTenYearRows / loopRate : 0;
}
BENCHMARK(BM_ImportOlderProgramsFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

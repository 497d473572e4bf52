// Figures for the January run on the large data set (5,000 contributors,
// ten years): contribution statements for everybody over the last year,
// tables built and every page written to one PDF file, or a PDF file per
// contributor; and the pledge status report of the year's main fund. The
// process's peak memory is reported as a counter (VmHWM): run one benchmark
// at a time (--benchmark_filter) for a figure of that benchmark alone.
#include "BenchData.h"
#include "reports/PledgeStatusTables.h"
#include "reports/StatementTables.h"
#include "reports/rptPledgeStatus.h"
#include "reports/rptStatement.h"
#include "core/modGlobal.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using BenchData::Peak_MB;

std::unique_ptr<rptStatement> Everybody()
{
    const int year = BenchData::LastYear();
    auto report = std::make_unique<rptStatement>();
    report->Bind(Statements::Build({true, false, 0}, QDate(year, 1, 1), QDate(year, 12, 31)));
    return report;
}

void BM_StatementTablesAll(benchmark::State& state)
{
    BenchData::OpenLargeDataSet();
    int statements = 0, lines = 0;
    for (auto _ : state) {
        const auto report = Everybody();
        statements = report->Table(2)->RowCount();
        lines = report->Table(1)->RowCount();
    }
    state.counters["statements"] = statements;
    state.counters["lines"] = lines;
    state.counters["peak_MB"] = Peak_MB();
}
BENCHMARK(BM_StatementTablesAll)->Unit(benchmark::kMillisecond)->Iterations(3);

// The layout alone: every statement measured and placed on its pages.
void BM_StatementsAllLayout(benchmark::State& state)
{
    BenchData::OpenLargeDataSet();
    const auto report = Everybody();
    int pages = 0;
    for (auto _ : state)
        pages = report->Layout(QDate(BenchData::LastYear() + 1, 1, 10)).PageCount();
    state.counters["pages"] = pages;
    state.counters["peak_MB"] = Peak_MB();
}
BENCHMARK(BM_StatementsAllLayout)->Unit(benchmark::kMillisecond)->Iterations(1);

// What the statements window does for everybody: tables, every statement
// laid out once to count its pages, the first page painted; the memory of
// a few statements, not of the run.
void BM_StatementsViewerOpen(benchmark::State& state)
{
    BenchData::OpenLargeDataSet();
    int pages = 0;
    for (auto _ : state) {
        const std::shared_ptr<const rptStatement> report = Everybody();
        const PartedPages shown(report, QDate(BenchData::LastYear() + 1, 1, 10));
        pages = shown.PageCount();
        QImage page(850, 1100, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        shown.Paint(painter, 0, QRectF(0, 0, 850, 1100));
    }
    state.counters["pages"] = pages;
    state.counters["peak_MB"] = Peak_MB();
}
BENCHMARK(BM_StatementsViewerOpen)->Unit(benchmark::kMillisecond)->Iterations(1);

// Everybody into one PDF, written one statement at a time as it is laid out
// (the viewer's export and qv-report's way): memory that of a few
// statements, not of the whole run.
void BM_StatementsStreamedToOnePdf(benchmark::State& state)
{
    BenchData::OpenLargeDataSet();
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        const auto report = Everybody();
        QString error;
        if (!report->Write_Pdf(dir.filePath(QStringLiteral("statements.pdf")), QDate(BenchData::LastYear() + 1, 1, 10), &pages, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["pages"] = pages;
    state.counters["peak_MB"] = Peak_MB();
}
BENCHMARK(BM_StatementsStreamedToOnePdf)->Unit(benchmark::kMillisecond)->Iterations(1);

// "Save a PDF for each contributor": tables, then a file per statement.
void BM_StatementsPdfEach(benchmark::State& state)
{
    BenchData::OpenLargeDataSet();
    int files = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        const auto report = Everybody();
        const StatementFiles written =
            Write_Statement_Pdfs(*report, dir.path(), -BenchData::LastYear(), QDate(BenchData::LastYear() + 1, 1, 10));
        files = written.written;
        if (!written.error.isEmpty())
            state.SkipWithError(qPrintable(written.error));
    }
    state.counters["files"] = files;
    state.counters["peak_MB"] = Peak_MB();
}
BENCHMARK(BM_StatementsPdfEach)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PledgeStatusMainFund(benchmark::State& state)
{
    BenchData::OpenLargeDataSet();
    const int year = BenchData::LastYear();
    int rows = 0, pages = 0;
    for (auto _ : state) {
        rptPledgeStatus report;
        report.SetDataSource(1, PledgeStatus::Build({-year, PledgeStatus::EnvelopeOrder, QDate(year, 1, 1), QDate(year, 12, 31), true, true}));
        rows = report.Table(1)->RowCount();
        pages = report.Layout(QDate(year, 12, 31)).PageCount();
    }
    state.counters["rows"] = rows;
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PledgeStatusMainFund)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// Figures for the reports on the large data set: the weekly collection
// report of a set with about 1,500 gifts, from its tables to a PDF file; and
// the viewer opening a 5,000-page document.
#include "BenchData.h"
#include "reports/CRViewer91.h"
#include "reports/PageComposer.h"
#include "reports/Report.h"
#include "reports/WeeklyReportTables.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "core/modDBConnection.h"
#include "storage/modDBKeys.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A collection set of 1,500 gifts: the first 1,500 of the newest set,
// copied into a new set on the day after it, so that their pledged shares
// are figured against ten years of earlier gifts. The run works on a copy
// of the data set, so the copy is made once per run.
int SetWith1500Gifts()
{
    static int set = 0;
    if (set)
        return set;
    Connection& db = modGlobal::DB();
    Recordset newest(QStringLiteral("SELECT ID, CollectionDate FROM Collection ORDER BY CollectionDate DESC, ID DESC"), db);
    const int from = modGlobal::FieldLong(newest.Field(0));
    const QDate day = modGlobal::FieldDate(newest.Field(1)).addDays(1);
    set = modDBKeys::NextKey(QStringLiteral("Collection"));
    db.Execute(QStringLiteral("INSERT INTO Collection (ID, CollectionDate, Notation) VALUES (%1, %2, 'Benchmark');")
                   .arg(set)
                   .arg(modDBConnection::DateLiteral(day)));
    Recordset top(QStringLiteral("SELECT Max(ID) FROM Offering"), db);
    const int base = modGlobal::FieldLong(top.Field(0));
    db.Execute(QStringLiteral("INSERT INTO Offering (ID, ContributorID, CollectionID, FundID, Amount) "
                              "SELECT ID + %1, ContributorID, %2, FundID, Amount FROM Offering WHERE CollectionID = %3 "
                              "ORDER BY ID LIMIT 1500;")
                   .arg(base)
                   .arg(set)
                   .arg(from));
    return set;
}

void BM_WeeklyReportToPdf(benchmark::State& state)
{
    const int set = SetWith1500Gifts();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("weekly.pdf"));
    int pages = 0;
    for (auto _ : state) {
        auto tables = WeeklyReport::Build(set, state.range(0) == 1);
        rptWeeklyReport report;
        report.Bind(std::move(*tables));
        const ReportDocument doc = report.Layout(modGlobal::Today());
        doc.WritePdf(pdf);
        pages = doc.PageCount();
    }
    state.counters["gifts"] = modGlobal::FieldLong(
        Recordset(QStringLiteral("SELECT Count(ID) FROM Offering WHERE CollectionID = %1").arg(set), modGlobal::DB()).Field(0));
    state.counters["pages"] = pages;
}
BENCHMARK(BM_WeeklyReportToPdf)->Arg(0)->Arg(1)->ArgName("names")->Unit(benchmark::kMillisecond);

// The set with the most gifts in the books (about 3,000 of 5,000
// contributors, 12,000 of 20,000), with names.
void BM_WeeklyReportLargestSetToPdf(benchmark::State& state)
{
    Recordset largest(QStringLiteral("SELECT CollectionID, Count(ID) AS N FROM Offering GROUP BY CollectionID "
                                     "ORDER BY N DESC LIMIT 1"),
                      modGlobal::DB());
    const int set = modGlobal::FieldLong(largest.Field(0));
    const int gifts = modGlobal::FieldLong(largest.Field(1));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("weekly.pdf"));
    int pages = 0;
    for (auto _ : state) {
        auto tables = WeeklyReport::Build(set, true);
        rptWeeklyReport report;
        report.Bind(std::move(*tables));
        const ReportDocument doc = report.Layout(modGlobal::Today());
        doc.WritePdf(pdf);
        pages = doc.PageCount();
    }
    state.counters["gifts"] = gifts;
    state.counters["pages"] = pages;
}
BENCHMARK(BM_WeeklyReportLargestSetToPdf)->Unit(benchmark::kMillisecond);

// The parts of it: tables alone, and the layout alone.
void BM_WeeklyReportTables(benchmark::State& state)
{
    const int set = SetWith1500Gifts();
    int rows = 0;
    for (auto _ : state)
        rows = WeeklyReport::Build(set, false)->detail.RowCount();
    state.counters["detail rows"] = rows;
}
BENCHMARK(BM_WeeklyReportTables)->Unit(benchmark::kMillisecond);

// A statement run's size: 5,000 statements of one page each, every one
// numbered on its own, with an address block and 30 lines.
std::shared_ptr<ReportDocument> Statements(int count)
{
    auto doc = std::make_shared<ReportDocument>();
    PageComposer c(*doc);
    const auto f = ReportStyle::Start(c, QStringLiteral("Statements"), modGlobal::Today());
    Band line = c.NewBand();
    line.Text(0, 0, 2000, QStringLiteral("June 15, 2025"), f.body);
    line.Text(2000, 0, 1200, QStringLiteral("$1,234.56"), f.body, Qt::AlignRight);
    line.Text(3400, 0, 3000, QStringLiteral("Building Fund"), f.body);
    for (int s = 0; s < count; ++s) {
        if (s)
            c.Restart_Numbering();
        Band address = c.NewBand();
        address.Text(0, 0, 4000, QStringLiteral("Contributor %1\n12 Elm Street\nSpringfield, IL  62701").arg(s), f.body);
        c.Place(address, QPointF(ReportUnits::Inches(1), ReportUnits::Inches(2)));
        c.Skip(ReportUnits::Inches(3));
        for (int i = 0; i < 30; ++i)
            c.Add(line);
    }
    c.Finish();
    return doc;
}

void BM_LayOut5000PageStatements(benchmark::State& state)
{
    int pages = 0;
    for (auto _ : state)
        pages = Statements(5000)->PageCount();
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LayOut5000PageStatements)->Unit(benchmark::kMillisecond)->Iterations(1);

// Resident memory in kilobytes, from the kernel's own count.
long ResidentKB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : 0;
}

// Opening the viewer on a laid-out document until its first page is
// painted; the viewer's own memory for 50 and for 5,000 pages.
void BM_ViewerOpensOnFirstPage(benchmark::State& state)
{
    const auto doc = Statements(int(state.range(0)));
    long grown = 0;
    int painted = 0;
    for (auto _ : state) {
        const long before = ResidentKB();
        auto* viewer = new CRViewer91;
        viewer->resize(1000, 800);
        viewer->SetDocument(doc);
        viewer->show();
        const QPixmap shown = viewer->grab(); // paints what is in sight
        benchmark::DoNotOptimize(shown.size());
        painted = viewer->view->LastPaintedPages();
        grown = ResidentKB() - before;
        delete viewer;
    }
    state.counters["pages"] = doc->PageCount();
    state.counters["pages painted"] = painted;
    state.counters["viewer KB"] = double(grown);
}
BENCHMARK(BM_ViewerOpensOnFirstPage)->Arg(50)->Arg(5000)->ArgName("pages")->Unit(benchmark::kMillisecond);

} // namespace

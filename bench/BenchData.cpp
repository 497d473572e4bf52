#include "BenchData.h"

#include "SampleData.h"
#include "shell/modGlobal.h"
#include "shell/modStartup.h"
#include "storage/Connection.h"
#include "storage/clsChurch.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <cstdio>

namespace BenchData {

namespace {
SampleData::Params LargeParams()
{
    SampleData::Params p;
    p.contributors = 5000;
    p.years = 10;
    p.lastYear = 2025;
    return p;
}
} // namespace

int Contributors() { return LargeParams().contributors; }
int LastYear() { return LargeParams().lastYear; }

void OpenLargeDataSet()
{
    const SampleData::Params p = LargeParams();
    const QString folder = QStringLiteral(QV_BENCH_DATA_DIR);
    QDir().mkpath(folder);
    const QString master = folder + QStringLiteral("/large-%1x%2.MDB").arg(p.contributors).arg(p.years);
    if (!QFile::exists(master)) {
        std::printf("Generating the benchmark data set (once): %s\n", qPrintable(master));
        QElapsedTimer t;
        t.start();
        const auto c = SampleData::CreateFile(master + QStringLiteral(".part"), p);
        QFile::rename(master + QStringLiteral(".part"), master);
        std::printf("  %d contributors, %d pledges, %d collection sets, %d offerings in %.1f s\n", c.contributors,
                    c.pledges, c.collections, c.offerings, t.elapsed() / 1000.0);
    }
    const QString copy = folder + QStringLiteral("/run.MDB");
    QFile::remove(copy);
    QFile::copy(master, copy);
    modGlobal::CloseDB();
    modGlobal::ResetTableReady();
    modGlobal::ProcessingYear = p.lastYear;
    modGlobal::SetDB(std::make_unique<Connection>(copy));
    modStartup::MakeTablesReady();
}

} // namespace BenchData

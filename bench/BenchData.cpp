#include "BenchData.h"

#include "SampleData.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Helpers.h"
#include "core/Connection.h"
#include "core/Recordset.h"
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
int g_contributors = 5000;
QString g_folder = QStringLiteral(QV_BENCH_DATA_DIR);

SampleData::Params LargeParams()
{
    SampleData::Params p;
    p.contributors = g_contributors;
    p.years = 10;
    p.lastYear = 2025;
    return p;
}

// The machine's own pace, so that figures taken on a busy machine can be
// read as ratios: SQLite summing every offering, the best of three.
void Print_Reference()
{
    double best = 1e9;
    double sum = 0;
    qint64 rows = 0;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        Recordset rs(QStringLiteral("SELECT Sum(Amount), Count(*) FROM Offering"), modGlobal::DB(), Recordset::Cursor::ForwardOnly);
        sum = modGlobal::FieldDouble(rs.Field(0));
        rows = modGlobal::FieldLong(rs.Field(1));
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    std::printf("Reference: SQLite sums %lld offerings ($%.2f) in %.1f ms on this machine now\n", static_cast<long long>(rows),
                sum, best);
}
} // namespace

bool Read_Options(int* argc, char** argv)
{
    int out = 1;
    for (int i = 1; i < *argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        auto value = [&](const QString& name, QString* v) {
            if (arg.startsWith(name + QLatin1Char('='))) {
                *v = arg.mid(name.size() + 1);
                return true;
            }
            if (arg == name && i + 1 < *argc) {
                *v = QString::fromLocal8Bit(argv[++i]);
                return true;
            }
            return false;
        };
        QString v;
        if (value(QStringLiteral("--contributors"), &v)) {
            bool ok = false;
            g_contributors = v.toInt(&ok);
            if (!ok || g_contributors < 100 || g_contributors > 200000) {
                std::fprintf(stderr, "--contributors needs a number from 100 to 200000\n");
                return false;
            }
        } else if (value(QStringLiteral("--data-folder"), &v)) {
            g_folder = v;
        } else {
            argv[out++] = argv[i];
        }
    }
    *argc = out;
    return true;
}

int Contributors() { return LargeParams().contributors; }
int LastYear() { return LargeParams().lastYear; }

double Peak_MB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void OpenLargeDataSet()
{
    const SampleData::Params p = LargeParams();
    const QString folder = g_folder;
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
    modGlobal::CloseDB();
    modGlobal::ProcessingYear = p.lastYear;
    // The master is brought up to the program's indexes once, not the copy
    // of every run: a new index on a large file takes seconds.
    modGlobal::ResetTableReady();
    modGlobal::SetDB(std::make_unique<Connection>(master));
    modStartup::MakeTablesReady();
    modGlobal::CloseDB();
    const QString copy = folder + QStringLiteral("/run.MDB");
    QFile::remove(copy);
    QFile::copy(master, copy);
    modGlobal::ResetTableReady();
    modGlobal::SetDB(std::make_unique<Connection>(copy));
    modStartup::MakeTablesReady();
    Print_Reference();
}

} // namespace BenchData

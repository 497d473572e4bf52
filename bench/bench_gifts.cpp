// A giving platform's file of 20,000 gifts imported into the large books:
// read, matched and written in one transaction. Each run books new
// transaction IDs, so every run writes all of them.
#include "BenchData.h"
#include "gifts/GiftImport.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace {

constexpr int kGifts = 20000;

QByteArray Gift_File(int run)
{
    // Donors whose names are each a contributor's alone, so that all match.
    Recordset rs(QStringLiteral("SELECT LastName, FirstNames FROM Contributors WHERE ID > 1 GROUP BY LastName, FirstNames "
                                "HAVING COUNT(*) = 1 AND FirstNames <> '' ORDER BY MIN(ID);"),
                 modGlobal::DB());
    QStringList donors;
    for (; !rs.Eof(); rs.MoveNext())
        donors << modGlobal::FieldText(rs.Field(0)) + QStringLiteral(", ") + modGlobal::FieldText(rs.Field(1));
    QByteArray file = "Date,Donor Name,Email,Gross Amount,Fee,Fund,Transaction ID,Deposit Date\r\n";
    const QDate start(BenchData::LastYear(), 1, 3);
    for (int i = 0; i < kGifts; ++i) {
        const QDate date = start.addDays(i % 360);
        const qint64 cents = 500 + (i * 7919) % 50000;
        file += QStringLiteral("%1,\"%2\",,\"%3\",%4,General,run%5-%6,%7\r\n")
                    .arg(date.toString(Qt::ISODate), donors.at(i % donors.size()),
                         QString::number(cents / 100) + QLatin1Char('.') + QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0')),
                         QStringLiteral("0.%1").arg(30 + i % 60))
                    .arg(run)
                    .arg(i)
                    .arg(date.addDays(2 + (7 - date.dayOfWeek()) % 7).toString(Qt::ISODate))
                    .toUtf8();
    }
    return file;
}

void BM_ImportOnlineGifts(benchmark::State& state)
{
    int run = 0;
    qint64 written = 0, refused = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QByteArray file = Gift_File(++run);
        state.ResumeTiming();
        const GiftCsv::Table t = GiftCsv::Read(file);
        GiftImport::Plan plan = GiftImport::Prepare(t, GiftImport::Guess_Mapping(t.header), QStringLiteral("bench.csv"));
        for (int d = 0; d < plan.designations.size(); ++d)
            GiftImport::Map_Designation(plan, d, 0);
        const GiftImport::Summary s = GiftImport::Write(plan);
        written += s.gifts;
        refused += s.refused.size();
    }
    state.SetItemsProcessed(written);
    state.counters["refused"] = double(refused); // 0: every donor matched
}
BENCHMARK(BM_ImportOnlineGifts)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// Gift files from giving platforms: whatever the bytes, reading them and
// preparing them with the mapping their headings suggest never crashes;
// every row is either a gift or refused, and a gift read has its dates and
// an amount that fits the books.
#include "gifts/GiftImport.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {
void OpenBooks()
{
    static int argc = 1;
    static char name[] = "fuzz_gifts";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    modGlobal::SetDB(std::make_unique<Connection>(Connection::Create(dir.filePath(QStringLiteral("F.MDB")))));
    modStartup::MakeTablesReady();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (OpenBooks(), true);
    (void)ready;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const GiftCsv::Table t = GiftCsv::Read(bytes);
    if (t.rows.size() != t.lines.size())
        std::abort();
    for (const QStringList& row : t.rows) {
        if (row.size() < t.header.size())
            std::abort();
        for (const QString& field : row) {
            qint64 cents = 0;
            if (GiftCsv::ReadCents(field, &cents, t.separator == QLatin1Char(';'))
                && (cents > 9'999'999'999'999LL || cents < -9'999'999'999'999LL))
                std::abort();
            (void)GiftCsv::ReadDate(field);
        }
    }
    GiftImport::Mapping m = GiftImport::Guess_Mapping(t.header);
    if (!GiftImport::Mapping_Problem(m).isEmpty()) {
        // Any columns at all, as a treasurer might choose them.
        for (int f = 0; f < GiftImport::FieldCount; ++f)
            m.column[f] = t.header.isEmpty() ? -1 : int(data[f % (size ? size : 1)] % (t.header.size() + 1)) - 1;
    }
    const GiftImport::Plan plan = GiftImport::Prepare(t, m, QStringLiteral("fuzz.csv"));
    if (plan.gifts.size() + plan.refused.size() != t.rows.size() || plan.donorOf.size() != plan.gifts.size())
        std::abort();
    for (const GiftImport::Gift& g : plan.gifts)
        if (!g.date.isValid() || !g.deposit.isValid() || g.cents == 0 || g.lastName.isEmpty())
            std::abort();
    (void)GiftImport::Totals_Per_Date(plan);
    return 0;
}

#include "DepositTables.h"

#include "offering/PlateCount.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "storage/ContributorQueries.h"
#include "storage/clsChurch.h"
#include "storage/clsCollection.h"

#include <QHash>

using namespace modGlobal;
using Type = ReportTable::Type;

namespace Deposit {

namespace {
// Report amounts are kept as the books keep them; the cents are exact.
double Money(qint64 cents)
{
    return double(cents) / 100.0;
}

void Add_Line(ReportTable& t, const QString& item, const QVariant& pieces, qint64 cents)
{
    t.AddNew();
    t.Set(QStringLiteral("Item"), item);
    t.Set(QStringLiteral("Pieces"), pieces);
    t.Set(QStringLiteral("Amount"), Money(cents));
}
} // namespace

std::optional<Tables> Build(int collectionID)
{
    clsCollection collection;
    collection.Get_One_Record(QStringLiteral("ID = ") + QString::number(collectionID));
    if (collectionID < 1 || collection.ID() != collectionID)
        return std::nullopt;
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));
    const PlateCount::Count c = PlateCount::Load(collectionID);

    Tables t;
    t.header.AppendField(QStringLiteral("ChurchName"), Type::Text, 40);
    t.header.AppendField(QStringLiteral("BankLine"), Type::Text, 80);
    t.header.AppendField(QStringLiteral("DepositDate"), Type::Date);
    t.header.AppendField(QStringLiteral("Counter1"), Type::Text, 40);
    t.header.AppendField(QStringLiteral("Counter2"), Type::Text, 40);
    t.header.AppendField(QStringLiteral("CountedAt"), Type::Text, 40);
    t.header.AppendField(QStringLiteral("Total"), Type::Double);
    t.header.AddNew();
    t.header.Set(QStringLiteral("ChurchName"), church.ChurchName());
    t.header.Set(QStringLiteral("BankLine"), PlateCount::Bank_Line());
    t.header.Set(QStringLiteral("DepositDate"), collection.CollectionDate());
    t.header.Set(QStringLiteral("Counter1"), c.counter1);
    t.header.Set(QStringLiteral("Counter2"), c.counter2);
    t.header.Set(QStringLiteral("CountedAt"),
                 c.countedAt.isValid() ? ShortDate(c.countedAt.date()) + c.countedAt.toString(QStringLiteral(" h:mm AP"))
                                       : QString());
    t.header.Set(QStringLiteral("Total"), Money(c.TotalCents()));

    for (ReportTable* table : {&t.cash}) {
        table->AppendField(QStringLiteral("Item"), Type::Text, 40);
        table->AppendField(QStringLiteral("Pieces"), Type::BigInt);
        table->AppendField(QStringLiteral("Amount"), Type::Double);
    }
    for (size_t i = 0; i < c.bills.size(); ++i)
        if (c.bills[i] != 0)
            Add_Line(t.cash, PlateCount::Currency()[i].label + QStringLiteral(" bills"), c.bills[i],
                     c.bills[i] * PlateCount::Currency()[i].cents);
    for (size_t i = 0; i < c.coins.size(); ++i)
        if (c.coins[i] != 0)
            Add_Line(t.cash, PlateCount::Coins()[i].label, c.coins[i], c.coins[i] * PlateCount::Coins()[i].cents);
    if (c.rolledCents != 0)
        Add_Line(t.cash, QStringLiteral("Rolled coin"), QVariant(), c.rolledCents);

    t.checks.AppendField(QStringLiteral("CheckNumber"), Type::Text, 20);
    t.checks.AppendField(QStringLiteral("From"), Type::Text, 62);
    t.checks.AppendField(QStringLiteral("Amount"), Type::Double);
    QHash<int, QString> names;
    if (!c.checks.isEmpty())
        for (const auto& r : ContributorQueries::With_Envelopes(collection.CollectionDate().year()))
            names.insert(r.id, r.name);
    for (const PlateCount::CheckLine& check : c.checks) {
        t.checks.AddNew();
        t.checks.Set(QStringLiteral("CheckNumber"), check.number);
        t.checks.Set(QStringLiteral("From"), names.value(check.contributorID));
        t.checks.Set(QStringLiteral("Amount"), Money(check.cents));
    }
    t.caption = QStringLiteral("Deposit Slip - Collection Number ") + QString::number(collectionID)
        + QStringLiteral(" for ") + LongDate(collection.CollectionDate());
    return t;
}

ReportTable Count_Sheet(int collectionID)
{
    ReportTable t(QStringLiteral("Count"));
    t.AppendField(QStringLiteral("Item"), Type::Text, 40);
    t.AppendField(QStringLiteral("Amount"), Type::Double);
    const PlateCount::Count c = PlateCount::Load(collectionID);
    if (c.IsEmpty())
        return t;
    const qint64 entered = PlateCount::Entered_Cents(collectionID);
    const std::pair<QString, qint64> rows[] = {{QStringLiteral("Counted cash"), c.CashCents()},
                                               {QStringLiteral("Counted checks"), c.CheckCents()},
                                               {QStringLiteral("Counted total"), c.TotalCents()},
                                               {QStringLiteral("Entered total"), entered},
                                               {QStringLiteral("Difference"), PlateCount::Difference(c, entered)}};
    for (const auto& [item, cents] : rows) {
        t.AddNew();
        t.Set(QStringLiteral("Item"), item);
        t.Set(QStringLiteral("Amount"), Money(cents));
    }
    return t;
}

} // namespace Deposit

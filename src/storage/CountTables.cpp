#include "CountTables.h"

#include "core/Connection.h"
#include "core/modDBConnection.h"

using namespace modDBConnection;

namespace CountTables {

void Create(Connection& db)
{
    const QString n = QStringLiteral(" NULL");
    QStringList count{QStringLiteral("CollectionID ") + TypeLong() + QStringLiteral(" NOT NULL PRIMARY KEY")};
    // Pieces by denomination, then the coin counted as rolls (in cents).
    for (const char* c : {"Bills100", "Bills50", "Bills20", "Bills10", "Bills5", "Bills2", "Bills1", "CoinDollars",
                          "Quarters", "Dimes", "Nickels", "Pennies", "RolledCents"})
        count << QLatin1String(c) + QLatin1Char(' ') + TypeLong() + n;
    count << QStringLiteral("Counter1 ") + TypeText(40) + n << QStringLiteral("Counter2 ") + TypeText(40) + n
          << QStringLiteral("CountedAt ") + TypeText(19) + n
          // The difference the treasurer chose to keep, in cents; Null
          // while none was kept.
          << QStringLiteral("KeptDifference ") + TypeLong() + n;
    db.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS CollectionCount (") + count.join(QStringLiteral(", "))
               + QStringLiteral(");"));
    db.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS CollectionChecks ([ID] ") + TypeLong()
               + QStringLiteral(" NOT NULL PRIMARY KEY, CollectionID ") + TypeLong() + QStringLiteral(" NOT NULL, Line ")
               + TypeLong() + n + QStringLiteral(", CheckNumber ") + TypeText(20) + n + QStringLiteral(", Cents ")
               + TypeLong() + n + QStringLiteral(", ContributorID ") + TypeLong() + n + QStringLiteral(");"));
    db.Execute(QStringLiteral("CREATE INDEX IF NOT EXISTS idxCollectionChecksCollection ON CollectionChecks (CollectionID);"));
    db.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ChurchBank ([ID] ") + TypeLong()
               + QStringLiteral(" NOT NULL PRIMARY KEY, AccountLine ") + TypeText(80) + n + QStringLiteral(");"));
}

void Delete_For(Connection& db, int collectionID)
{
    const QString k = QString::number(collectionID);
    db.Execute(QStringLiteral("DELETE FROM CollectionChecks WHERE CollectionID = ") + k + QLatin1Char(';'));
    db.Execute(QStringLiteral("DELETE FROM CollectionCount WHERE CollectionID = ") + k + QLatin1Char(';'));
}

} // namespace CountTables

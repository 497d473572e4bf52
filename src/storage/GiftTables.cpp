#include "GiftTables.h"

#include "core/Connection.h"
#include "core/Recordset.h"

namespace GiftTables {

void Create(Connection& db)
{
    db.Execute(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS OnlineGiftImported (TransactionID TEXT NOT NULL PRIMARY KEY, "
        "CollectionID INTEGER NOT NULL, OfferingID INTEGER NOT NULL, ContributorID INTEGER NOT NULL, "
        "ImportedAt TEXT NOT NULL);"
        "CREATE INDEX IF NOT EXISTS idxOnlineGiftImportedCollection ON OnlineGiftImported (CollectionID);"
        "CREATE TABLE IF NOT EXISTS OnlineGiftMapping (Name TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, "
        "HeaderRow TEXT NOT NULL, Columns TEXT NOT NULL);"
        "CREATE TABLE IF NOT EXISTS OnlineGiftFund (Designation TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, "
        "FundID INTEGER NOT NULL);"));
}

bool Has_Email_Table(Connection& db)
{
    Recordset rs(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'ContributorEmail';"), db);
    return !rs.Eof();
}

} // namespace GiftTables

#include "modDBKeys.h"

#include "core/Connection.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "core/modDBConnection.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"

namespace modDBKeys {

bool KeyIsFree(int key, const QString& tableName)
{
    Recordset rs(QStringLiteral("SELECT ID FROM ") + tableName + QStringLiteral(" WHERE ID = ") + QString::number(key)
                     + QLatin1Char(';'),
                 modGlobal::DB());
    return rs.RecordCount() < 1;
}

int NextKey(const QString& tableName)
{
    Schema::MakeReady(modGlobal::tiKeyGen);
    Connection& db = modGlobal::DB();
    const QString name = modDBConnection::TextLiteral(tableName);
    for (;;) {
        int key = 0;
        {
            // Read, increment and store as one step, so that a failure
            // cannot leave a key handed out but not recorded.
            Connection::Transaction tx(db);
            Recordset rs(QStringLiteral("SELECT * FROM KeyGen WHERE TableName = ") + name + QLatin1Char(';'), db);
            if (rs.Eof()) {
                const int start = (tableName == QLatin1String("Collection")) ? 0 : 1;
                db.Execute(QStringLiteral("INSERT INTO KeyGen (TableName, LastKey) VALUES (") + name + QStringLiteral(", ")
                           + QString::number(start) + QStringLiteral(");"));
                key = start + 1;
            } else {
                key = modGlobal::FieldLong(rs.Field(QStringLiteral("LastKey"))) + 1;
            }
            db.Execute(QStringLiteral("UPDATE KeyGen SET LastKey = ") + QString::number(key)
                       + QStringLiteral(" WHERE TableName = ") + name + QLatin1Char(';'));
            tx.Commit();
        }
        if (KeyIsFree(key, tableName))
            return key;
    }
}

} // namespace modDBKeys

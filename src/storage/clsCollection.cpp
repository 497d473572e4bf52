#include "clsCollection.h"

#include "core/Connection.h"
#include "CountTables.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "core/modDBConnection.h"
#include "modDBKeys.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"

using namespace modDBConnection;
using namespace modGlobal;

clsCollection::clsCollection()
{
    Schema::MakeReady(tiCollection);
}

void clsCollection::Get_One_Record(const QString& where)
{
    const QString w = where.isEmpty() ? QStringLiteral("ID = ") + QString::number(ID()) : where;
    Recordset rs(QStringLiteral("SELECT * FROM Collection WHERE ") + w + QLatin1Char(';'), DB(),
                 Recordset::Cursor::ForwardOnly);
    const bool found = !rs.Eof();
    ID(found ? FieldLong(rs.Field(QStringLiteral("ID"))) : 0);
    CollectionDate(found ? FieldDate(rs.Field(QStringLiteral("CollectionDate"))) : ZeroDate());
    Notation(found ? FieldText(rs.Field(QStringLiteral("Notation"))) : QString());
    m_changed = false;
}

int clsCollection::Next_ID()
{
    return modDBKeys::NextKey(QStringLiteral("Collection"));
}

void clsCollection::Save_to_DB()
{
    if (!m_changed)
        return;
    if (ID() == 0)
        ID(Next_ID());
    Recordset rs(QStringLiteral("SELECT ID FROM Collection WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'), DB());
    const bool added = rs.Eof();
    if (added)
        DB().Execute(QStringLiteral("INSERT INTO Collection (ID, CollectionDate, Notation) VALUES (")
                     + QString::number(ID()) + QStringLiteral(", ") + DateLiteral(CollectionDate())
                     + QStringLiteral(", ") + TextLiteral(Notation()) + QStringLiteral(");"));
    else
        DB().Execute(QStringLiteral("UPDATE Collection SET CollectionDate = ") + DateLiteral(CollectionDate())
                     + QStringLiteral(", Notation = ") + TextLiteral(Notation()) + QStringLiteral(" WHERE ID = ")
                     + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbCollection, added, !added, false, ID(), 0);
}

void clsCollection::Delete_Record_from_DB()
{
    // The set's count goes with it, in the same transaction: a count
    // without its set would turn up under the next set given that number.
    Connection::Transaction tx(DB());
    CountTables::Delete_For(DB(), ID());
    DB().Execute(QStringLiteral("DELETE FROM Collection WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    tx.Commit();
    Notify(dbCollection, false, false, true, ID(), 0);
}

bool clsCollection::OK_to_Delete(bool)
{
    return true;
}

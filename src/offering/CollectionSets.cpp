#include "CollectionSets.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsCollection.h"
#include "core/modDBConnection.h"

using namespace modGlobal;
using modDBConnection::DateLiteral;

namespace CollectionSets {

QDate Default_New_Date(const QDate& today, int processingYear, bool useCurrentDate, int dayOfWeek)
{
    QDate d = today;
    if (today.year() == processingYear && !useCurrentDate) {
        // Qt counts Monday 1 .. Sunday 7; the church counts Sunday 0 .. Saturday 6.
        const int wanted = dayOfWeek == 0 ? 7 : dayOfWeek;
        while (d.dayOfWeek() != wanted)
            d = d.addDays(-1);
    }
    if (d.year() > processingYear)
        d = QDate(processingYear, 12, 31);
    else if (d.year() < processingYear)
        d = QDate(processingYear, 1, 1);
    return d;
}

QDate Default_New_Date()
{
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));
    return Default_New_Date(Today(), ProcessingYear, church.UseCurrentDate(), church.DayOfWeek());
}

QList<SetRow> Sets_Of_Year(int year)
{
    Recordset rs(QStringLiteral("SELECT * FROM Collection WHERE ((CollectionDate >= ") + DateLiteral(QDate(year, 1, 1))
                     + QStringLiteral(") AND (CollectionDate < ") + DateLiteral(QDate(year + 1, 1, 1))
                     + QStringLiteral(")) ORDER BY CollectionDate Desc;"),
                 DB());
    QList<SetRow> rows;
    for (; !rs.Eof(); rs.MoveNext())
        rows.append({FieldLong(rs.Field(QStringLiteral("ID"))), FieldDate(rs.Field(QStringLiteral("CollectionDate"))),
                     FieldText(rs.Field(QStringLiteral("Notation")))});
    return rows;
}

bool Date_Has_Set(const QDate& date)
{
    Recordset rs(QStringLiteral("SELECT ID FROM Collection WHERE CollectionDate = ") + DateLiteral(date) + QLatin1Char(';'),
                 DB());
    return rs.RecordCount() > 0;
}

SetRow Create_Set(const QDate& date, const QString& notation)
{
    Connection::Transaction tx(DB());
    clsCollection set;
    set.ID(set.Next_ID());
    set.CollectionDate(date);
    set.Notation(notation);
    set.Save_to_DB();
    tx.Commit();
    return {set.ID(), set.CollectionDate(), set.Notation()};
}

void Save_Set(const OfferingLines& looseLines, int collectionID, const QDate& date, const QString& notation)
{
    Connection::Transaction tx(DB());
    modOffering::Save_Offering_Lines(looseLines, 1, collectionID);
    clsCollection set;
    set.Get_One_Record(QStringLiteral("ID = ") + QString::number(collectionID));
    set.CollectionDate(date.isValid() ? date : ZeroDate());
    set.Notation(notation);
    set.Save_to_DB();
    tx.Commit();
}

} // namespace CollectionSets

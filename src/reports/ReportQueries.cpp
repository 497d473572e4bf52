#include "ReportQueries.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "core/modDBConnection.h"

using namespace modGlobal;

namespace ReportQueries {

QList<CollectionItem> Collection_List(int processingYear)
{
    const QString d1 = modDBConnection::DateLiteral(QDate(processingYear - 1, 1, 1));
    const QString d2 = modDBConnection::DateLiteral(QDate(processingYear, 12, 31));
    Recordset rs(QStringLiteral("SELECT * FROM Collection WHERE ((CollectionDate >= ") + d1
                     + QStringLiteral(") AND (CollectionDate <= ") + d2 + QStringLiteral(")) ORDER BY CollectionDate DESC;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    QList<CollectionItem> items;
    for (; !rs.Eof(); rs.MoveNext()) {
        CollectionItem item;
        item.id = FieldLong(rs.Field(QStringLiteral("ID")));
        item.text = ShortDate(FieldDate(rs.Field(QStringLiteral("CollectionDate")))) + QStringLiteral(", #")
            + QString::number(item.id);
        const QString notation = TrimBlanks(FieldText(rs.Field(QStringLiteral("Notation"))));
        if (!notation.isEmpty())
            item.text += QStringLiteral(", ") + notation;
        items << item;
    }
    return items;
}

QString Range_Problem(const QDate& begin, const QDate& end)
{
    if (!begin.isValid() || !end.isValid() || end >= begin)
        return QString();
    return QStringLiteral("The date range ends on ") + modGlobal::ShortDate(end) + QStringLiteral(", before it begins on ")
        + modGlobal::ShortDate(begin) + QStringLiteral(". Please choose an end date on or after the beginning.");
}

} // namespace ReportQueries

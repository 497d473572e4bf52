#include "ContributorQueries.h"

#include "core/Recordset.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"

#include <QHash>

using namespace modGlobal;

namespace ContributorQueries {

QList<Row> With_Envelopes(int year)
{
    QList<Row> rows;
    QHash<int, int> index;
    Recordset people(QStringLiteral("SELECT ID, LastName, FirstNames, IsInactive From Contributors;"), DB(),
                     Recordset::Cursor::ForwardOnly);
    for (; !people.Eof(); people.MoveNext()) {
        Row r;
        r.id = FieldLong(people.Field(0));
        r.name = NameJoin(FieldText(people.Field(1)), FieldText(people.Field(2)), true);
        r.inactive = FieldBool(people.Field(3));
        index.insert(r.id, int(rows.size()));
        rows.append(r);
    }
    Recordset numbers(QStringLiteral("SELECT ContributorID, AccountNumber FROM Pledges WHERE (FundID = ")
                          + QString::number(-year) + QStringLiteral(");"),
                      DB(), Recordset::Cursor::ForwardOnly);
    for (; !numbers.Eof(); numbers.MoveNext()) {
        auto it = index.constFind(FieldLong(numbers.Field(0)));
        if (it != index.constEnd())
            rows[it.value()].envelope = FieldLong(numbers.Field(1));
    }
    return rows;
}

} // namespace ContributorQueries

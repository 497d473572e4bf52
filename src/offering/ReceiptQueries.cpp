#include "ReceiptQueries.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsColComments.h"
#include "core/modDBConnection.h"

using namespace modGlobal;

namespace ReceiptQueries {

namespace {
QString CommentWhere(int contributorID, int collectionID)
{
    return QStringLiteral("((ContributorID = ") + QString::number(contributorID) + QStringLiteral(") AND (CollectionID = ")
        + QString::number(collectionID) + QStringLiteral("))");
}
} // namespace

QList<HistoryRow> History(int contributorID, const QDate& before)
{
    Recordset rs(
        // The set's first comment: joined to every gift, a second comment on
        // the same set would show each gift twice.
        QStringLiteral("SELECT Collection.CollectionDate, Offering.FundID, Funds.FundName, Offering.Amount,"
                       " (SELECT ColComment.Comment FROM ColComment WHERE (ColComment.ContributorID = Offering.ContributorID)"
                       " AND (ColComment.CollectionID = Offering.CollectionID) ORDER BY ColComment.ID LIMIT 1)"
                       " FROM (Offering LEFT JOIN Collection ON Offering.CollectionID = Collection.ID) LEFT JOIN Funds ON "
                       "Offering.FundID = Funds.ID"
                       " WHERE ((Offering.ContributorID = ")
            + QString::number(contributorID) + QStringLiteral(") AND (Collection.CollectionDate < ")
            + modDBConnection::DateLiteral(before) + QStringLiteral(")) ORDER BY Collection.CollectionDate DESC;"),
        DB());
    QList<HistoryRow> rows;
    rows.reserve(rs.RecordCount());
    for (; !rs.Eof(); rs.MoveNext()) {
        HistoryRow r;
        r.date = FieldDate(rs.Field(0));
        const int fund = FieldLong(rs.Field(1));
        r.fund = fund < 0 ? QString::number(-fund) + QLatin1Char(' ') + MainFundName : FieldText(rs.Field(2));
        r.amount = FieldDouble(rs.Field(3));
        r.comment = FieldText(rs.Field(4));
        rows.append(r);
    }
    return rows;
}

QString Comment(int contributorID, int collectionID)
{
    clsColComments c;
    c.Get_One_Record(CommentWhere(contributorID, collectionID));
    return c.Comment();
}

void Save_Comment(int contributorID, int collectionID, const QString& text)
{
    clsColComments c;
    c.Get_One_Record(CommentWhere(contributorID, collectionID));
    if (text.isEmpty()) {
        if (c.ID() >= 1)
            c.Delete_Record_from_DB();
        return;
    }
    c.ContributorID(contributorID);
    c.CollectionID(collectionID);
    c.Comment(text);
    if (c.ID() < 1)
        c.Add_Record_to_DB();
    else
        c.Update_Record_to_DB();
}

void Save_Receipt(const OfferingLines& lines, int contributorID, int collectionID, const QString& comment)
{
    Connection::Transaction tx(DB());
    modOffering::Save_Offering_Lines(lines, contributorID, collectionID);
    Save_Comment(contributorID, collectionID, comment);
    tx.Commit();
}

} // namespace ReceiptQueries

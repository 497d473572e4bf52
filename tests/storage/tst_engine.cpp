// The engine wrapper: the SQL the program writes must run unchanged on the
// data file and return the right rows.
#include "support/CoreTest.h"
#include "core/DbError.h"
#include "core/modDBConnection.h"

using namespace modDBConnection;
using namespace modGlobal;

namespace {
// The message of the DbError that fn throws; empty when none is thrown.
template <class Fn>
QString ErrorOf(Fn fn)
{
    try {
        fn();
    } catch (const DbError& e) {
        return e.Message();
    }
    return QString();
}

QStringList Column(Recordset& rs, const QString& name)
{
    QStringList values;
    for (; !rs.Eof(); rs.MoveNext())
        values << FieldText(rs.Field(name));
    return values;
}
} // namespace

class tst_Engine : public QObject {
    Q_OBJECT
private slots:
    void literalsTranslationApostrophesDatesAndCase();
    void joinsGroupsSubqueriesAndFields();
    void errorsCarryTheEngineText();
    void transactionIsAllOrNothing();
};

void tst_Engine::literalsTranslationApostrophesDatesAndCase()
{
    QCOMPARE(TextLiteral("O'Brien"), "'O''Brien'");
    QCOMPARE(DateLiteral(QDate(2024, 1, 7)), "#2024-01-07#");
    QCOMPARE(NumberLiteral(100.004), "100.004");
    QCOMPARE(NumberLiteral(-2004), "-2004");
    QCOMPARE(DataFileName("/books/Church.mdb"), "/books/Church.MDB");
    QCOMPARE(DataFileName("/books/Church"), "/books/Church.MDB");
    // Date literals become text; quoted text is left alone.
    QCOMPARE(Connection::Translate("SELECT * FROM Collection WHERE CollectionDate < #2024-01-07#;"),
             "SELECT * FROM Collection WHERE CollectionDate < '2024-01-07';");
    QCOMPARE(Connection::Translate("SELECT 'Check #12 and #3' AS t, #12/31/2024# AS d"),
             "SELECT 'Check #12 and #3' AS t, '2024-12-31' AS d");
    QCOMPARE(Connection::Translate("SELECT 'it''s #1#' AS t"), "SELECT 'it''s #1#' AS t");

    // On the file: apostrophes, case, and dates across a year end.
    TestDataSet data;
    data.AddContributor("O'Brien", "Seán");
    data.AddContributor("OBrien", "Pat");
    data.AddContributor("smith", "ann");
    data.AddContributor("Smith", "Bob");
    data.AddContributor("Émile", "Zoë");
    data.AddContributor("Adams", "Carl");
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Contributors WHERE LastName = " + TextLiteral("O'Brien")), 1.0);
    // Text compares and sorts without case, also beyond ASCII.
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Contributors WHERE LastName = 'SMITH'"), 2.0);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Contributors WHERE LastName = 'émile'"), 1.0);
    Recordset sorted("SELECT FirstNames FROM Contributors ORDER BY LastName, FirstNames;", data.DB());
    QCOMPARE(Column(sorted, "FirstNames"), (QStringList{"Carl", "Seán", "Pat", "ann", "Bob", "Zoë"}));

    // A date range across a year end, by date and not by text order of M/D/Y.
    const int dec28 = data.AddCollection(QDate(2024, 12, 28));
    const int dec29 = data.AddCollection(QDate(2024, 12, 29));
    const int jan5 = data.AddCollection(QDate(2025, 1, 5));
    data.AddCollection(QDate(2025, 1, 12));
    data.AddCollection(QDate(2024, 2, 1));
    Recordset range("SELECT * FROM Collection WHERE ((CollectionDate >= " + DateLiteral(QDate(2024, 12, 28))
                        + ") AND (CollectionDate <= " + DateLiteral(QDate(2025, 1, 5))
                        + ")) ORDER BY CollectionDate DESC;",
                    data.DB());
    QList<int> ids;
    for (; !range.Eof(); range.MoveNext())
        ids << FieldLong(range.Field("ID"));
    QCOMPARE(ids, (QList<int>{jan5, dec29, dec28}));
}

void tst_Engine::joinsGroupsSubqueriesAndFields()
{
    TestDataSet data;
    const int building = data.AddFund("Building Fund");
    const int smith = data.AddContributor("Smith", "John");
    const int jones = data.AddContributor("Jones", "Mary");
    data.AddPledge(smith, -2025, 520, 7);
    const int k1 = data.AddCollection(QDate(2025, 1, 5));
    const int k2 = data.AddCollection(QDate(2025, 1, 12));
    data.AddOffering(smith, k1, -2025, 500);
    data.AddOffering(smith, k2, -2025, 50);
    data.AddOffering(smith, k2, building, 25);
    data.AddOffering(jones, k2, -2025, 30);
    data.AddOffering(1, k2, -2025, 12.34); // loose offering: no Contributors row
    data.AddComment(smith, k1, "Check #1001");

    // A nested LEFT JOIN with a compound ON condition.
    Recordset history(
        QStringLiteral("SELECT Collection.CollectionDate, Offering.FundID, Funds.FundName, Offering.Amount, ColComment.Comment"
                       " FROM ((Offering LEFT JOIN Collection ON Offering.CollectionID = Collection.ID) LEFT JOIN Funds ON "
                       "Offering.FundID = Funds.ID) LEFT JOIN ColComment ON (Offering.ContributorID = "
                       "ColComment.ContributorID) AND (Offering.CollectionID = ColComment.CollectionID)"
                       " WHERE ((Offering.ContributorID = ")
            + QString::number(smith) + ") AND (Collection.CollectionDate < "
            + DateLiteral(QDate(2025, 1, 19)) + ")) ORDER BY Collection.CollectionDate DESC;",
        data.DB());
    QCOMPARE(history.RecordCount(), 3);
    QCOMPARE(FieldText(history.Field("Comment")), QString()); // only the set with the comment has it
    history.MoveTo(2);
    QCOMPARE(FieldDate(history.Field("CollectionDate")), QDate(2025, 1, 5));
    QCOMPARE(FieldText(history.Field("Comment")), "Check #1001");
    QCOMPARE(FieldText(history.Field("FundName")), QString()); // -2025 has no Funds row

    // HAVING, ORDER BY an aggregate DESC.
    Recordset busy(QStringLiteral("SELECT FundID, Count(FundID) AS CountOfFundID FROM Offering GROUP BY FundID "
                                  "HAVING Count(FundID) > 1 ORDER BY Count(FundID) DESC"),
                   data.DB());
    QCOMPARE(busy.RecordCount(), 1);
    QCOMPARE(FieldLong(busy.Field("FundID")), -2025);
    QCOMPARE(FieldLong(busy.Field("CountOfFundID")), 4);

    // A correlated scalar subquery in the select list.
    Recordset envelopes(QStringLiteral("SELECT Contributors.ID AS ContributorID, (SELECT AccountNumber FROM Pledges WHERE "
                                       "Pledges.ContributorID = Contributors.ID AND Pledges.FundID = -2025) AS Env "
                                       "FROM Contributors ORDER BY Contributors.LastName;"),
                        data.DB());
    QCOMPARE(Column(envelopes, "Env"), (QStringList{QString(), "7"}));

    // Fields by name in any case, or qualified; the first column of a name
    // wins (Pledges.ID, not Funds.ID); none past the end.
    const int pledge = data.AddPledge(smith, building, 100, 10001);
    QVERIFY(pledge != building);
    Recordset fwd("SELECT Pledges.*, Funds.* FROM Pledges LEFT JOIN Funds ON Pledges.FundID = Funds.ID WHERE Pledges.FundID > 0",
                  data.DB(), Recordset::Cursor::ForwardOnly);
    QCOMPARE(FieldLong(fwd.Field("ID")), pledge);
    QCOMPARE(FieldText(fwd.Field("Funds.FundName")), "Building Fund");
    QCOMPARE(FieldLong(fwd.Field("accountnumber")), 10001);
    fwd.MoveNext();
    QVERIFY(fwd.Eof());
    QVERIFY_THROWS_EXCEPTION(DbError, fwd.Field("ID"));

    // A table built in memory: fields by name in any case, unset ones Null.
    Recordset table;
    table.AppendField("FundName");
    table.AppendField("Amount");
    table.AddNew();
    table.SetField("amount", 3.0);
    QVERIFY(table.Field("FundName").isNull());
    QCOMPARE(table.Field("AMOUNT").toDouble(), 3.0);
}

void tst_Engine::errorsCarryTheEngineText()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    const QString missing = data.Folder() + "/nowhere/Church.MDB";
    QVERIFY(ErrorOf([&] { Connection c(missing); }).contains("unable to open database file"));
    const QString junk = data.Folder() + "/junk.MDB";
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QVERIFY(ErrorOf([&] { Connection c(junk); }).contains("file is not a database"));

    Connection db = Connection::Create(data.Folder() + "/ok.MDB");
    try {
        db.Execute("SELECT * FROM NoSuchTable");
        QFAIL("no error");
    } catch (const DbError& e) {
        QCOMPARE(e.Message(), "no such table: NoSuchTable");
        QCOMPARE(e.Sql(), "SELECT * FROM NoSuchTable");
    }
    // An existing table or column is no error for DDL, anything else still is.
    db.ExecuteDDL("CREATE TABLE T ([ID] INTEGER NOT NULL PRIMARY KEY, Name TEXT(40) NULL)");
    db.ExecuteDDL("CREATE TABLE T ([ID] INTEGER NOT NULL PRIMARY KEY)");
    db.ExecuteDDL("ALTER TABLE T ADD Flag YESNO NULL;");
    db.ExecuteDDL("ALTER TABLE T ADD Flag YESNO NULL;");
    QVERIFY(!ErrorOf([&] { db.ExecuteDDL("ALTER TABLE Missing ADD Flag YESNO NULL;"); }).isEmpty());
}

void tst_Engine::transactionIsAllOrNothing()
{
    TestDataSet data;
    const QString error = ErrorOf([&] {
        Connection::Transaction tx(data.DB());
        data.AddContributor("Kept?");
        data.DB().Execute("INSERT INTO Nowhere VALUES (1)");
        tx.Commit();
    });
    QVERIFY(error.contains("no such table"));
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Contributors"), 0.0);
    {
        Connection::Transaction tx(data.DB());
        data.AddContributor("Kept");
        tx.Commit();
    }
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Contributors"), 1.0);
}

QV_TEST_MAIN(tst_Engine, QCoreApplication)
#include "tst_engine.moc"

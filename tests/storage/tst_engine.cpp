// The engine wrapper: the SQL the program writes must run unchanged on the
// data file and return the right rows.
#include "shell/Helpers.h"
#include "storage/Connection.h"
#include "storage/DbError.h"
#include "storage/Recordset.h"
#include "storage/modDBConnection.h"
#include "support/TestDataSet.h"

#include <QFile>
#include <QtTest/QTest>

using namespace modDBConnection;
using namespace modGlobal;

class tst_Engine : public QObject {
    Q_OBJECT
private slots:
    void literals();
    void translationLeavesQuotedTextAlone();
    void namesWithApostrophesAreStoredAndFound();
    void dateRangeAcrossYearEnd();
    void textComparesAndSortsWithoutCase();
    void joinsGroupsAndSubqueries();
    void cursorsAndFields();
    void inMemoryTable();
    void errorsCarryTheEngineText();
    void transactionIsAllOrNothing();
};

void tst_Engine::literals()
{
    QCOMPARE(TextLiteral(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    QCOMPARE(DateLiteral(QDate(2024, 1, 7)), QStringLiteral("#2024-01-07#"));
    QCOMPARE(BoolLiteral(true), QStringLiteral("TRUE"));
    QCOMPARE(NumberLiteral(100.004), QStringLiteral("100.004"));
    QCOMPARE(NumberLiteral(-2004), QStringLiteral("-2004"));
    QCOMPARE(NumberLiteral(0.1), QStringLiteral("0.1"));
    QCOMPARE(TypeText(40), QStringLiteral("TEXT(40)"));
    QCOMPARE(DataFileName(QStringLiteral("/books/Church.mdb")), QStringLiteral("/books/Church.MDB"));
    QCOMPARE(DataFileName(QStringLiteral("/books/Church")), QStringLiteral("/books/Church.MDB"));
}

void tst_Engine::translationLeavesQuotedTextAlone()
{
    QCOMPARE(Connection::Translate(QStringLiteral("SELECT * FROM Collection WHERE CollectionDate < #2024-01-07#;")),
             QStringLiteral("SELECT * FROM Collection WHERE CollectionDate < '2024-01-07';"));
    QCOMPARE(Connection::Translate(QStringLiteral("SELECT 'Check #12 and #3' AS t, #12/31/2024# AS d")),
             QStringLiteral("SELECT 'Check #12 and #3' AS t, '2024-12-31' AS d"));
    QCOMPARE(Connection::Translate(QStringLiteral("SELECT 'it''s #1#' AS t")), QStringLiteral("SELECT 'it''s #1#' AS t"));
}

void tst_Engine::namesWithApostrophesAreStoredAndFound()
{
    TestDataSet data;
    const int id = data.AddContributor(QStringLiteral("O'Brien"), QStringLiteral("Seán"));
    data.AddContributor(QStringLiteral("OBrien"), QStringLiteral("Pat"));
    Recordset rs(QStringLiteral("SELECT ID, FirstNames FROM Contributors WHERE LastName = ")
                     + TextLiteral(QStringLiteral("O'Brien")) + QLatin1Char(';'),
                 data.DB());
    QCOMPARE(rs.RecordCount(), 1);
    QCOMPARE(FieldLong(rs.Field(QStringLiteral("ID"))), id);
    QCOMPARE(FieldText(rs.Field(QStringLiteral("FirstNames"))), QStringLiteral("Seán"));
}

void tst_Engine::dateRangeAcrossYearEnd()
{
    TestDataSet data;
    const int dec28 = data.AddCollection(QDate(2024, 12, 28));
    const int dec29 = data.AddCollection(QDate(2024, 12, 29));
    const int jan5 = data.AddCollection(QDate(2025, 1, 5));
    data.AddCollection(QDate(2025, 1, 12));
    data.AddCollection(QDate(2024, 2, 1)); // must not fall inside by text order of M/D/Y
    Recordset rs(QStringLiteral("SELECT * FROM Collection WHERE ((CollectionDate >= ") + DateLiteral(QDate(2024, 12, 28))
                     + QStringLiteral(") AND (CollectionDate <= ") + DateLiteral(QDate(2025, 1, 5))
                     + QStringLiteral(")) ORDER BY CollectionDate DESC;"),
                 data.DB());
    QList<int> ids;
    for (; !rs.Eof(); rs.MoveNext()) {
        ids << FieldLong(rs.Field(QStringLiteral("ID")));
        QVERIFY(FieldDate(rs.Field(QStringLiteral("CollectionDate"))).isValid());
    }
    QCOMPARE(ids, (QList<int>{jan5, dec29, dec28}));
}

void tst_Engine::textComparesAndSortsWithoutCase()
{
    TestDataSet data;
    data.AddContributor(QStringLiteral("smith"), QStringLiteral("ann"));
    data.AddContributor(QStringLiteral("Smith"), QStringLiteral("Bob"));
    data.AddContributor(QStringLiteral("Émile"), QStringLiteral("Zoë"));
    data.AddContributor(QStringLiteral("Adams"), QStringLiteral("Carl"));
    Recordset found(QStringLiteral("SELECT FirstNames FROM Contributors WHERE LastName = 'SMITH';"), data.DB());
    QCOMPARE(found.RecordCount(), 2);
    Recordset accented(QStringLiteral("SELECT FirstNames FROM Contributors WHERE LastName = 'émile';"), data.DB());
    QCOMPARE(accented.RecordCount(), 1);
    Recordset sorted(QStringLiteral("SELECT ID, LastName, FirstNames FROM Contributors ORDER BY LastName, FirstNames;"),
                     data.DB());
    QStringList order;
    for (; !sorted.Eof(); sorted.MoveNext())
        order << FieldText(sorted.Field(QStringLiteral("FirstNames")));
    QCOMPARE(order, (QStringList{QStringLiteral("Carl"), QStringLiteral("ann"), QStringLiteral("Bob"), QStringLiteral("Zoë")}));
}

void tst_Engine::joinsGroupsAndSubqueries()
{
    TestDataSet data;
    const int building = data.AddFund(QStringLiteral("Building Fund"));
    const int smith = data.AddContributor(QStringLiteral("Smith"), QStringLiteral("John"));
    const int jones = data.AddContributor(QStringLiteral("Jones"), QStringLiteral("Mary"));
    data.AddPledge(smith, -2025, 520, 7);
    const int k1 = data.AddCollection(QDate(2025, 1, 5));
    const int k2 = data.AddCollection(QDate(2025, 1, 12));
    data.AddOffering(smith, k1, -2025, 500);
    data.AddOffering(smith, k2, -2025, 50);
    data.AddOffering(smith, k2, building, 25);
    data.AddOffering(jones, k2, -2025, 30);
    data.AddOffering(1, k2, -2025, 12.34); // loose offering: no Contributors row
    data.AddComment(smith, k1, QStringLiteral("Check #1001"));

    // A nested LEFT JOIN with a compound ON condition.
    Recordset history(
        QStringLiteral("SELECT Collection.CollectionDate, Offering.FundID, Funds.FundName, Offering.Amount, ColComment.Comment"
                       " FROM ((Offering LEFT JOIN Collection ON Offering.CollectionID = Collection.ID) LEFT JOIN Funds ON "
                       "Offering.FundID = Funds.ID) LEFT JOIN ColComment ON (Offering.ContributorID = "
                       "ColComment.ContributorID) AND (Offering.CollectionID = ColComment.CollectionID)"
                       " WHERE ((Offering.ContributorID = ")
            + QString::number(smith) + QStringLiteral(") AND (Collection.CollectionDate < ")
            + DateLiteral(QDate(2025, 1, 19)) + QStringLiteral(")) ORDER BY Collection.CollectionDate DESC;"),
        data.DB());
    QCOMPARE(history.RecordCount(), 3);
    history.MoveTo(2);
    QCOMPARE(FieldDate(history.Field(QStringLiteral("CollectionDate"))), QDate(2025, 1, 5));
    QCOMPARE(FieldText(history.Field(QStringLiteral("Comment"))), QStringLiteral("Check #1001"));
    QCOMPARE(FieldText(history.Field(QStringLiteral("FundName"))), QString()); // -2025 has no Funds row

    // GROUP BY over a LEFT JOIN, with the pledge beside the sum.
    Recordset before(QStringLiteral("SELECT Sum(Offering.Amount) AS PrevPaid, Offering.ContributorID, Pledges.Amount as Pledge"
                                    " FROM Offering LEFT JOIN Pledges ON (Offering.ContributorID = Pledges.ContributorID) "
                                    "AND (Offering.FundID = Pledges.FundID)"
                                    " WHERE ((Offering.CollectionID < ")
                         + QString::number(k2) + QStringLiteral(") And (Offering.FundID = -2025))")
                         + QStringLiteral(" GROUP BY Offering.ContributorID, Pledges.Amount;"),
                     data.DB());
    QCOMPARE(before.RecordCount(), 1);
    QCOMPARE(FieldDouble(before.Field(QStringLiteral("PrevPaid"))), 500.0);
    QCOMPARE(FieldDouble(before.Field(QStringLiteral("Pledge"))), 520.0);

    // HAVING, ORDER BY an aggregate DESC.
    Recordset busy(QStringLiteral("SELECT FundID, Count(FundID) AS CountOfFundID FROM Offering GROUP BY FundID "
                                  "HAVING Count(FundID) > 1 ORDER BY Count(FundID) DESC"),
                   data.DB());
    QCOMPARE(busy.RecordCount(), 1);
    QCOMPARE(FieldLong(busy.Field(QStringLiteral("FundID"))), -2025);
    QCOMPARE(FieldLong(busy.Field(QStringLiteral("CountOfFundID"))), 4);

    // A correlated scalar subquery in the select list, and DISTINCT.
    Recordset envelopes(QStringLiteral("SELECT Contributors.ID AS ContributorID, (SELECT AccountNumber FROM Pledges WHERE "
                                       "Pledges.ContributorID = Contributors.ID AND Pledges.FundID = -2025) AS Env "
                                       "FROM Contributors ORDER BY Contributors.LastName;"),
                        data.DB());
    QCOMPARE(envelopes.RecordCount(), 2);
    QCOMPARE(FieldLong(envelopes.Field(QStringLiteral("ContributorID"))), jones);
    QCOMPARE(FieldLong(envelopes.Field(QStringLiteral("Env"))), 0);
    envelopes.MoveNext();
    QCOMPARE(FieldLong(envelopes.Field(QStringLiteral("Env"))), 7);
    Recordset years(QStringLiteral("SELECT DISTINCT FundID FROM Offering WHERE FundID < 0 ORDER BY FundID DESC"), data.DB());
    QCOMPARE(years.RecordCount(), 1);

    // Sum of an empty set is Null and reads as 0.
    Recordset none(QStringLiteral("SELECT Sum(Amount) AS Total FROM Offering WHERE (CollectionID = 999);"), data.DB());
    QCOMPARE(none.RecordCount(), 1);
    QVERIFY(none.Field(QStringLiteral("Total")).isNull());
    QCOMPARE(FieldDouble(none.Field(QStringLiteral("Total"))), 0.0);

    // Boolean literals, [ID] and a table named in capitals.
    Recordset active(QStringLiteral("SELECT [ID] FROM FUNDS WHERE IsInactive = FALSE AND IsPledgeable = TRUE;"), data.DB());
    QCOMPARE(active.RecordCount(), 2);
}

void tst_Engine::cursorsAndFields()
{
    TestDataSet data;
    const int fund = data.AddFund(QStringLiteral("Missions"));
    const int c = data.AddContributor(QStringLiteral("Smith"));
    data.AddContributor(QStringLiteral("Jones")); // keeps pledge and fund keys apart
    data.AddPledge(c, -2025, 0);
    const int pledge = data.AddPledge(c, fund, 100, 10001);
    QVERIFY(pledge != fund);
    Recordset fwd(QStringLiteral("SELECT Pledges.*, Funds.FundName FROM Pledges LEFT JOIN Funds ON Pledges.FundID = Funds.ID WHERE Pledges.FundID > 0"),
                  data.DB(), Recordset::Cursor::ForwardOnly);
    QCOMPARE(fwd.RecordCount(), -1);
    QVERIFY(!fwd.Eof());
    // The first column of a name wins: Pledges.ID, not Funds.ID.
    QCOMPARE(FieldLong(fwd.Field(QStringLiteral("ID"))), pledge);
    QCOMPARE(FieldText(fwd.Field(QStringLiteral("Funds.FundName"))), QStringLiteral("Missions"));
    QCOMPARE(FieldLong(fwd.Field(QStringLiteral("accountnumber"))), 10001);
    fwd.MoveNext();
    QVERIFY(fwd.Eof());
    QVERIFY_THROWS_EXCEPTION(DbError, fwd.Field(QStringLiteral("ID")));

    Recordset rs(QStringLiteral("SELECT ID FROM Funds ORDER BY ID"), data.DB());
    QCOMPARE(rs.RecordCount(), 2);
    rs.MoveNext();
    rs.MoveNext();
    QVERIFY(rs.Eof());
    rs.MoveFirst();
    QCOMPARE(FieldLong(rs.Field(0)), 1);
    QVERIFY_THROWS_EXCEPTION(DbError, rs.Field(QStringLiteral("NoSuchColumn")));
}

void tst_Engine::inMemoryTable()
{
    Recordset table;
    table.AppendField(QStringLiteral("FundName"));
    table.AppendField(QStringLiteral("Amount"));
    table.AddNew();
    table.SetField(QStringLiteral("FundName"), QStringLiteral("Missions"));
    table.SetField(QStringLiteral("Amount"), 12.5);
    table.AddNew();
    table.SetField(QStringLiteral("amount"), 3.0);
    QCOMPARE(table.RecordCount(), 2);
    table.MoveFirst();
    QCOMPARE(table.Field(QStringLiteral("FundName")).toString(), QStringLiteral("Missions"));
    table.MoveNext();
    QVERIFY(table.Field(QStringLiteral("FundName")).isNull());
    QCOMPARE(table.Field(QStringLiteral("Amount")).toDouble(), 3.0);
}

void tst_Engine::errorsCarryTheEngineText()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    const QString missing = data.Folder() + QStringLiteral("/nowhere/Church.MDB");
    try {
        Connection c(missing);
        QFAIL("a missing file opened");
    } catch (const DbError& e) {
        QVERIFY2(e.Message().contains(QStringLiteral("unable to open database file")), qPrintable(e.Message()));
    }
    const QString junk = data.Folder() + QStringLiteral("/junk.MDB");
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    try {
        Connection c(junk);
        QFAIL("a file that is not a database opened");
    } catch (const DbError& e) {
        QVERIFY2(e.Message().contains(QStringLiteral("file is not a database")), qPrintable(e.Message()));
    }

    Connection db = Connection::Create(data.Folder() + QStringLiteral("/ok.MDB"));
    try {
        db.Execute(QStringLiteral("SELECT * FROM NoSuchTable"));
        QFAIL("no error");
    } catch (const DbError& e) {
        QCOMPARE(e.Message(), QStringLiteral("no such table: NoSuchTable"));
        QCOMPARE(e.Sql(), QStringLiteral("SELECT * FROM NoSuchTable"));
    }
    // An existing table is no error for DDL, anything else still is.
    db.ExecuteDDL(QStringLiteral("CREATE TABLE T ([ID] INTEGER NOT NULL PRIMARY KEY, Name TEXT(40) NULL)"));
    db.ExecuteDDL(QStringLiteral("CREATE TABLE T ([ID] INTEGER NOT NULL PRIMARY KEY)"));
    db.ExecuteDDL(QStringLiteral("ALTER TABLE T ADD Flag YESNO NULL;"));
    db.ExecuteDDL(QStringLiteral("ALTER TABLE T ADD Flag YESNO NULL;"));
    QVERIFY_THROWS_EXCEPTION(DbError, db.ExecuteDDL(QStringLiteral("ALTER TABLE Missing ADD Flag YESNO NULL;")));
}

void tst_Engine::transactionIsAllOrNothing()
{
    TestDataSet data;
    try {
        Connection::Transaction tx(data.DB());
        data.AddContributor(QStringLiteral("Kept?"));
        data.DB().Execute(QStringLiteral("INSERT INTO Nowhere VALUES (1)"));
        tx.Commit();
        QFAIL("no error");
    } catch (const DbError&) {
    }
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Contributors")), 0.0);
    {
        Connection::Transaction tx(data.DB());
        data.AddContributor(QStringLiteral("Kept"));
        tx.Commit();
    }
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Contributors")), 1.0);
}

QV_TEST_MAIN(tst_Engine)
#include "tst_engine.moc"

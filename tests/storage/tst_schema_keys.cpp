// Making tables ready, the default rows, the Church upgrade, and keys.
#include "support/CoreTest.h"
#include "core/clsDBEvent.h"
#include "storage/modStartup.h"
#include "core/DbError.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"
#include "storage/modDBKeys.h"

using namespace modGlobal;
using modDBKeys::NextKey;

namespace {
QStringList Tables(TestDataSet& data)
{
    Recordset rs(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"), data.DB());
    QStringList names;
    for (; !rs.Eof(); rs.MoveNext())
        names << rs.Field(0).toString();
    return names;
}
} // namespace

class tst_SchemaKeys : public QObject {
    Q_OBJECT
private slots:
    void emptyFileGetsEveryTableAndDefaultRow();
    void secondStartCreatesAndInsertsNothing();
    void oldChurchTableGainsAssignEnv();
    void keysOnAFreshFile();
    void keysSkipRowsWrittenByOtherMeans();
    void keyIsFree();
};

void tst_SchemaKeys::emptyFileGetsEveryTableAndDefaultRow()
{
    TestDataSet data(TestDataSet::Start::EmptyFileOnly);
    QVERIFY(Tables(data).isEmpty());
    modStartup::MakeTablesReady();
    // The books' tables, and beside them our own: the counted plate's,
    // those of statements by e-mail and of online gifts.
    QCOMPARE(Tables(data), (QStringList{"Church", "ChurchBank", "ColComment", "Collection", "CollectionChecks",
                                        "CollectionCount", "ContributorEmail", "Contributors", "Funds", "Offering",
                                        "OnlineGiftFund", "OnlineGiftImported", "OnlineGiftMapping", "Pledges",
                                        "StatementEmailLog"}));
    NextKey(QStringLiteral("Funds"));
    QCOMPARE(Tables(data).size(), 16);
    QVERIFY(Tables(data).contains(QStringLiteral("KeyGen")));

    clsChurch church;
    church.Get_One_Record(QString());
    QCOMPARE(church.ID(), 1);
    QCOMPARE(church.ChurchName(), QString());
    QCOMPARE(church.IRSStatement(),
             QStringLiteral("No goods or services were provided to donor other than intangible religious benefits."));
    QCOMPARE(church.Password(), QStringLiteral("Brv9kQ2e"));
    QVERIFY(church.AssignEnv());
    QVERIFY(!church.UseCurrentDate());
    QCOMPARE(church.DayOfWeek(), short(0));
    QVERIFY(AssignEnvelopes);

    clsFunds main;
    main.Get_One_Record(QStringLiteral("ID = 1"));
    QCOMPARE(main.FundName(), QStringLiteral("Operating Fund"));
    QVERIFY(main.IsPledgeable());
    QVERIFY(main.IsTaxDeductible());
    QVERIFY(!main.IsInactive());

    QCOMPARE(data.Notices(), (QList<Notice>{{dbChurch, true, false, false, 1, 0}, {dbFunds, true, false, false, 1, 0}}));
}

void tst_SchemaKeys::secondStartCreatesAndInsertsNothing()
{
    TestDataSet data;
    const int church = data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Church"));
    const int funds = data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Funds"));
    const int objects = data.Scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"));
    ResetTableReady(); // as a new run on the same file
    modStartup::MakeTablesReady();
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Church")), double(church));
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Funds")), double(funds));
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")), double(objects));
    QVERIFY(data.Notices().isEmpty());
    // KeyGen waits for the first key; every other table is ready now.
    for (int t = 0; t < TableCount; ++t)
        QCOMPARE(TableReady[t], t != tiKeyGen);
}

void tst_SchemaKeys::oldChurchTableGainsAssignEnv()
{
    TestDataSet data(TestDataSet::Start::EmptyFileOnly);
    data.DB().Execute(QStringLiteral(
        "CREATE TABLE Church ([ID] INTEGER NOT NULL PRIMARY KEY, ChurchName TEXT(40) NULL, Address1 TEXT(40) NULL, "
        "Address2 TEXT(40) NULL, City TEXT(30) NULL, State TEXT(2) NULL, ZipCode TEXT(10) NULL, Phone TEXT(40) NULL, "
        "UseCurrentDate YESNO NULL, DayOfWeek SMALLINT NULL, DefaultFund2 INTEGER NULL, DefaultFund3 INTEGER NULL, "
        "IRSStatement TEXT(200) NULL, Password TEXT(40) NULL)"));
    data.DB().Execute(QStringLiteral("INSERT INTO Church (ID, ChurchName, Password, DayOfWeek) VALUES (1, 'St. Anne''s', '', 0)"));
    clsChurch church;
    church.Get_One_Record(QString());
    QCOMPARE(church.ChurchName(), QStringLiteral("St. Anne's"));
    QVERIFY(!church.AssignEnv());
    QVERIFY(!AssignEnvelopes);
    QVERIFY(data.Notices().isEmpty()); // the existing row is kept, nothing inserted
    Recordset rs(QStringLiteral("SELECT AssignEnv FROM Church WHERE ID = 1"), data.DB());
    QVERIFY(rs.Field(0).isNull());
    // A contributor made now starts without envelopes, as the church says.
    clsContributors c;
    c.Get_One_Record(QStringLiteral("ID = 0"));
    QVERIFY(!c.UseEnvelopes());
}

void tst_SchemaKeys::keysOnAFreshFile()
{
    TestDataSet data;
    // Each table counts on its own; only collection sets start at 1, even
    // where a table is still empty.
    QCOMPARE(NextKey(QStringLiteral("Collection")), 1);
    QCOMPARE(NextKey(QStringLiteral("Offering")), 2);
    QCOMPARE(NextKey(QStringLiteral("Collection")), 2);
    QCOMPARE(NextKey(QStringLiteral("ColComment")), 2);
    QCOMPARE(NextKey(QStringLiteral("Funds")), 2);
    QCOMPARE(NextKey(QStringLiteral("Funds")), 3);
    QCOMPARE(NextKey(QStringLiteral("Contributors")), 2);
    // A key is never handed back, even when its row was never written.
    QCOMPARE(NextKey(QStringLiteral("Contributors")), 3);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT LastKey FROM KeyGen WHERE TableName = 'Funds'")), 3.0);
}

void tst_SchemaKeys::keysSkipRowsWrittenByOtherMeans()
{
    TestDataSet data;
    NextKey(QStringLiteral("Pledges"));
    data.DB().Execute(QStringLiteral("UPDATE KeyGen SET LastKey = 5 WHERE TableName = 'Pledges'"));
    data.DB().Execute(QStringLiteral("INSERT INTO Pledges (ID, ContributorID, FundID, Amount) VALUES (6, 2, -2025, 10)"));
    data.DB().Execute(QStringLiteral("INSERT INTO Pledges (ID, ContributorID, FundID, Amount) VALUES (7, 2, 3, 10)"));
    QCOMPARE(NextKey(QStringLiteral("Pledges")), 8);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT LastKey FROM KeyGen WHERE TableName = 'Pledges'")), 8.0);
    // The record class uses the key it was given.
    clsPledges p;
    p.ContributorID(2);
    p.FundID(-2025);
    p.Save_to_DB();
    QCOMPARE(p.ID(), 9);
}

void tst_SchemaKeys::keyIsFree()
{
    TestDataSet data;
    const int id = data.AddContributor(QStringLiteral("Smith"));
    QVERIFY(!modDBKeys::KeyIsFree(id, QStringLiteral("Contributors")));
    QVERIFY(modDBKeys::KeyIsFree(id + 1, QStringLiteral("Contributors")));
    QVERIFY_THROWS_EXCEPTION(DbError, modDBKeys::KeyIsFree(1, QStringLiteral("NoSuchTable")));
}

QV_TEST_MAIN(tst_SchemaKeys, QCoreApplication)
#include "tst_schema_keys.moc"

// The counted plate: its arithmetic in cents, its tables in an older file,
// saves that are whole or nothing, and the count going with its set.
#include "faults/FaultInjection.h"
#include "offering/PlateCount.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/Schema.h"
#include "storage/clsCollection.h"
#include "support/TestDataSet.h"

#include <QtTest/QTest>

using namespace PlateCount;

class tst_PlateCount : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typedAmountsInCents_data();
    void typedAmountsInCents();
    void countedAgainstEntered_data();
    void countedAgainstEntered();
    void savedWholeAndReadBack();
    void aLockedFileKeepsTheCountBefore();
    void anOlderFileGetsTheTablesOnOpen();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_set = 0;
};

void tst_PlateCount::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_set = m_data->AddCollection(QDate(2025, 6, 15));
}

void tst_PlateCount::cleanup()
{
    m_data.reset();
}

void tst_PlateCount::typedAmountsInCents_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("program's form") << "$1,234.50" << true << qint64(123450);
    QTest::newRow("parentheses") << "($5.00)" << true << qint64(-500);
    QTest::newRow("minus, no whole part") << "-.05" << true << qint64(-5);
    // 0.29 and 1.15 have no exact binary form: read as text they stay whole cents.
    QTest::newRow("no binary fraction") << "0.29" << true << qint64(29);
    QTest::newRow("half a cent up") << "1.155" << true << qint64(116);
    QTest::newRow("below half a cent") << "1.154" << true << qint64(115);
    QTest::newRow("largest") << "999,999,999.99" << true << qint64(99999999999);
    QTest::newRow("exponent") << "1e5" << false << qint64(0);
    QTest::newRow("letter O for zero") << "1O0" << false << qint64(0);
}

void tst_PlateCount::typedAmountsInCents()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(qint64, cents);
    qint64 read = 0;
    QCOMPARE(Parse_Cents(typed, &read), ok);
    if (ok) {
        QCOMPARE(read, cents);
        // Shown and read again, an amount is the same amount.
        qint64 again = 0;
        QVERIFY(Parse_Cents(Format_Cents(read), &again));
        QCOMPARE(again, cents);
    }
}

void tst_PlateCount::countedAgainstEntered_data()
{
    QTest::addColumn<QList<qint64>>("bills");    // $100 .. $1
    QTest::addColumn<QList<qint64>>("coins");    // dollar coins .. pennies
    QTest::addColumn<qint64>("rolled");
    QTest::addColumn<QList<qint64>>("checks");
    QTest::addColumn<QList<double>>("gifts");    // entered in the set
    QTest::addColumn<QString>("expected");       // "cash checks total difference"
    QTest::newRow("every denomination once")
        << QList<qint64>{1, 1, 1, 1, 1, 1, 1} << QList<qint64>{1, 1, 1, 1, 1} << qint64(0) << QList<qint64>{}
        << QList<double>{189.41} << "18941 0 18941 0";
    QTest::newRow("rolled coin beside loose coin")
        << QList<qint64>{0, 0, 0, 0, 0, 0, 0} << QList<qint64>{0, 3, 0, 0, 7} << qint64(1000) << QList<qint64>{}
        << QList<double>{10.80} << "1082 0 1082 2";
    // Ten gifts of 0.10 add up to 0.9999999999999999 in binary fractions.
    QTest::newRow("ten dimes entered one by one")
        << QList<qint64>{0, 0, 0, 0, 0, 0, 0} << QList<qint64>{0, 0, 10, 0, 0} << qint64(0) << QList<qint64>{}
        << QList<double>{0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1} << "100 0 100 0";
    QTest::newRow("a correction entered, a check returned")
        << QList<qint64>{0, 0, 2, 0, 0, 0, 0} << QList<qint64>{0, 0, 0, 0, 0} << qint64(0)
        << QList<qint64>{5000, 2575, -2575} << QList<double>{50, 45, -5} << "4000 5000 9000 0";
    QTest::newRow("short by a mistyped envelope")
        << QList<qint64>{0, 0, 0, 1, 0, 0, 0} << QList<qint64>{0, 0, 0, 0, 0} << qint64(0) << QList<qint64>{2500}
        << QList<double>{10, 52} << "1000 2500 3500 -2700";
}

void tst_PlateCount::countedAgainstEntered()
{
    QFETCH(QList<qint64>, bills);
    QFETCH(QList<qint64>, coins);
    QFETCH(qint64, rolled);
    QFETCH(QList<qint64>, checks);
    QFETCH(QList<double>, gifts);
    QFETCH(QString, expected);
    const int giver = m_data->AddContributor("Giver");
    for (double g : gifts)
        m_data->AddOffering(giver, m_set, -2025, g);
    Count c;
    std::copy(bills.begin(), bills.end(), c.bills.begin());
    std::copy(coins.begin(), coins.end(), c.coins.begin());
    c.rolledCents = rolled;
    for (qint64 cents : checks)
        c.checks.append({QStringLiteral("100"), cents, 0});
    const qint64 entered = Entered_Cents(m_set);
    QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(c.CashCents()).arg(c.CheckCents()).arg(c.TotalCents()).arg(Difference(c, entered)),
             expected);
    // Done asks about a difference, and only until that difference is kept.
    QCOMPARE(Must_Ask(c, entered), Difference(c, entered) != 0);
    c.keptDifference = true;
    c.keptCents = Difference(c, entered);
    QVERIFY(!Must_Ask(c, entered));
    // Another difference than the one kept is asked about again.
    c.keptCents += 1;
    QCOMPARE(Must_Ask(c, entered), Difference(c, entered) != 0);
}

namespace {
Count Sample()
{
    Count c;
    c.bills = {2, 0, 5, 0, 3, 1, 4};
    c.coins = {1, 6, 0, 2, 9};
    c.rolledCents = 1000;
    c.checks = {{"1041", 5000, 0}, {"", 0, 0}, {"7", 12345, 0}};
    c.counter1 = "Ruth Ames";
    c.counter2 = "Bo Lind";
    c.countedAt = QDateTime(QDate(2025, 6, 15), QTime(12, 30));
    return c;
}

// What the count holds, as one comparable line.
QString Text(const Count& c)
{
    QStringList checks;
    for (const CheckLine& l : c.checks)
        checks << l.number + "=" + QString::number(l.cents);
    return QStringLiteral("%1 %2 %3 [%4] %5/%6 %7 kept:%8")
        .arg(c.CurrencyCents())
        .arg(c.CoinCents())
        .arg(c.CheckCount())
        .arg(checks.join(','), c.counter1, c.counter2, c.countedAt.toString(Qt::ISODate))
        .arg(c.keptDifference ? QString::number(c.keptCents) : QStringLiteral("-"));
}
} // namespace

void tst_PlateCount::savedWholeAndReadBack()
{
    QVERIFY(Load(m_set).IsEmpty());
    Count c = Sample();
    Save(m_set, c);
    // The blank check line is not stored.
    QCOMPARE(Text(Load(m_set)), "32100 1269 2 [1041=5000,7=12345] Ruth Ames/Bo Lind 2025-06-15T12:30:00 kept:-");
    // Saved again with one check less and a kept difference: replaced, not added to.
    c.checks.removeLast();
    c.keptDifference = true;
    c.keptCents = -300;
    Save(m_set, c);
    QCOMPARE(Text(Load(m_set)), "32100 1269 1 [1041=5000] Ruth Ames/Bo Lind 2025-06-15T12:30:00 kept:-300");
    // Another set's count is its own.
    const int other = m_data->AddCollection(QDate(2025, 6, 22));
    Save(other, Sample());
    // Deleting a set takes its count along, and only its count.
    clsCollection set;
    set.Get_One_Record(QStringLiteral("ID = %1").arg(m_set));
    set.Delete_Record_from_DB();
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM CollectionCount WHERE CollectionID = %1").arg(m_set)), 0.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM CollectionChecks WHERE CollectionID = %1").arg(m_set)), 0.0);
    QCOMPARE(Load(other).CheckCount(), 2);
    Save_Bank_Line("  First Bank, account 0012-3456  ");
    QCOMPARE(Bank_Line(), "First Bank, account 0012-3456");
}

void tst_PlateCount::aLockedFileKeepsTheCountBefore()
{
    Save(m_set, Sample());
    Count changed = Sample();
    changed.checks.append({"1099", 99, 0});
    changed.bills = {};
    {
        FaultInjection::ExclusiveLock lock(m_data->DataFile());
        QVERIFY_THROWS_EXCEPTION(DbError, Save(m_set, changed));
    }
    {
        // The checks go in after the count row: refused there, the count row
        // is not left changed either.
        FaultInjection::RefuseWrites refuse("CollectionChecks");
        QVERIFY_THROWS_EXCEPTION(DbError, Save(m_set, changed));
    }
    QCOMPARE(Text(Load(m_set)), Text([] {
                 Count c = Sample();
                 c.checks.removeAt(1);
                 return c;
             }()));
}

void tst_PlateCount::anOlderFileGetsTheTablesOnOpen()
{
    // A file with only the books' eight tables, as an older program left it.
    const QString older = m_data->Folder() + "/OLDER.MDB";
    {
        Connection c = Connection::Create(older);
        for (int t = 0; t < modGlobal::TableCount; ++t)
            if (t != modGlobal::tiKeyGen)
                c.Execute(Schema::CreateTableSql(modGlobal::TableIndex(t)));
        c.Execute(Schema::CreateTableSql(modGlobal::tiKeyGen));
        c.Execute("INSERT INTO Collection (ID, CollectionDate, Notation) VALUES (1, '2025-06-15', '');");
    }
    modGlobal::CloseDB();
    modGlobal::ResetTableReady();
    modGlobal::SetDB(std::make_unique<Connection>(older));
    modStartup::MakeTablesReady();
    for (const char* table : {"CollectionCount", "CollectionChecks", "ChurchBank"})
        QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = '%1'").arg(table)), 1.0);
    Save(1, Sample());
    QCOMPARE(Load(1).TotalCents(), Sample().TotalCents());
}

QV_TEST_MAIN(tst_PlateCount, QCoreApplication)
#include "tst_plate_count.moc"

#include "GiftFiles.h"
#include "faults/FaultInjection.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "storage/ContributorEmail.h"
#include "core/DbError.h"
#include "support/TestDataSet.h"

#include <QtTest>

using namespace GiftImport;

class TestGiftImport : public QObject {
    Q_OBJECT
private slots:
    void amounts_data();
    void amounts();
    void dates_data();
    void dates();
    void file_forms_data();
    void file_forms();
    void mapping_kept_by_header_and_name();
    void donors_matched();
    void twice_adds_nothing_and_refund_is_a_correction();
    void unknown_fund_stops_until_mapped();
    void full_disk_leaves_nothing();
};

void TestGiftImport::amounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("grouped") << "1,234.50" << false << true << qint64(123450);
    QTest::newRow("dollar") << "$25.00" << false << true << qint64(2500);
    QTest::newRow("parentheses") << "($25.00)" << false << true << qint64(-2500);
    QTest::newRow("minus after sign") << "$-0.07" << false << true << qint64(-7);
    QTest::newRow("whole") << "40" << false << true << qint64(4000);
    // Where a trip through double would lose a cent.
    QTest::newRow("no double") << "1.15" << false << true << qint64(115);
    QTest::newRow("big") << "12,345,678.29" << false << true << qint64(1234567829);
    QTest::newRow("decimal comma") << "1.234,50" << true << true << qint64(123450);
    QTest::newRow("comma cents") << "25,5" << true << true << qint64(2550);
    QTest::newRow("trailing zeros") << "5.000" << false << true << qint64(500);
    QTest::newRow("fraction of a cent") << "5.005" << false << false << qint64(0);
    QTest::newRow("bad group") << "12,34.00" << false << false << qint64(0);
    QTest::newRow("two signs") << "(-5)" << false << false << qint64(0);
    QTest::newRow("sign only") << "$" << false << false << qint64(0);
    QTest::newRow("too long") << "99999999999999.00" << false << false << qint64(0);
}

void TestGiftImport::amounts()
{
    QFETCH(QString, text);
    QFETCH(bool, decimalComma);
    QFETCH(bool, ok);
    QFETCH(qint64, cents);
    qint64 read = -1;
    QCOMPARE(GiftCsv::ReadCents(text, &read, decimalComma), ok);
    if (ok)
        QCOMPARE(read, cents);
}

void TestGiftImport::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("iso") << "2025-06-08" << QDate(2025, 6, 8);
    QTest::newRow("iso with time") << "2025-06-08T23:59:59-05:00" << QDate(2025, 6, 8);
    QTest::newRow("us") << "6/8/2025" << QDate(2025, 6, 8);
    QTest::newRow("us with time") << "06/08/2025 10:15 AM" << QDate(2025, 6, 8);
    QTest::newRow("day first when it must be") << "25/12/2025" << QDate(2025, 12, 25);
    QTest::newRow("two-digit year") << "6/8/25" << QDate(2025, 6, 8);
    QTest::newRow("dots") << "8.6.2025" << QDate(2025, 6, 8);
    QTest::newRow("no such day") << "2/30/2025" << QDate();
    QTest::newRow("words") << "June 8" << QDate();
}

void TestGiftImport::dates()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(GiftCsv::ReadDate(text), date);
}

void TestGiftImport::file_forms_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("name"); // the second field of the last row
    QTest::addColumn<QString>("amount");
    QTest::newRow("utf-8 with bom, crlf") << QByteArray("\xEF\xBB\xBF" "Date,Name,Amount\r\n2025-06-01,Ren\xC3\xA9" "e,5\r\n")
                                          << 1 << QString::fromUtf8("Renée") << "5";
    QTest::newRow("windows-1252") << QByteArray("Date,Name,Amount\n2025-06-01,Ren\xE9" "e O\x92" "Brien,5\n") << 1
                                  << QString::fromUtf8("Renée O’Brien") << "5";
    QTest::newRow("semicolons") << QByteArray("Date;Name;Amount\n2025-06-01;Smith, John;25,00\n\n") << 1
                                << "Smith, John" << "25,00";
    QTest::newRow("quotes") << QByteArray("Date,Name,Amount\n1/2/2025,\"Smith, \"\"Jack\"\"\nJohn\",\"1,000.00\"\n"
                                          "1/3/2025,Lee,7")
                            << 2 << "Lee" << "7";
    QTest::newRow("quoted line break kept") << QByteArray("Date,Name,Amount\r\n1/2/2025,\"A\r\nB\",3\r\n") << 1
                                            << "A\r\nB" << "3";
}

void TestGiftImport::file_forms()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(QString, name);
    QFETCH(QString, amount);
    const GiftCsv::Table t = GiftCsv::Read(bytes);
    QCOMPARE(t.header, (QStringList{"Date", "Name", "Amount"}));
    QCOMPARE(t.rows.size(), rows);
    QCOMPARE(t.rows.last().value(1), name);
    QCOMPARE(t.rows.last().value(2), amount);
    if (QTest::currentDataTag() == QLatin1String("quotes")) {
        QCOMPARE(t.rows.first().value(1), QStringLiteral("Smith, \"Jack\"\nJohn"));
        QCOMPARE(t.lines, (QList<int>{2, 4})); // the row after a quoted line break starts on line 4
    }
}

void TestGiftImport::mapping_kept_by_header_and_name()
{
    TestDataSet data;
    const QStringList header = {"When", "Who", "Paid", "Purpose", "Ref"};
    Mapping m;
    QCOMPARE(Mapping_Problem(m), QStringLiteral("Please choose the column of the field \"Date of the gift\"."));
    m.name = QStringLiteral("GiveNow");
    m.column[fDate] = 0;
    m.column[fName] = 1;
    m.column[fAmount] = 2;
    m.column[fFund] = 2;
    QVERIFY(Mapping_Problem(m).contains("cannot both use one column"));
    m.column[fFund] = 3;
    m.column[fTransaction] = 4;
    QCOMPARE(Mapping_Problem(m), QString());
    Keep_Mapping(header, m);

    Mapping kept;
    QVERIFY(Kept_Mapping({"when", "WHO", "Paid", "Purpose", "Ref"}, &kept)); // headings aside from case
    QCOMPARE(kept.name, QStringLiteral("GiveNow"));
    QCOMPARE(kept.column, m.column);
    QVERIFY(!Kept_Mapping({"When", "Who", "Paid"}, &kept));
    // By name, the columns follow their headings into another order.
    QVERIFY(Named_Mapping("givenow", {"Ref", "Purpose", "Paid", "Who", "When", "Extra"}, &kept, nullptr));
    QCOMPARE(kept.column[fDate], 4);
    QCOMPARE(kept.column[fTransaction], 0);
    QString problem;
    QVERIFY(!Named_Mapping("GiveNow", {"When", "Who", "Paid"}, &kept, &problem));
    QCOMPARE(problem, QStringLiteral("The file has no column \"Purpose\"."));
}

void TestGiftImport::donors_matched()
{
    TestDataSet data;
    data.AddFund("Building");
    const int smith = data.AddContributor("Smith", "John");
    const int maryann = data.AddContributor("Jones", "Maryann");
    const int lee = data.AddContributor("Lee", "Ann");
    data.AddContributor("Brown", "Al");
    data.AddContributor("Brown", "Al");
    const QByteArray rows = GiftFiles::kHeader
        + "2025-06-01,\"smith, john\",,5,,Building,A1,\n"    // by name, case aside
          "2025-06-01,Mary Jones,,5,,Building,A2,\n"         // similar: Maryann
          "2025-06-01,Ann Other,ann@x.org,5,,Building,A3,\n" // by e-mail, another name
          "2025-06-01,Al Brown,,5,,Building,A4,\n"           // two of that name
          "2025-06-01,Zed Nobody,,5,,Building,A5,\n";
    // Without the address on file the address is no help.
    Plan plan = GiftFiles::Prepare(rows);
    QCOMPARE(plan.donors.at(2).how, How::Unknown);

    ContributorEmail::Entry address;
    address.email = QStringLiteral("Ann@X.org");
    address.delivery = ContributorEmail::Delivery::Email;
    ContributorEmail::Save(lee, address);
    plan = GiftFiles::Prepare(rows);
    QCOMPARE(plan.donors.size(), 5);
    QCOMPARE(plan.donors.at(0).how, How::Name);
    QCOMPARE(plan.donors.at(0).contributorID, smith);
    QCOMPARE(plan.donors.at(1).how, How::Candidates);
    QCOMPARE(plan.donors.at(1).candidates.value(0).first, maryann);
    QCOMPARE(plan.donors.at(2).how, How::Email);
    QCOMPARE(plan.donors.at(2).contributorID, lee);
    QCOMPARE(plan.donors.at(3).how, How::Candidates);
    QCOMPARE(plan.donors.at(3).candidates.size(), 2);
    QCOMPARE(plan.donors.at(4).how, How::Unknown);
    QCOMPARE(Open_Questions(plan).size(), 2);
}

void TestGiftImport::twice_adds_nothing_and_refund_is_a_correction()
{
    TestDataSet data;
    const int building = data.AddFund("Building");
    const int smith = data.AddContributor("Smith", "John");
    const QByteArray file = GiftFiles::kHeader
        + "2025-06-01,John Smith,,\"1,234.56\",$3.10,Building,T1,6/3/2025\n"
          "2025-06-02,John Smith,,$0.29,0.01,General,T2,6/3/2025\n"
          "2025-06-02,John Smith,,0.29,0.01,General,T2,6/3/2025\n" // twice in the file
          "2025-06-05,John Smith,,(1.15),,Building,T3,2025-06-10\n"
          "2025-06-06,John Smith,,1.15,,Building,,2025-06-10\n"     // no transaction ID
          "2025-06-06,Someone,,oops,,Building,T5,2025-06-10\n";
    Plan plan = GiftFiles::Prepare(file);
    QCOMPARE(plan.refused.size(), 1);
    QCOMPARE(plan.refused.first().line, 7);
    Map_Designation(plan, 1, 0); // General: the main fund of the gift's year
    const Summary s = Write(plan);
    QCOMPARE(s.stopped, QStringList());
    QCOMPARE(s.gifts, 4);
    QCOMPARE(s.refunds, 1);
    QCOMPARE(s.feeCents, qint64(310 + 1));
    QCOMPARE(s.skipped, QStringList{"Line 4: transaction T2 was imported before"});
    QCOMPARE(s.collectionIDs.size(), 2);

    // Each set holds what the file gives for its deposit date, to the cent.
    auto sum = [&](const QString& date) {
        return qRound64(data.Scalar("SELECT SUM(Amount) * 100 FROM Offering o JOIN Collection c ON o.CollectionID = c.ID "
                                    "WHERE c.CollectionDate = '" + date + "' AND c.Notation = 'Online gifts gifts.csv'"));
    };
    QCOMPARE(sum("2025-06-03"), qint64(123456 + 29));
    QCOMPARE(sum("2025-06-10"), qint64(-115 + 115));
    // The refund takes the money back from the same contributor and fund.
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering WHERE Amount = -1.15 AND ContributorID = %1 "
                                        "AND FundID = %2").arg(smith).arg(building)),
             1.0);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering WHERE FundID = -2025")), 1.0);

    const double offerings = data.Scalar("SELECT COUNT(*) FROM Offering");
    const double sets = data.Scalar("SELECT COUNT(*) FROM Collection");
    Plan again = GiftFiles::Prepare(file, "renamed.csv");
    QVERIFY(Open_Questions(again).isEmpty()); // the designation's fund was kept
    QCOMPARE(Totals_Per_Date(again).size(), 0);
    const Summary second = Write(again);
    QCOMPARE(second.gifts, 0);
    QCOMPARE(second.skipped.size(), 5);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Offering"), offerings);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Collection"), sets);
}

void TestGiftImport::unknown_fund_stops_until_mapped()
{
    TestDataSet data;
    const int roof = data.AddFund("Roof Repair");
    data.AddContributor("Smith", "John");
    const QByteArray file = GiftFiles::kHeader + "2025-06-01,John Smith,,10,,Roof,T1,\n"
                                                 "2025-06-01,John Smith,,20,,Missions,T2,\n";
    Plan plan = GiftFiles::Prepare(file);
    Map_Designation(plan, 0, roof);
    QCOMPARE(Open_Questions(plan), QStringList{"No fund is chosen for the designation \"Missions\"."});
    QCOMPARE(Totals_Per_Fund(plan).size(), 1); // only what has a fund is totalled per fund
    QCOMPARE(Totals_Per_Date(plan).value(0).cents, qint64(3000));
    QCOMPARE(Write(plan).stopped.size(), 1);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Offering"), 0.0);
    Map_Designation(plan, 1, roof);
    QCOMPARE(Write(plan).gifts, 2);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT SUM(Amount) FROM Offering WHERE FundID = %1").arg(roof)), 30.0);
}

void TestGiftImport::full_disk_leaves_nothing()
{
    TestDataSet data;
    data.AddFund("Building");
    QByteArray file = GiftFiles::kHeader;
    for (int i = 0; i < 400; ++i)
        file += QStringLiteral("2025-06-%1,Donor%2 Family,,12.34,,Building,TX-%2,\n")
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                    .arg(i)
                    .toUtf8();
    Plan plan = GiftFiles::Prepare(file);
    for (int d = 0; d < plan.donors.size(); ++d)
        Choose_Contributor(plan, d, 0);
    const double contributors = data.Scalar("SELECT COUNT(*) FROM Contributors");
    {
        FaultInjection::DiskFull full;
        QVERIFY_THROWS_EXCEPTION(DbError, Write(plan));
    }
    for (const char* table : {"Offering", "Collection", "OnlineGiftImported", "OnlineGiftFund"})
        QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 0.0);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Contributors"), contributors);
    QCOMPARE(Write(plan).gifts, 400); // room again: the same plan goes in whole
}

QV_TEST_MAIN(TestGiftImport, QCoreApplication)
#include "tst_gift_import.moc"

// The formatting and reading helpers every window relies on.
#include "shell/Helpers.h"
#include "storage/clsFunds.h"
#include "support/TestDataSet.h"

#include <QtTest/QTest>

using namespace modGlobal;

class tst_Helpers : public QObject {
    Q_OBJECT
private slots:
    void amountText_data();
    void amountText();
    void amountTextBeepsOnlyForNonBlankNonsense();
    void normalisingTwiceChangesNothing();
    void wholeNumberText();
    void roundingToCents();
    void zeroTestAndBlankIfZero();
    void fieldReadersTurnNullAndNonsenseIntoDefaults();
    void namesAndAddresses();
    void envelopeSortKeyOrdersNumbersThenNames();
    void headingWrap_data();
    void headingWrap();
    void shortDatesRoundTripWithFourDigitYears();
    void fundDisplayName();
};

void tst_Helpers::amountText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "1234.5" << "$1,234.50";
    QTest::newRow("negative") << "-5" << "($5.00)";
    QTest::newRow("own format") << "$1,234.50" << "$1,234.50";
    QTest::newRow("own negative") << "($5.00)" << "($5.00)";
    QTest::newRow("millions") << "1234567.891" << "$1,234,567.89";
    QTest::newRow("half cent up") << "2.675" << "$2.68";
    QTest::newRow("half cent negative") << "-0.125" << "($0.13)";
    QTest::newRow("tiny negative is zero") << "-0.001" << "$0.00";
    QTest::newRow("blanks around") << "  12  " << "$12.00";
    QTest::newRow("empty") << "" << "$0.00";
    QTest::newRow("letters") << "abc" << "$0.00";
    QTest::newRow("number then letters") << "12abc" << "$0.00";
    QTest::newRow("two signs") << "--5" << "$0.00";
}

void tst_Helpers::amountText()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    ScriptedResponder responder;
    QCOMPARE(AmountText(typed), shown);
}

void tst_Helpers::amountTextBeepsOnlyForNonBlankNonsense()
{
    ScriptedResponder responder;
    AmountText(QString());
    AmountText(QStringLiteral("   "));
    QCOMPARE(responder.Beeps(), 0);
    AmountText(QStringLiteral("letters"));
    QCOMPARE(responder.Beeps(), 1);
    WholeNumberText(QStringLiteral("12abc"));
    QCOMPARE(responder.Beeps(), 2);
    AmountText(QStringLiteral("7"));
    QCOMPARE(responder.Beeps(), 2);
}

void tst_Helpers::normalisingTwiceChangesNothing()
{
    ScriptedResponder responder;
    for (const char* typed : {"1234.5", "-5", "0.1", "99999.999", "(12.30)", "$0.01"}) {
        const QString once = AmountText(QString::fromLatin1(typed));
        QCOMPARE(AmountText(once), once);
        QCOMPARE(FormatAmount(AmountValue(once)), once);
    }
    QCOMPARE(responder.Beeps(), 0);
}

void tst_Helpers::wholeNumberText()
{
    ScriptedResponder responder;
    QCOMPARE(WholeNumberText(QStringLiteral("12abc")), QStringLiteral("0"));
    QCOMPARE(WholeNumberText(QString()), QStringLiteral("0"));
    QCOMPARE(WholeNumberText(QStringLiteral("42")), QStringLiteral("42"));
    QCOMPARE(WholeNumberText(QStringLiteral("2.5")), QStringLiteral("3"));
    QCOMPARE(WholeNumberText(QStringLiteral("-2.5")), QStringLiteral("-3"));
    QCOMPARE(WholeNumberText(QStringLiteral("10001")), QStringLiteral("10001"));
    QCOMPARE(WholeNumberText(QStringLiteral("-0.2")), QStringLiteral("0"));
    QCOMPARE(responder.Beeps(), 1);
}

void tst_Helpers::roundingToCents()
{
    // Sums of doubles must compare as cents.
    double sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += 0.1;
    QVERIFY(sum != 1.0);
    QCOMPARE(RoundCents(sum), 1.0);
    QCOMPARE(RoundCents(1.005), 1.01);
    QCOMPARE(RoundCents(-1.005), -1.01);
    QCOMPARE(FormatAmount(0.1 + 0.2), QStringLiteral("$0.30"));
}

void tst_Helpers::zeroTestAndBlankIfZero()
{
    QVERIFY(AmountIsZero(0.0));
    QVERIFY(AmountIsZero(0.0099));
    QVERIFY(AmountIsZero(-0.0099));
    QVERIFY(!AmountIsZero(0.01));
    QVERIFY(!AmountIsZero(-0.01));
    QCOMPARE(BlankIfZero(0), QString());
    QCOMPARE(BlankIfZero(17), QStringLiteral("17"));
    QCOMPARE(BlankIfZero(-3), QStringLiteral("-3"));
}

void tst_Helpers::fieldReadersTurnNullAndNonsenseIntoDefaults()
{
    const QVariant null;
    QCOMPARE(FieldText(null), QString());
    QCOMPARE(FieldText(QVariant(QStringLiteral("  O'Brien  "))), QStringLiteral("O'Brien"));
    QCOMPARE(FieldLong(null), 0);
    QCOMPARE(FieldLong(QVariant(QStringLiteral("abc"))), 0);
    QCOMPARE(FieldLong(QVariant(qlonglong(-2004))), -2004);
    QCOMPARE(FieldLong(QVariant(QStringLiteral("17"))), 17);
    QCOMPARE(FieldInt(QVariant(qlonglong(6))), short(6));
    QCOMPARE(FieldDouble(null), 0.0);
    QCOMPARE(FieldDouble(QVariant(QStringLiteral("x"))), 0.0);
    QCOMPARE(FieldDouble(QVariant(12.5)), 12.5);
    QCOMPARE(FieldDouble(QVariant(qlonglong(100))), 100.0);
    QCOMPARE(FieldBool(null), false);
    QCOMPARE(FieldBool(QVariant(qlonglong(1))), true);
    QCOMPARE(FieldBool(QVariant(qlonglong(0))), false);
    QCOMPARE(FieldDate(null), ZeroDate());
    QCOMPARE(FieldDate(QVariant(QStringLiteral("not a date"))), ZeroDate());
    QCOMPARE(FieldDate(QVariant(QStringLiteral("2024-12-29"))), QDate(2024, 12, 29));
}

void tst_Helpers::namesAndAddresses()
{
    QCOMPARE(PairJoin(QStringLiteral(" Smith "), QStringLiteral("John")), QStringLiteral("Smith, John"));
    QCOMPARE(PairJoin(QStringLiteral("Smith"), QStringLiteral("  ")), QStringLiteral("Smith"));
    QCOMPARE(PairJoin(QString(), QStringLiteral("John")), QStringLiteral("John"));

    QCOMPARE(NameJoin(QStringLiteral("Smith  "), QStringLiteral("John & Mary"), true), QStringLiteral("Smith, John & Mary"));
    QCOMPARE(NameJoin(QStringLiteral("Smith"), QString(), true), QStringLiteral("Smith"));
    QCOMPARE(NameJoin(QStringLiteral("Smith"), QStringLiteral("John"), false), QStringLiteral("John Smith"));
    QCOMPARE(NameJoin(QStringLiteral("Smith"), QString(), false), QStringLiteral("Smith"));
    QCOMPARE(NameJoin(QString(), QStringLiteral("John"), false), QStringLiteral("John "));

    const QString a = QStringLiteral("12 Elm St"), c = QStringLiteral("Salem"), s = QStringLiteral("OR"),
                  z = QStringLiteral("97301");
    QCOMPARE(AddressJoin(a, QString(), c, s, z, false), QStringLiteral("12 Elm St, Salem, OR  97301"));
    QCOMPARE(AddressJoin(a, QString(), c, s, z, true), QStringLiteral("12 Elm St\r\nSalem, OR  97301"));
    QCOMPARE(AddressJoin(a, QStringLiteral("Apt 4"), c, s, z, true), QStringLiteral("12 Elm St\r\nApt 4\r\nSalem, OR  97301"));
    QCOMPARE(AddressJoin(QString(), QStringLiteral("PO Box 9"), c, s, z, false), QStringLiteral("PO Box 9, Salem, OR  97301"));
    QCOMPARE(AddressJoin(QString(), QString(), c, QString(), z, false), QStringLiteral("Salem  97301"));
    QCOMPARE(AddressJoin(a, QString(), QString(), QString(), QString(), true), a);
    QCOMPARE(AddressJoin(QString(), QString(), QString(), QString(), QStringLiteral("97301"), false), QStringLiteral("97301"));
    QCOMPARE(AddressJoin(QString(), QString(), QString(), QString(), QString(), true), QString());
}

void tst_Helpers::envelopeSortKeyOrdersNumbersThenNames()
{
    QCOMPARE(EnvelopeSortKey(7, QStringLiteral("Smith")), QString(9, QLatin1Char(' ')) + QStringLiteral("7Smith"));
    QCOMPARE(EnvelopeSortKey(0, QStringLiteral("Smith")), QStringLiteral("ZZZZZZZZZZSmith"));
    QStringList keys = {EnvelopeSortKey(10, QStringLiteral("Adams")), EnvelopeSortKey(0, QStringLiteral("Baker")),
                        EnvelopeSortKey(9, QStringLiteral("Young")), EnvelopeSortKey(0, QStringLiteral("Abbot")),
                        EnvelopeSortKey(10001, QStringLiteral("Clark"))};
    keys.sort(Qt::CaseSensitive);
    QCOMPARE(keys.at(0).trimmed(), QStringLiteral("9Young"));
    QCOMPARE(keys.at(1).trimmed(), QStringLiteral("10Adams"));
    QCOMPARE(keys.at(2).trimmed(), QStringLiteral("10001Clark"));
    QCOMPARE(keys.at(3), QStringLiteral("ZZZZZZZZZZAbbot"));
    QCOMPARE(keys.at(4), QStringLiteral("ZZZZZZZZZZBaker"));
}

void tst_Helpers::headingWrap_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("wrapped");
    QTest::newRow("two words") << "Building Fund" << 2 << "Building\r\nFund";
    QTest::newRow("one word pushed down") << "Missions" << 2 << "\r\nMissions";
    QTest::newRow("three words, two lines") << "Youth Mission Trip" << 2 << "Youth\r\nMission Trip";
    QTest::newRow("double blanks") << "  Building   Fund " << 2 << "Building\r\nFund";
    QTest::newRow("three lines, one word") << "Flowers" << 3 << "\r\n\r\nFlowers";
    QTest::newRow("three lines, two words") << "Building Fund" << 3 << "\r\nBuilding\r\nFund";
    QTest::newRow("one line") << "Building Fund" << 1 << "Building Fund";
}

void tst_Helpers::headingWrap()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    QFETCH(QString, wrapped);
    QCOMPARE(HeadingWrap(text, lines), wrapped);
    QCOMPARE(wrapped.count(QStringLiteral("\r\n")), qMax(lines - 1, 0));
}

void tst_Helpers::shortDatesRoundTripWithFourDigitYears()
{
    const QDate d(2024, 1, 7);
    QCOMPARE(ShortDate(d), QStringLiteral("1/7/2024"));
    QCOMPARE(ParseShortDate(ShortDate(d)), d);
    QCOMPARE(ParseShortDate(ShortDate(QDate(1924, 12, 31))), QDate(1924, 12, 31));
    QCOMPARE(LongDate(d), QStringLiteral("January 7, 2024"));
}

void tst_Helpers::fundDisplayName()
{
    TestDataSet data;
    clsFunds main;
    main.Get_One_Record(QStringLiteral("ID = 1"));
    QCOMPARE(main.FundName(), QStringLiteral("Operating Fund"));
    QCOMPARE(Fund_Display_Name(-2004), QStringLiteral("2004 Operating Fund"));
    const int building = data.AddFund(QStringLiteral("Building Fund"));
    QCOMPARE(Fund_Display_Name(building), QStringLiteral("Building Fund"));
    QCOMPARE(Fund_Display_Name(999), QString());
    main.FundName(QStringLiteral("General Fund"));
    main.Update_Record_to_DB();
    QCOMPARE(Fund_Display_Name(-2025), QStringLiteral("2025 General Fund"));
}

QV_TEST_MAIN(tst_Helpers)
#include "tst_helpers.moc"

// The formatting and reading helpers every window relies on.
#include "support/CoreTest.h"
#include "support/ChurchSettings.h"

using namespace modGlobal;

class tst_Helpers : public QObject {
    Q_OBJECT
private slots:
    void amountText_data();
    void amountText();
    void wholeNumbersRoundingAndZero();
    void fieldReadersTurnNullAndNonsenseIntoDefaults();
    void namesAddressesAndSortKeys();
    void headingWrap_data();
    void headingWrap();
    void shortDatesRoundTripWithFourDigitYears();
    void fundDisplayName();
};

void tst_Helpers::amountText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");
    QTest::newRow("plain") << "1234.5" << "$1,234.50" << 0;
    QTest::newRow("negative") << "-5" << "($5.00)" << 0;
    QTest::newRow("own negative") << "($12.30)" << "($12.30)" << 0;
    QTest::newRow("millions") << "1234567.891" << "$1,234,567.89" << 0;
    QTest::newRow("rounds into a new group") << "99999.999" << "$100,000.00" << 0;
    QTest::newRow("half cent up") << "2.675" << "$2.68" << 0;
    QTest::newRow("half cent negative") << "-0.125" << "($0.13)" << 0;
    QTest::newRow("tiny negative is zero") << "-0.001" << "$0.00" << 0;
    QTest::newRow("blanks around") << "  12  " << "$12.00" << 0;
    QTest::newRow("empty") << "" << "$0.00" << 0;
    QTest::newRow("only blanks") << "   " << "$0.00" << 0;
    QTest::newRow("letters") << "abc" << "$0.00" << 1;
    QTest::newRow("number then letters") << "12abc" << "$0.00" << 1;
    QTest::newRow("two signs") << "--5" << "$0.00" << 1;
    QTest::newRow("thousands") << "1,000" << "$1,000.00" << 0;
    QTest::newRow("dollar sign typed") << "$5" << "$5.00" << 0;
    QTest::newRow("point last") << "5." << "$5.00" << 0;
    QTest::newRow("point first") << ".5" << "$0.50" << 0;
    QTest::newRow("own form without cents") << "($5)" << "($5.00)" << 0;
    QTest::newRow("largest") << "999999999.99" << "$999,999,999.99" << 0;
    QTest::newRow("largest negative") << "-999,999,999.99" << "($999,999,999.99)" << 0;
    // Not amounts: the text gives way to 0 with a beep.
    QTest::newRow("exponent") << "1e5" << "$0.00" << 1;
    QTest::newRow("exponent beyond cents") << "1e17" << "$0.00" << 1;
    QTest::newRow("twenty nines") << "99999999999999999999" << "$0.00" << 1;
    QTest::newRow("one cent beyond the largest") << "1,000,000,000.00" << "$0.00" << 1;
    QTest::newRow("rounds beyond the largest") << "999999999.995" << "$0.00" << 1;
    QTest::newRow("largest beyond, negative") << "(1000000000)" << "$0.00" << 1;
    QTest::newRow("commas not in threes") << "1,2,3" << "$0.00" << 1;
    QTest::newRow("comma group of four") << "1,0000" << "$0.00" << 1;
    QTest::newRow("sign inside parentheses") << "(-5)" << "$0.00" << 1;
    QTest::newRow("plus sign") << "+5" << "$0.00" << 1;
    QTest::newRow("blank inside") << "1 000" << "$0.00" << 1;
    QTest::newRow("hexadecimal") << "0x10" << "$0.00" << 1;
    QTest::newRow("infinity") << "inf" << "$0.00" << 1;
    QTest::newRow("not a number") << "nan" << "$0.00" << 1;
    QTest::newRow("two points") << "1.2.3" << "$0.00" << 1;
    QTest::newRow("only a dollar sign") << "$" << "$0.00" << 1;
}

// Nonsense (but not blank) beeps; what is shown reads back unchanged.
void tst_Helpers::amountText()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    ScriptedResponder responder;
    QCOMPARE(AmountText(typed), shown);
    QCOMPARE(responder.Beeps(), beeps);
    QCOMPARE(AmountText(shown), shown);
    QCOMPARE(FormatAmount(AmountValue(shown)), shown);
    QCOMPARE(responder.Beeps(), beeps);
}

void tst_Helpers::wholeNumbersRoundingAndZero()
{
    ScriptedResponder responder;
    QCOMPARE(WholeNumberText(QString()), "0");
    QCOMPARE(WholeNumberText("42"), "42");
    QCOMPARE(WholeNumberText("2.5"), "3");
    QCOMPARE(WholeNumberText("-2.5"), "-3");
    QCOMPARE(WholeNumberText("-0.2"), "0");
    QCOMPARE(responder.Beeps(), 0);
    QCOMPARE(WholeNumberText("12abc"), "0");
    QCOMPARE(responder.Notes().last(), "'12abc' is not a number");
    QCOMPARE(WholeNumberText("1e3"), "0");
    QCOMPARE(WholeNumberText("2147483648"), "0"); // beyond a whole-number column
    QCOMPARE(WholeNumberText("2147483647"), "2147483647");
    QCOMPARE(WholeNumberText("(5)"), "-5");
    QCOMPARE(responder.Beeps(), 3);

    // Sums of doubles must compare as cents.
    double sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += 0.1;
    QVERIFY(sum != 1.0);
    QCOMPARE(RoundCents(sum), 1.0);
    QCOMPARE(RoundCents(1.005), 1.01);
    QCOMPARE(RoundCents(-1.005), -1.01);
    QCOMPARE(FormatAmount(0.1 + 0.2), "$0.30");
    QVERIFY(AmountIsZero(0.0099) && AmountIsZero(-0.0099));
    QVERIFY(!AmountIsZero(0.01) && !AmountIsZero(-0.01));
    QCOMPARE(BlankIfZero(0), QString());
    QCOMPARE(BlankIfZero(-3), "-3");
}

void tst_Helpers::fieldReadersTurnNullAndNonsenseIntoDefaults()
{
    const QVariant null;
    QCOMPARE(FieldText(null), QString());
    QCOMPARE(FieldText(QVariant("  O'Brien  ")), "O'Brien");
    QCOMPARE(FieldLong(null), 0);
    QCOMPARE(FieldLong(QVariant("abc")), 0);
    QCOMPARE(FieldLong(QVariant(qlonglong(-2004))), -2004);
    QCOMPARE(FieldLong(QVariant("17")), 17);
    QCOMPARE(FieldDouble(null), 0.0);
    QCOMPARE(FieldDouble(QVariant("x")), 0.0);
    QCOMPARE(FieldDouble(QVariant(qlonglong(100))), 100.0);
    QCOMPARE(FieldBool(null), false);
    QCOMPARE(FieldBool(QVariant(qlonglong(1))), true);
    QCOMPARE(FieldDate(null), ZeroDate());
    QCOMPARE(FieldDate(QVariant("not a date")), ZeroDate());
    QCOMPARE(FieldDate(QVariant("2024-12-29")), QDate(2024, 12, 29));
}

void tst_Helpers::namesAddressesAndSortKeys()
{
    QCOMPARE(PairJoin(" Smith ", "John"), "Smith, John");
    QCOMPARE(PairJoin("Smith", "  "), "Smith");
    QCOMPARE(PairJoin(QString(), "John"), "John");
    QCOMPARE(NameJoin("Smith  ", "John & Mary", true), "Smith, John & Mary");
    QCOMPARE(NameJoin("Smith", "John", false), "John Smith");
    QCOMPARE(NameJoin("Smith", QString(), false), "Smith");
    QCOMPARE(NameJoin(QString(), "John", false), "John ");

    const QString a = "12 Elm St", c = "Salem", s = "OR", z = "97301";
    QCOMPARE(AddressJoin(a, QString(), c, s, z, false), "12 Elm St, Salem, OR  97301");
    QCOMPARE(AddressJoin(a, "Apt 4", c, s, z, true), "12 Elm St\r\nApt 4\r\nSalem, OR  97301");
    QCOMPARE(AddressJoin(QString(), "PO Box 9", c, s, z, false), "PO Box 9, Salem, OR  97301");
    QCOMPARE(AddressJoin(QString(), QString(), c, QString(), z, false), "Salem  97301");
    QCOMPARE(AddressJoin(a, QString(), QString(), QString(), QString(), true), a);
    QCOMPARE(AddressJoin(QString(), QString(), QString(), QString(), "97301", false), "97301");
    QCOMPARE(AddressJoin(QString(), QString(), QString(), QString(), QString(), true), QString());

    // Envelope sort keys: numbers in order, then those without one by name.
    QStringList keys;
    for (const auto& [n, name] : {std::pair{10, "Adams"}, {0, "Baker"}, {9, "Young"}, {0, "Abbot"}, {10001, "Clark"}})
        keys << EnvelopeSortKey(n, QLatin1String(name));
    keys.sort(Qt::CaseSensitive);
    for (QString& k : keys)
        k = k.trimmed();
    QCOMPARE(keys, (QStringList{"9Young", "10Adams", "10001Clark", "ZZZZZZZZZZAbbot", "ZZZZZZZZZZBaker"}));
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
}

void tst_Helpers::shortDatesRoundTripWithFourDigitYears()
{
    const QDate d(2024, 1, 7);
    QCOMPARE(ShortDate(d), "1/7/2024");
    QCOMPARE(ParseShortDate(ShortDate(d)), d);
    QCOMPARE(ParseShortDate(ShortDate(QDate(1924, 12, 31))), QDate(1924, 12, 31));
    QCOMPARE(LongDate(d), "January 7, 2024");
}

void tst_Helpers::fundDisplayName()
{
    TestDataSet data;
    QCOMPARE(Fund_Display_Name(-2004), "2004 Operating Fund");
    QCOMPARE(Fund_Display_Name(data.AddFund("Building Fund")), "Building Fund");
    QCOMPARE(Fund_Display_Name(999), QString());
    RenameMainFund("General Fund");
    QCOMPARE(Fund_Display_Name(-2025), "2025 General Fund");
}

QV_TEST_MAIN(tst_Helpers, QCoreApplication)
#include "tst_helpers.moc"

// What the fund and preference windows read and write, without windows.
#include "maintenance/FundQueries.h"
#include "maintenance/Preferences.h"
#include "support/CoreTest.h"

using namespace FundQueries;

class tst_FundsCore : public QObject {
    Q_OBJECT
private slots:
    void listRowsAndDefaultFundChoices();
    void nameUsedByAnotherFund();
};

void tst_FundsCore::listRowsAndDefaultFundChoices()
{
    TestDataSet data;
    // A row written by hand with no flags at all reads them as False; the
    // main fund is never listed.
    data.DB().Execute(QStringLiteral("INSERT INTO Funds (ID, FundName) VALUES (40, 'Bare');"));
    const QList<FundRow> rows = Additional_Funds();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(List_Cells(rows.first()), (QStringList{"40", "Bare", "No", "", "No"}));
    const int bells = data.AddFund(QStringLiteral("bells"), false, true, true);
    QCOMPARE(List_Cells(Fund(bells)), (QStringList{QString::number(bells), "bells", "No", "I", "Yes"}));
    QCOMPARE(Fund(999).id, 0); // gone: no row

    // Every additional fund is a choice, inactive and non-pledgeable ones
    // too, in name order without regard to case, as the data file sorts.
    const int missions = data.AddFund(QStringLiteral("Missions"));
    QList<QPair<int, QString>> choices;
    for (const Choice& c : Default_Fund_Choices())
        choices.append({c.id, c.name});
    QCOMPARE(choices, (QList<QPair<int, QString>>{{40, "Bare"}, {bells, "bells"}, {missions, "Missions"}}));
    // A statement from an older copy of the program keeps its line breaks.
    QCOMPARE(Preferences::Statement_for_Box(QStringLiteral("A\r\nB\nC")), QStringLiteral("A\nB\nC"));
}

void tst_FundsCore::nameUsedByAnotherFund()
{
    TestDataSet data;
    const int missions = data.AddFund(QStringLiteral("Missions"));
    const int youth = data.AddFund(QStringLiteral("Youth"));
    // Without regard to case or surrounding blanks; the main fund counts.
    for (const char* name : {"Missions", "MISSIONS", "  missions   ", "Operating Fund"})
        QVERIFY2(Name_Used_by_Other(QString::fromLatin1(name), youth), name);
    // A fund's own name is no conflict (a change of case is a rename); a
    // name merely like another is none either.
    QVERIFY(!Name_Used_by_Other(QStringLiteral("missions"), missions));
    QVERIFY(!Name_Used_by_Other(QStringLiteral("Mission"), youth));
    // A name stored with a leading blank reads back without it.
    data.DB().Execute(QStringLiteral("INSERT INTO Funds (ID, FundName) VALUES (40, ' Choir');"));
    QVERIFY(Name_Used_by_Other(QStringLiteral("Choir"), youth));
    QVERIFY(!Name_Used_by_Other(QStringLiteral("Choir"), 40));
    QVERIFY(!Name_Used_by_Other(QStringLiteral("St. Mary's"), youth)); // quotes do not break the query
}

QV_TEST_MAIN(tst_FundsCore, QCoreApplication)
#include "tst_funds_core.moc"

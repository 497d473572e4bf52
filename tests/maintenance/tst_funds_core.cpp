// What the fund and preference windows read and write, without windows.
#include "maintenance/FundQueries.h"
#include "maintenance/Preferences.h"
#include "shell/modGlobal.h"
#include "storage/Connection.h"

#include <QtTest/QTest>

#include "support/TestDataSet.h"

using namespace modGlobal;

class tst_FundsCore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listRowsLeaveOutTheMainFundAndReadNullAsFalse();
    void defaultFundChoicesInNameOrder();
    void nameUsedByAnotherFund();

private:
    std::unique_ptr<TestDataSet> m_data;
};

void tst_FundsCore::init()
{
    m_data = std::make_unique<TestDataSet>();
}

void tst_FundsCore::cleanup()
{
    m_data.reset();
}

void tst_FundsCore::listRowsLeaveOutTheMainFundAndReadNullAsFalse()
{
    // A row written by hand with no flags at all.
    m_data->DB().Execute(QStringLiteral("INSERT INTO Funds (ID, FundName) VALUES (40, 'Bare');"));
    const QList<FundQueries::FundRow> rows = FundQueries::Additional_Funds();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(FundQueries::List_Cells(rows.first()), (QStringList{"40", "Bare", "No", "", "No"}));
    QCOMPARE(FundQueries::Fund(40).name, QStringLiteral("Bare"));
    QCOMPARE(FundQueries::Fund(999).id, 0); // gone: no row
}

void tst_FundsCore::defaultFundChoicesInNameOrder()
{
    const int missions = m_data->AddFund(QStringLiteral("Missions"));
    const int bells = m_data->AddFund(QStringLiteral("bells"), false, false, true); // inactive, not pledgeable
    const int altar = m_data->AddFund(QStringLiteral("Altar Guild"));
    QStringList names;
    QList<int> ids;
    for (const FundQueries::Choice& c : FundQueries::Default_Fund_Choices()) {
        names << c.name;
        ids << c.id;
    }
    // The data file sorts text without regard to case; the main fund is never a choice.
    QCOMPARE(names, (QStringList{"Altar Guild", "bells", "Missions"}));
    QCOMPARE(ids, (QList<int>{altar, bells, missions}));
    // A statement from an older copy of the program keeps its line breaks.
    QCOMPARE(Preferences::Statement_for_Box(QStringLiteral("A\r\nB\nC")), QStringLiteral("A\nB\nC"));
}

void tst_FundsCore::nameUsedByAnotherFund()
{
    const int missions = m_data->AddFund(QStringLiteral("Missions"));
    const int youth = m_data->AddFund(QStringLiteral("Youth"));
    QVERIFY(FundQueries::Name_Used_by_Other(QStringLiteral("Missions"), youth));
    QVERIFY(FundQueries::Name_Used_by_Other(QStringLiteral("MISSIONS"), youth));
    QVERIFY(FundQueries::Name_Used_by_Other(QStringLiteral("  missions   "), youth));
    QVERIFY(FundQueries::Name_Used_by_Other(QStringLiteral("Operating Fund"), youth)); // the main fund counts
    QVERIFY(FundQueries::Name_Used_by_Other(QStringLiteral("Youth"), 1));
    // A fund's own name is no conflict: a change of case is a rename.
    QVERIFY(!FundQueries::Name_Used_by_Other(QStringLiteral("missions"), missions));
    QVERIFY(!FundQueries::Name_Used_by_Other(QStringLiteral("Mission"), youth));
    // A name stored with a leading blank reads back without it.
    m_data->DB().Execute(QStringLiteral("INSERT INTO Funds (ID, FundName) VALUES (40, ' Choir');"));
    QVERIFY(FundQueries::Name_Used_by_Other(QStringLiteral("Choir"), youth));
    QVERIFY(!FundQueries::Name_Used_by_Other(QStringLiteral("Choir"), 40));
    // Quotes in a name do not break the query.
    QVERIFY(!FundQueries::Name_Used_by_Other(QStringLiteral("St. Mary's"), youth));
}

QV_TEST_MAIN(tst_FundsCore)
#include "tst_funds_core.moc"

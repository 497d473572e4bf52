// The pledge grid editor without its window: the fund list, the listed
// contributors, the typing rules and the saving of typed amounts.
#include "maintenance/PledgeGrid.h"
#include "shell/Helpers.h"
#include "shell/clsDBEvent.h"
#include "shell/modGlobal.h"
#include "storage/Connection.h"
#include "storage/DbError.h"
#include "storage/clsPledges.h"
#include "support/TestDataSet.h"

#include <QtTest/QTest>
#include <sqlite3.h>

using namespace PledgeGrid;

namespace {
// Types keys on one row, starting from a cell; returns the cell as shown then.
QString TypeInto(Typing& t, int row, QString cell, const QString& keys)
{
    for (QChar k : keys)
        if (const Typing::Result r = t.Key(row, k, cell); r.setCell)
            cell = r.cell;
    return cell;
}
const QString kBack(QChar(Typing::Backspace));
const QString kEsc(QChar(Typing::Escape));
} // namespace

class tst_PledgeGrid : public QObject {
    Q_OBJECT
private slots:
    void init() { m_data = std::make_unique<TestDataSet>(); }
    void cleanup() { m_data.reset(); }
    void fundList();
    void contributorsInNameOrderWithTheFundsAmount();
    void typingRulesBeyondTheObvious();
    void savingRules();
    void savingComparesWholeCents();
    void savingIsAllOrNothing();

private:
    std::unique_ptr<TestDataSet> m_data;
    double Amount(int pledgeID)
    {
        return m_data->Scalar(QStringLiteral("SELECT Amount FROM Pledges WHERE ID = ") + QString::number(pledgeID));
    }
};

void tst_PledgeGrid::fundList()
{
    auto texts = [](const FundList& list) {
        QStringList t;
        for (const FundChoice& i : list.items)
            t << i.text + QLatin1Char('=') + QString::number(i.fundID);
        return t;
    };
    const int missions = m_data->AddFund(QStringLiteral("Missions"));
    const int roof = m_data->AddFund(QStringLiteral("Old Roof"), true, true, true); // inactive: still listed
    m_data->AddFund(QStringLiteral("Flowers"), false);                             // not pledgeable
    const int a = m_data->AddContributor(QStringLiteral("Smith"));
    m_data->AddPledge(a, roof, 20);
    // No main fund pledge at all: the processing year's main fund, selected.
    FundList list = Fund_List(2025);
    QCOMPARE(texts(list), (QStringList{"2025 Operating Fund=-2025", "Missions=" + QString::number(missions),
                                       "Old Roof=" + QString::number(roof)}));
    QCOMPARE(list.selected, 0);

    // Years with pledges earliest first; the processing year follows when it has none.
    m_data->AddPledge(a, -2026, 100);
    m_data->AddPledge(a, -2023, 100, 0, true);
    list = Fund_List(2025);
    QCOMPARE(texts(list).mid(0, 3), (QStringList{"2023 Operating Fund=-2023", "2026 Operating Fund=-2026",
                                                 "2025 Operating Fund=-2025"}));
    QCOMPARE(list.selected, 2);
    // With one, it is selected where it stands and not added again.
    m_data->AddPledge(a, -2025, 50);
    modGlobal::MainFundName = QStringLiteral("General Fund");
    list = Fund_List(2025);
    QCOMPARE(texts(list).mid(0, 4), (QStringList{"2023 General Fund=-2023", "2025 General Fund=-2025",
                                                 "2026 General Fund=-2026", "Missions=" + QString::number(missions)}));
    QCOMPARE(list.selected, 1);
}

void tst_PledgeGrid::contributorsInNameOrderWithTheFundsAmount()
{
    auto listed = [](const QList<Row>& rows) {
        QStringList t;
        for (const Row& r : rows)
            t << r.name + QStringLiteral(" = ") + modGlobal::FormatAmount(r.amount);
        return t;
    };
    const int building = m_data->AddFund(QStringLiteral("Building Fund"));
    const int smithJ = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("John"));
    const int smithA = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("Ann"));
    const int vries = m_data->AddContributor(QStringLiteral("de Vries"), QStringLiteral("Anna"));
    m_data->AddContributor(QStringLiteral("Adams"));
    const int gone = m_data->AddContributor(QStringLiteral("Brown"), QStringLiteral("Old"), true, true);
    m_data->AddPledge(smithJ, -2025, 520, 7);
    m_data->AddPledge(smithJ, -2024, 480, 7);
    m_data->AddPledge(smithA, building, 75);
    m_data->AddPledge(vries, -2025, 120.5);
    m_data->AddPledge(vries, -2025, 999); // a second pledge to the fund: the older one counts
    m_data->AddPledge(gone, -2025, 40, 3, true);

    QCOMPARE(listed(Load_Rows(-2025, false)), (QStringList{"Adams = $0.00", "de Vries, Anna = $120.50",
                                                           "Smith, Ann = $0.00", "Smith, John = $520.00"}));
    QCOMPARE(Load_Rows(-2025, true).at(1).contributorID, gone);
    QCOMPARE(listed(Load_Rows(building, false)),
             (QStringList{"Adams = $0.00", "de Vries, Anna = $0.00", "Smith, Ann = $75.00", "Smith, John = $0.00"}));
    QCOMPARE(Pledge_Amount(vries, -2025), 120.5); // the same one
}

void tst_PledgeGrid::typingRulesBeyondTheObvious()
{
    // Backspace as the first key clears the amount; more of them do no harm.
    Typing t;
    QCOMPARE(TypeInto(t, 5, QStringLiteral("$100.00"), kBack + kBack + QStringLiteral("12") + kBack + QStringLiteral("3")),
             QStringLiteral("13"));
    QVERIFY(t.Changed());

    // Keys that are no amount key change nothing, are no change, and do not
    // spoil the rule that the first amount key starts anew.
    Typing other;
    QCOMPARE(TypeInto(other, 5, QStringLiteral("$100.00"), QStringLiteral("ab -+,\r$")), QStringLiteral("$100.00"));
    QVERIFY(!other.Changed());
    QCOMPARE(TypeInto(other, 5, QStringLiteral("$100.00"), QStringLiteral("7x5")), QStringLiteral("75"));
    QVERIFY(!Typing().Key(0, QLatin1Char('5'), QString()).setCell); // no row

    // After Esc the next key starts a new amount instead of appending to
    // the restored one; Esc where nothing is typed does nothing.
    Typing e;
    QCOMPARE(TypeInto(e, 9, QStringLiteral("$250.00"), QStringLiteral("99") + kEsc), QStringLiteral("$250.00"));
    QVERIFY(e.Changed());
    QCOMPARE(TypeInto(e, 9, QStringLiteral("$250.00"), QStringLiteral("3")), QStringLiteral("3"));
    QVERIFY(!Typing().Key(9, QChar(Typing::Escape), QStringLiteral("$1.00")).setCell);

    // Leaving normalises once; back on the row the first key starts anew.
    Typing l;
    TypeInto(l, 4, QStringLiteral("$10.00"), QStringLiteral("12"));
    QCOMPARE(l.Row_Changed(4), 0); // the same row under a new number is not left
    QCOMPARE(l.Row_Changed(6), 4);
    QCOMPARE(l.Row_Changed(7), 0);
    QCOMPARE(TypeInto(l, 4, QStringLiteral("$12.00"), QStringLiteral("5")), QStringLiteral("5"));
    QCOMPARE(l.Saved_Text(), QStringLiteral("$12.00"));
    // A row whose amount was replaced from outside starts anew too.
    l.Forget_Row(4);
    QCOMPARE(l.Row_Changed(6), 0);
    QCOMPARE(TypeInto(l, 4, QStringLiteral("$300.00"), QStringLiteral("1")), QStringLiteral("1"));
    l.Reset();
    QVERIFY(!l.Changed());
}

void tst_PledgeGrid::savingRules()
{
    const int none = m_data->AddContributor(QStringLiteral("Adams"));
    const int nothing = m_data->AddContributor(QStringLiteral("Evans"));
    const int twice = m_data->AddContributor(QStringLiteral("Fox"));
    const int kept = m_data->AddContributor(QStringLiteral("Gray"));
    const int pFirst = m_data->AddPledge(twice, -2025, 10);
    const int pSecond = m_data->AddPledge(twice, -2025, 20);
    clsPledges p;
    p.ContributorID(kept);
    p.FundID(-2025);
    p.AccountNumber(7);
    p.Amount(100);
    p.Notes(QStringLiteral("by phone"));
    p.IsInactive(true);
    p.Save_to_DB();
    m_data->ClearNotices();

    int steps = 0;
    QCOMPARE(Save_Pledges(-2025,
                          {{0, QStringLiteral("500")}, // the placeholder row
                           {none, QStringLiteral("100")},
                           {nothing, QStringLiteral("$0.00")},
                           {twice, QStringLiteral("15")},
                           {kept, QStringLiteral("1.2.3")}}, // not a number: zero
                          [&steps] { ++steps; }),
             3);
    QCOMPARE(steps, 5);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges WHERE ContributorID IN (0, ")
                            + QString::number(nothing) + QLatin1Char(')')),
             0.0);
    QCOMPARE(Amount(pFirst), 15.0); // the older of two
    QCOMPARE(Amount(pSecond), 20.0);
    clsPledges after;
    after.Get_One_Record(QStringLiteral("ID = ") + QString::number(p.ID()));
    QCOMPARE(after.Amount(), 0.0); // not deleted, the rest untouched
    QCOMPARE(after.AccountNumber(), 7);
    QCOMPARE(after.Notes(), QStringLiteral("by phone"));
    QVERIFY(after.IsInactive());
    clsPledges added;
    added.Get_One_Record(QStringLiteral("ContributorID = ") + QString::number(none));
    QCOMPARE(added.FundID(), -2025);
    QCOMPARE(added.Notes(), QString());
    QCOMPARE(m_data->Notices(), (QList<Notice>{{dbPledges, true, false, false, added.ID(), none},
                                               {dbPledges, false, true, false, pFirst, twice},
                                               {dbPledges, false, true, false, p.ID(), kept}}));
}

void tst_PledgeGrid::savingComparesWholeCents()
{
    // 520.01 - 520 is a hair below 0.01 as doubles; a one-cent change is a change.
    const int a = m_data->AddContributor(QStringLiteral("Adams"));
    const int b = m_data->AddContributor(QStringLiteral("Brown"));
    const int c = m_data->AddContributor(QStringLiteral("Carter"));
    const int pa = m_data->AddPledge(a, -2025, 520);
    const int pb = m_data->AddPledge(b, -2025, 0.28);
    const int pc = m_data->AddPledge(c, -2025, 100.004); // shown as $100.00
    QCOMPARE(Save_Pledges(-2025, {{a, QStringLiteral("520.01")}, {b, QStringLiteral("0.29")}, {c, QStringLiteral("100")}}),
             2);
    QCOMPARE(Amount(pa), 520.01);
    QCOMPARE(Amount(pb), 0.29);
    QCOMPARE(Amount(pc), 100.004);
    // Typed digits past the cents are stored as the cents the grid shows.
    QCOMPARE(Save_Pledges(-2025, {{a, QStringLiteral("12.346")}, {c, QStringLiteral("100.006")}}), 2);
    QCOMPARE(Amount(pa), 12.35);
    QCOMPARE(Amount(pc), 100.01);
}

void tst_PledgeGrid::savingIsAllOrNothing()
{
    const int a = m_data->AddContributor(QStringLiteral("Adams"));
    const int b = m_data->AddContributor(QStringLiteral("Brown"));
    const int c = m_data->AddContributor(QStringLiteral("Carter"));
    const int pa = m_data->AddPledge(a, -2025, 10);
    // A failure half-way leaves every pledge as it was, and no transaction open.
    m_data->DB().Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Pledges WHEN NEW.ContributorID = ")
                         + QString::number(c) + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
    QVERIFY_THROWS_EXCEPTION(DbError, Save_Pledges(-2025, {{a, QStringLiteral("11")},
                                                           {b, QStringLiteral("12")},
                                                           {c, QStringLiteral("13")}}));
    QCOMPARE(Amount(pa), 10.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges")), 1.0);
    QVERIFY(sqlite3_get_autocommit(modGlobal::DB().Handle()));
}

QV_TEST_MAIN(tst_PledgeGrid)
#include "tst_pledgegrid.moc"

// The pledge grid editor without its window: the fund list, the listed
// contributors, the typing rules and the saving of typed amounts.
#include "maintenance/PledgeGrid.h"
#include "support/CoreTest.h"
#include "core/DbError.h"

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
const QString kBack(QChar(Typing::Backspace)), kEsc(QChar(Typing::Escape));

// Every pledge, oldest first, as "last name: fund amount envelope inactive".
QStringList Pledges()
{
    QStringList all;
    for (Recordset rs("SELECT printf('%s: %d %.3f %d %d', LastName, FundID, Amount, AccountNumber, Pledges.IsInactive)"
                      " FROM Pledges LEFT JOIN Contributors ON Contributors.ID = ContributorID ORDER BY Pledges.ID;",
                      modGlobal::DB());
         !rs.Eof(); rs.MoveNext())
        all << modGlobal::FieldText(rs.Field(0));
    return all;
}
} // namespace

class tst_PledgeGrid : public QObject {
    Q_OBJECT
private slots:
    void init() { m_data = std::make_unique<TestDataSet>(); }
    void cleanup() { m_data.reset(); }
    void fundsAndContributorsListed();
    void typingRules();
    void savingRules();

private:
    std::unique_ptr<TestDataSet> m_data;
};

void tst_PledgeGrid::fundsAndContributorsListed()
{
    auto funds = [](int processingYear) { // the selected one marked '*'
        const FundList list = Fund_List(processingYear);
        QStringList t;
        for (const FundChoice& i : list.items)
            t << i.text + '=' + QString::number(i.fundID) + (t.size() == list.selected ? "*" : "");
        return t;
    };
    auto listed = [](int fundID, bool showAll) {
        QStringList t;
        for (const Row& r : Load_Rows(fundID, showAll))
            t << r.name + " = " + modGlobal::FormatAmount(r.amount);
        return t;
    };
    const QString missions = "Missions=" + QString::number(m_data->AddFund("Missions"));
    const int roof = m_data->AddFund("Old Roof", true, true, true); // inactive: still listed
    m_data->AddFund("Flowers", false);                             // not pledgeable
    const int smithJ = m_data->AddContributor("Smith", "John");
    const int smithA = m_data->AddContributor("Smith", "Ann");
    const int vries = m_data->AddContributor("de Vries", "Anna");
    const int gone = m_data->AddContributor("Brown", "Old", true, true);
    m_data->AddContributor("Adams");
    m_data->AddPledge(smithA, roof, 75);
    // No main fund pledge at all: the processing year's main fund, selected.
    QCOMPARE(funds(2025), (QStringList{"2025 Operating Fund=-2025*", missions, "Old Roof=" + QString::number(roof)}));
    // Years with pledges earliest first; the processing year follows when it has none.
    m_data->AddPledge(smithJ, -2026, 100);
    m_data->AddPledge(gone, -2023, 100, 0, true);
    QCOMPARE(funds(2025).mid(0, 3),
             (QStringList{"2023 Operating Fund=-2023", "2026 Operating Fund=-2026", "2025 Operating Fund=-2025*"}));
    // With one, it is selected where it stands and not added again.
    m_data->AddPledge(gone, -2025, 40);
    m_data->AddPledge(smithJ, -2025, 520);
    m_data->AddPledge(vries, -2025, 120.5);
    m_data->AddPledge(vries, -2025, 999); // a second pledge to the fund: the older one counts
    modGlobal::MainFundName = "General Fund";
    QCOMPARE(funds(2025).mid(0, 4),
             (QStringList{"2023 General Fund=-2023", "2025 General Fund=-2025*", "2026 General Fund=-2026", missions}));

    // Contributors in name order, the inactive ones only when all are shown,
    // with their pledge to the fund.
    QCOMPARE(listed(-2025, false),
             (QStringList{"Adams = $0.00", "de Vries, Anna = $120.50", "Smith, Ann = $0.00", "Smith, John = $520.00"}));
    QCOMPARE(listed(-2025, true).at(1), "Brown, Old = $40.00");
    QCOMPARE(listed(roof, true),
             (QStringList{"Adams = $0.00", "Brown, Old = $0.00", "de Vries, Anna = $0.00", "Smith, Ann = $75.00",
                          "Smith, John = $0.00"}));
    QCOMPARE(Pledge_Amount(vries, -2025), 120.5); // the same one
}

void tst_PledgeGrid::typingRules()
{
    // Other keys change nothing and are no change; the first amount key then
    // replaces, digits and "." append, Backspace takes the last one off.
    Typing t;
    QCOMPARE(TypeInto(t, 5, "$100.00", "ab -+,\r$" + kEsc), "$100.00");
    QVERIFY(!t.Changed());
    QCOMPARE(TypeInto(t, 5, "$100.00", "1x2.5" + kBack + "7"), "12.7");
    QVERIFY(t.Changed());
    // Backspace first clears, more do no harm; Esc restores the amount from
    // before the first key, the next key starts anew; Esc alone does nothing.
    QCOMPARE(TypeInto(t, 6, "$100.00", kBack + kBack + "12" + kBack + "3"), "13");
    QCOMPARE(TypeInto(t, 6, "13", kEsc), "$100.00");
    QCOMPARE(TypeInto(t, 6, "$100.00", "9"), "9");
    QVERIFY(!t.Key(7, Typing::Escape, "$1.00").setCell);

    // Leaving normalises once; back on the row the first key starts anew.
    TypeInto(t, 4, "$10.00", "12");
    QCOMPARE(t.Row_Changed(4), 0); // still the same row
    QCOMPARE(t.Row_Changed(6), 4);
    QCOMPARE(t.Row_Changed(7), 0);
    QCOMPARE(TypeInto(t, 4, "$12.00", "5"), "5");
    // A row whose amount was replaced from outside starts anew too.
    t.Forget_Row(4);
    QCOMPARE(t.Row_Changed(6), 0);
    QCOMPARE(TypeInto(t, 4, "$300.00", "1"), "1");
}

void tst_PledgeGrid::savingRules()
{
    // Contributors named for their case, with their pledges to the fund.
    QList<TypedRow> rows{{0, "500"}}; // the placeholder row
    auto typed = [&](const QString& name, const QString& text, const QList<double>& stored = {}) {
        rows.append({m_data->AddContributor(name), text});
        for (double amount : stored)
            m_data->AddPledge(rows.last().contributorID, -2025, amount, 7, true);
        return rows.last().contributorID;
    };
    const int added = typed("New", "100");
    const int none = typed("None", "$0.00");
    const int twice = typed("Twice", "15", {10, 20}); // the older one is saved
    typed("Nonsense", "1.2.3", {100});                // zero, and never deleted
    typed("Cent", "520.01", {520}); // 520.01 - 520 is a hair below 0.01 as doubles
    typed("Cents", "0.29", {0.28});
    typed("Less", "100", {100.004}); // less than a cent either way: no change
    typed("More", "100.004", {100});
    typed("Round", "12.346", {10}); // stored as the cents the grid shows
    int steps = 0;
    QCOMPARE(Save_Pledges(-2025, rows, [&steps] { ++steps; }), 6);
    QCOMPARE(steps, rows.size());
    const QStringList saved{"Twice: -2025 15.000 7 1", "Twice: -2025 20.000 7 1", "Nonsense: -2025 0.000 7 1",
                            "Cent: -2025 520.010 7 1", "Cents: -2025 0.290 7 1", "Less: -2025 100.004 7 1",
                            "More: -2025 100.000 7 1", "Round: -2025 12.350 7 1", "New: -2025 100.000 0 0"};
    QCOMPARE(Pledges(), saved);

    // A failure half-way leaves every pledge as it was.
    const int refused = m_data->AddContributor("Refused");
    m_data->DB().Execute("CREATE TRIGGER refuse BEFORE INSERT ON Pledges WHEN NEW.ContributorID = "
                         + QString::number(refused) + " BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    QVERIFY_THROWS_EXCEPTION(DbError, Save_Pledges(-2025, {{twice, "1"}, {added, "2"}, {none, "3"},
                                                           {refused, "4"}}));
    QCOMPARE(Pledges(), saved);
}

QV_TEST_MAIN(tst_PledgeGrid, QCoreApplication)
#include "tst_pledgegrid.moc"

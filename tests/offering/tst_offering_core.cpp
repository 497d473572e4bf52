// The fund/amount lines, the totals of a collection set and the pledged
// share, without any window.
#include "offering/CollectionTotals.h"
#include "offering/modOffering.h"
#include "shell/Helpers.h"
#include "shell/clsDBEvent.h"
#include "shell/modGlobal.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"
#include "support/TestDataSet.h"

#include <QtTest/QTest>

using namespace modOffering;
using CollectionTotals::Build_Totals;
using modGlobal::Pledged_Share;

namespace {
void SetDefaultFunds(int f2, int f3)
{
    clsChurch church;
    church.Get_One_Record(QString());
    church.DefaultFund2(f2);
    church.DefaultFund3(f3);
    church.Update_Record_to_DB();
}

QStringList Texts(const QList<FundItem>& items)
{
    QStringList t;
    for (const FundItem& i : items)
        t << i.text;
    return t;
}

QString Chosen(const OfferingLines& lines, int line)
{
    const OfferingLine& l = lines.at(line - 1);
    return l.HasFund() ? l.items.at(l.selected).text : QStringLiteral("<none>");
}

QStringList Rows(const QList<TotalRow>& rows)
{
    QStringList out;
    for (const TotalRow& r : rows)
        out << r.label + QStringLiteral(" = ") + modGlobal::FormatAmount(r.amount);
    return out;
}
} // namespace

class tst_OfferingCore : public QObject {
    Q_OBJECT
private slots:
    void fundListOrder();
    void emptySetShowsReservedLines();
    void placementRule();
    void onlyTheThirdDefaultFund();
    void inactiveOrMissingFundStaysOnItsLine();
    void moreOfferingsThanLines();
    void savingAddsChangesAndDeletes();
    void validation();
    void refreshKeepsAmountsAndChoices();
    void unpledgedPart();
    void totalsSplitPledgedAndUnpledged();
    void totalsOfAnEmptySet();
    void totalsCountEarlierPaymentsOnceWithTwoEqualPledges();
    void totalsEarlierMeansSmallerNumber();
    void pledgedShare();
};

void tst_OfferingCore::fundListOrder()
{
    TestDataSet data;
    modGlobal::ProcessingYear = 2004;
    data.AddFund(QStringLiteral("Missions"));
    data.AddFund(QStringLiteral("Building Fund"));
    data.AddFund(QStringLiteral("Old Roof"), true, true, true); // inactive: not offered
    const int c = data.AddContributor(QStringLiteral("Smith"));
    data.AddPledge(c, -2007, 100);                 // an active pledge years ahead
    data.AddPledge(c, -2001, 100, 0, true);        // inactive: no item
    data.AddPledge(c, -2004, 100);                 // within the three years anyway
    QCOMPARE(Texts(Fund_List_Items()), (QStringList{"2003 Operating Fund", "2004 Operating Fund", "2005 Operating Fund",
                                                    "2007 Operating Fund", "Building Fund", "Missions"}));
    QCOMPARE(Fund_List_Items().at(1).fundID, -2004);
}

void tst_OfferingCore::emptySetShowsReservedLines()
{
    TestDataSet data;
    const int building = data.AddFund(QStringLiteral("Building Fund"));
    const int missions = data.AddFund(QStringLiteral("Missions"));
    SetDefaultFunds(building, missions);
    const int k = data.AddCollection(QDate(2025, 6, 15));
    const OfferingLines lines = Load_Offering_Lines(1, k, 15);
    QCOMPARE(lines.size(), 15);
    QCOMPARE(Chosen(lines, 1), QStringLiteral("2025 Operating Fund"));
    QCOMPARE(Chosen(lines, 2), QStringLiteral("Building Fund"));
    QCOMPARE(Chosen(lines, 3), QStringLiteral("Missions"));
    for (int i = 4; i <= 15; ++i)
        QCOMPARE(Chosen(lines, i), QStringLiteral("<none>"));
    for (const OfferingLine& l : lines) {
        QCOMPARE(l.amount, QStringLiteral("$0.00"));
        QCOMPARE(l.offeringID, 0);
        QCOMPARE(l.items.size(), 5);
    }
}

void tst_OfferingCore::placementRule()
{
    TestDataSet data;
    const int building = data.AddFund(QStringLiteral("Building Fund"));
    const int missions = data.AddFund(QStringLiteral("Missions"));
    const int flowers = data.AddFund(QStringLiteral("Flowers"));
    SetDefaultFunds(building, missions);
    const int c = data.AddContributor(QStringLiteral("Smith"));
    const int k = data.AddCollection(QDate(2025, 6, 15));
    // Stored in an order that does not match the lines.
    const int oFlowers = data.AddOffering(c, k, flowers, 5);
    const int oBuilding = data.AddOffering(c, k, building, 20);
    const int oMain = data.AddOffering(c, k, -2025, 50);
    const int oPrior = data.AddOffering(c, k, -2024, 10);
    const OfferingLines lines = Load_Offering_Lines(c, k, 7);
    QCOMPARE(lines.at(0).offeringID, oMain);
    QCOMPARE(lines.at(0).amount, QStringLiteral("$50.00"));
    QCOMPARE(lines.at(1).offeringID, oBuilding);
    QCOMPARE(Chosen(lines, 3), QStringLiteral("Missions")); // reserved, still free
    QCOMPARE(lines.at(2).offeringID, 0);
    QCOMPARE(lines.at(3).offeringID, oFlowers);
    QCOMPARE(Chosen(lines, 4), QStringLiteral("Flowers"));
    QCOMPARE(lines.at(4).offeringID, oPrior);
    QCOMPARE(Chosen(lines, 5), QStringLiteral("2024 Operating Fund"));

    // With only one default fund, an ordinary fund may take line 3.
    SetDefaultFunds(building, 0);
    const OfferingLines one = Load_Offering_Lines(c, k, 7);
    QCOMPARE(one.at(2).offeringID, oFlowers);
}

void tst_OfferingCore::onlyTheThirdDefaultFund()
{
    TestDataSet data;
    const int missions = data.AddFund(QStringLiteral("Missions"));
    SetDefaultFunds(0, missions);
    QCOMPARE(Get_Default_Funds(), std::make_pair(missions, missions));
    const int c = data.AddContributor(QStringLiteral("Smith"));
    const int k = data.AddCollection(QDate(2025, 6, 15));
    QCOMPARE(Chosen(Load_Offering_Lines(c, k, 7), 2), QStringLiteral("Missions"));
    QCOMPARE(Chosen(Load_Offering_Lines(c, k, 7), 3), QStringLiteral("Missions"));
    const int o = data.AddOffering(c, k, missions, 12);
    const OfferingLines lines = Load_Offering_Lines(c, k, 7);
    QCOMPARE(lines.at(1).offeringID, o); // on line 2 only
    QCOMPARE(lines.at(2).offeringID, 0);
    QCOMPARE(lines.at(2).amount, QStringLiteral("$0.00"));
}

void tst_OfferingCore::inactiveOrMissingFundStaysOnItsLine()
{
    TestDataSet data;
    const int old = data.AddFund(QStringLiteral("Old Roof"));
    const int c = data.AddContributor(QStringLiteral("Smith"));
    const int k = data.AddCollection(QDate(2025, 6, 15));
    data.AddOffering(c, k, old, 30);
    data.AddOffering(c, k, 99, 7); // a fund that no longer exists
    clsFunds f;
    f.Get_One_Record(QStringLiteral("ID = ") + QString::number(old));
    f.IsInactive(true);
    f.Update_Record_to_DB();
    const OfferingLines lines = Load_Offering_Lines(c, k, 7);
    QCOMPARE(Chosen(lines, 2), QStringLiteral("Old Roof"));
    QCOMPARE(lines.at(1).items.size(), lines.at(0).items.size() + 1);
    QVERIFY(!Texts(lines.at(3).items).contains(QStringLiteral("Old Roof")));
    // The missing fund gets an item with an empty name, left unselected.
    QCOMPARE(lines.at(2).amount, QStringLiteral("$7.00"));
    QVERIFY(!lines.at(2).HasFund());
    QCOMPARE(lines.at(2).items.last().fundID, 99);
}

void tst_OfferingCore::moreOfferingsThanLines()
{
    TestDataSet data;
    const int c = data.AddContributor(QStringLiteral("Smith"));
    const int k = data.AddCollection(QDate(2025, 6, 15));
    for (int i = 0; i < 8; ++i)
        data.AddOffering(c, k, data.AddFund(QStringLiteral("Fund %1").arg(i)), 10 + i);
    OfferingLines lines = Load_Offering_Lines(c, k, 7);
    int shown = 0;
    for (const OfferingLine& l : lines)
        shown += l.offeringID != 0;
    QCOMPARE(shown, 7);
    Save_Offering_Lines(lines, c, k);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering")), 8.0); // the eighth untouched
    QCOMPARE(data.Scalar(QStringLiteral("SELECT Sum(Amount) FROM Offering")), 108.0);
}

void tst_OfferingCore::savingAddsChangesAndDeletes()
{
    TestDataSet data;
    const int missions = data.AddFund(QStringLiteral("Missions"));
    const int c = data.AddContributor(QStringLiteral("Smith"));
    const int k = data.AddCollection(QDate(2025, 6, 15));
    const int kept = data.AddOffering(c, k, -2025, 50);
    const int dropped = data.AddOffering(c, k, missions, 20);
    OfferingLines lines = Load_Offering_Lines(c, k, 7);
    lines[0].amount = QStringLiteral("$55.25");
    lines[1].amount = QStringLiteral("0");          // cleared: deleted on save
    lines[3].amount = QStringLiteral("1,000");      // a new line with a chosen fund
    lines[3].selected = int(lines[3].items.size()) - 1; // Missions
    data.ClearNotices();
    Save_Offering_Lines(lines, c, k);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT Amount FROM Offering WHERE ID = ") + QString::number(kept)), 55.25);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering WHERE ID = ") + QString::number(dropped)), 0.0);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT Amount FROM Offering WHERE FundID = ") + QString::number(missions)), 1000.0);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering")), 2.0);
    QCOMPARE(data.Notices().size(), 3);
    QCOMPARE(data.Notices().at(1), (Notice{dbOffering, false, false, true, dropped, c}));
    // Reloaded, the new offering has its number.
    const OfferingLines again = Load_Offering_Lines(c, k, 7);
    QVERIFY(again.at(1).offeringID != 0);
    QCOMPARE(again.at(1).amount, QStringLiteral("$1,000.00"));
}

void tst_OfferingCore::validation()
{
    TestDataSet data;
    const int k = data.AddCollection(QDate(2025, 6, 15));
    OfferingLines lines = Load_Offering_Lines(1, k, 15);
    QCOMPARE(Validate_Lines(lines), QString());
    lines[5].amount = QStringLiteral("$12.00");
    lines[9].amount = QStringLiteral("($3.00)");
    lines[10].amount = QStringLiteral("$0.00");
    QCOMPARE(Validate_Lines(lines), QStringLiteral("Please select a fund for the $12.00 contribution.\r\n"
                                                   "Please select a fund for the ($3.00) contribution."));
}

void tst_OfferingCore::refreshKeepsAmountsAndChoices()
{
    TestDataSet data;
    const int c = data.AddContributor(QStringLiteral("Smith"));
    const int k = data.AddCollection(QDate(2025, 6, 15));
    const int o = data.AddOffering(c, k, -2025, 40);
    OfferingLines lines = Load_Offering_Lines(c, k, 7);
    data.AddFund(QStringLiteral("Aardvark Fund"));
    Refresh_Fund_Lists(lines);
    QCOMPARE(lines.at(0).offeringID, o);
    QCOMPARE(lines.at(0).amount, QStringLiteral("$40.00"));
    QCOMPARE(Chosen(lines, 1), QStringLiteral("2025 Operating Fund"));
    QVERIFY(Texts(lines.at(6).items).contains(QStringLiteral("Aardvark Fund")));
}

void tst_OfferingCore::unpledgedPart()
{
    QCOMPARE(CollectionTotals::Unpledged_Part(520, 500, 50), 30.0);
    QCOMPARE(CollectionTotals::Unpledged_Part(520, 0, 50), 0.0);
    QCOMPARE(CollectionTotals::Unpledged_Part(0, 0, 50), 50.0);
    QCOMPARE(CollectionTotals::Unpledged_Part(100, 150, 50), 50.0); // an over-paid pledge
    QCOMPARE(CollectionTotals::Unpledged_Part(100, 150, -20), 0.0); // a correction counts as pledged
}

void tst_OfferingCore::totalsSplitPledgedAndUnpledged()
{
    TestDataSet data;
    const int missions = data.AddFund(QStringLiteral("Missions"));
    const int building = data.AddFund(QStringLiteral("Building Fund"));
    const int smith = data.AddContributor(QStringLiteral("Smith"));
    const int jones = data.AddContributor(QStringLiteral("Jones"));
    const int brown = data.AddContributor(QStringLiteral("Brown"));
    data.AddPledge(smith, -2025, 520);
    data.AddPledge(jones, -2025, 1000);
    const int k1 = data.AddCollection(QDate(2025, 1, 5));
    const int k2 = data.AddCollection(QDate(2025, 1, 12));
    data.AddOffering(smith, k1, -2025, 500);
    data.AddOffering(smith, k2, -2025, 50);  // 20 pledged, 30 unpledged
    data.AddOffering(jones, k2, -2025, 100); // no earlier payment: all pledged
    data.AddOffering(brown, k2, -2025, 25);  // no pledge: all unpledged
    data.AddOffering(1, k2, -2025, 12.34);   // loose offering: unpledged
    data.AddOffering(smith, k2, -2024, 15);  // prior year
    data.AddOffering(jones, k2, -2026, 40);  // pre-paid
    data.AddOffering(jones, k2, -2023, 5);   // two years back
    data.AddOffering(1, k2, missions, 7.5);
    data.AddOffering(brown, k2, building, 100);
    data.AddOffering(smith, k2, building, 0.1);
    QCOMPARE(Rows(Build_Totals(k2, 2025)),
             (QStringList{"2025 Operating Fund - Pledged = $120.00", "2025 Operating Fund - Unpledged = $67.34",
                          "2023 (Prior Year) Operating Fund = $5.00", "2024 (Prior Year) Operating Fund = $15.00",
                          "2026 (Pre-Paid) Operating Fund = $40.00", "Building Fund = $100.10", "Missions = $7.50",
                          "Total Amount Collected = $354.94"}));
    QVERIFY(Build_Totals(k2, 2025).last().doubleHeight);
}

void tst_OfferingCore::totalsOfAnEmptySet()
{
    TestDataSet data;
    const int k = data.AddCollection(QDate(2025, 1, 5));
    QCOMPARE(Rows(Build_Totals(k, 2025)), (QStringList{"2025 Operating Fund - Pledged = $0.00",
                                                       "2025 Operating Fund - Unpledged = $0.00",
                                                       "Total Amount Collected = $0.00"}));
}

void tst_OfferingCore::totalsCountEarlierPaymentsOnceWithTwoEqualPledges()
{
    TestDataSet data;
    const int smith = data.AddContributor(QStringLiteral("Smith"));
    data.AddPledge(smith, -2025, 520);
    data.AddPledge(smith, -2025, 520); // entered twice by mistake
    const int k1 = data.AddCollection(QDate(2025, 1, 5));
    const int k2 = data.AddCollection(QDate(2025, 1, 12));
    data.AddOffering(smith, k1, -2025, 500);
    data.AddOffering(smith, k2, -2025, 50);
    // 500 paid before, not 1,000: 20 still owed.
    QCOMPARE(Rows(Build_Totals(k2, 2025)).mid(0, 2), (QStringList{"2025 Operating Fund - Pledged = $20.00",
                                                                  "2025 Operating Fund - Unpledged = $30.00"}));
}

void tst_OfferingCore::totalsEarlierMeansSmallerNumber()
{
    TestDataSet data;
    const int smith = data.AddContributor(QStringLiteral("Smith"));
    data.AddPledge(smith, -2025, 100);
    const int later = data.AddCollection(QDate(2025, 3, 1));
    const int earlierDate = data.AddCollection(QDate(2025, 2, 1)); // made afterwards for an earlier date
    data.AddOffering(smith, later, -2025, 80);
    data.AddOffering(smith, earlierDate, -2025, 80);
    // The set with the larger number sees the other as before, whatever the dates.
    QCOMPARE(Build_Totals(earlierDate, 2025).at(0).amount, 20.0);
    QCOMPARE(Build_Totals(later, 2025).at(0).amount, 80.0);
    // The pledged share goes by date instead.
    QCOMPARE(Pledged_Share(-2025, smith, later, 80, QDate(2025, 3, 1)), 20.0);
    QCOMPARE(Pledged_Share(-2025, smith, earlierDate, 80, QDate(2025, 2, 1)), 80.0);
}

void tst_OfferingCore::pledgedShare()
{
    TestDataSet data;
    const int smith = data.AddContributor(QStringLiteral("Smith"));
    const int nopledge = data.AddContributor(QStringLiteral("Jones"));
    data.AddPledge(smith, -2025, 520, 7, true); // inactive pledges count too
    const int k1 = data.AddCollection(QDate(2025, 1, 5));
    const int k2 = data.AddCollection(QDate(2025, 1, 12));
    const int k3 = data.AddCollection(QDate(2025, 1, 12)); // same date, larger number
    data.AddOffering(smith, k1, -2025, 500);
    data.AddOffering(smith, k2, -2025, 15);
    data.AddOffering(smith, k3, -2025, 50);
    QCOMPARE(Pledged_Share(-2025, smith, k2, 15, QDate(2025, 1, 12)), 15.0); // within what is owed
    QCOMPARE(Pledged_Share(-2025, smith, k3, 50, QDate(2025, 1, 12)), 5.0);  // 515 paid before
    QCOMPARE(Pledged_Share(-2025, smith, k2, 50, QDate(2025, 1, 12)), 20.0); // k3 is not before k2
    QCOMPARE(Pledged_Share(-2025, nopledge, k2, 50, QDate(2025, 1, 12)), 0.0);
    const int k4 = data.AddCollection(QDate(2025, 2, 1));
    data.AddOffering(smith, k4, -2025, 10);
    QCOMPARE(Pledged_Share(-2025, smith, k4, 10, QDate(2025, 2, 1)), 0.0); // pledge exceeded
    // Offerings of the set itself never count as before.
    QCOMPARE(Pledged_Share(-2025, smith, k1, 500, QDate(2025, 1, 5)), 500.0);
}

QV_TEST_MAIN(tst_OfferingCore)
#include "tst_offering_core.moc"

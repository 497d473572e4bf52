// The fund/amount lines, the totals of a collection set and the pledged
// share, without any window.
#include "offering/CollectionTotals.h"
#include "offering/modOffering.h"
#include "core/Helpers.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "support/ChurchSettings.h"
#include "support/TestDataSet.h"

#include <QtTest/QTest>
#include <algorithm>

using namespace modOffering;
using CollectionTotals::Build_Totals;
using modGlobal::Pledged_Share;

namespace {
QStringList Texts(const QList<FundItem>& items)
{
    QStringList t;
    for (const FundItem& i : items)
        t << i.text;
    return t;
}

// Each line as "fund=amount#offering", "-" for a line without a fund.
QStringList Shown(const OfferingLines& lines)
{
    QStringList out;
    for (const OfferingLine& l : lines)
        out << (l.HasFund() ? l.items.at(l.selected).text : "-") + QLatin1Char('=') + l.amount
                + QLatin1Char('#') + QString::number(l.offeringID);
    return out;
}

QStringList Rows(const QList<TotalRow>& rows)
{
    QStringList out;
    for (const TotalRow& r : rows)
        out << r.label + " = " + modGlobal::FormatAmount(r.amount);
    return out;
}
} // namespace

class tst_OfferingCore : public QObject {
    Q_OBJECT
private slots:
    void fundListOrder();
    void placement();
    void inactiveOrMissingFundStaysOnItsLine();
    void moreOfferingsThanLines();
    void savingAddsChangesAndDeletes();
    void validationAndRefresh();
    void totalsSplitPledgedAndUnpledged();
    void pledgedShare();
};

void tst_OfferingCore::fundListOrder()
{
    TestDataSet data;
    modGlobal::ProcessingYear = 2004;
    data.AddFund("Missions");
    data.AddFund("Building Fund");
    data.AddFund("Old Roof", true, true, true); // inactive: not offered
    const int c = data.AddContributor("Smith");
    data.AddPledge(c, -2007, 100);          // an active pledge years ahead
    data.AddPledge(c, -2001, 100, 0, true); // inactive: no item
    data.AddPledge(c, -2004, 100);          // within the three years anyway
    QCOMPARE(Texts(Fund_List_Items()), (QStringList{"2003 Operating Fund", "2004 Operating Fund", "2005 Operating Fund",
                                                    "2007 Operating Fund", "Building Fund", "Missions"}));
    QCOMPARE(Fund_List_Items().at(1).fundID, -2004);
}

void tst_OfferingCore::placement()
{
    TestDataSet data;
    const int building = data.AddFund("Building Fund");
    const int missions = data.AddFund("Missions");
    const int flowers = data.AddFund("Flowers");
    SetReportFunds(building, missions);
    const int c = data.AddContributor("Smith");
    const int k = data.AddCollection(QDate(2025, 6, 15));
    // An empty set shows the main fund and the two default funds on lines 1 to 3.
    QCOMPARE(Shown(Load_Offering_Lines(c, k, 5)), (QStringList{"2025 Operating Fund=$0.00#0", "Building Fund=$0.00#0",
                                                               "Missions=$0.00#0", "-=$0.00#0", "-=$0.00#0"}));

    // Stored in an order that does not match the lines; line 3 stays free for its fund.
    const int oFlowers = data.AddOffering(c, k, flowers, 5);
    const int oBuilding = data.AddOffering(c, k, building, 20);
    const int oMain = data.AddOffering(c, k, -2025, 50);
    const int oPrior = data.AddOffering(c, k, -2024, 10);
    QCOMPARE(Shown(Load_Offering_Lines(c, k, 6)),
             (QStringList{QStringLiteral("2025 Operating Fund=$50.00#%1").arg(oMain),
                          QStringLiteral("Building Fund=$20.00#%1").arg(oBuilding), "Missions=$0.00#0",
                          QStringLiteral("Flowers=$5.00#%1").arg(oFlowers),
                          QStringLiteral("2024 Operating Fund=$10.00#%1").arg(oPrior), "-=$0.00#0"}));

    // With only one default fund, an ordinary fund may take line 3.
    SetReportFunds(building, 0);
    QCOMPARE(Load_Offering_Lines(c, k, 7).at(2).offeringID, oFlowers);
    // Only the third default fund: it serves line 2, its offering goes there alone.
    SetReportFunds(0, missions);
    QCOMPARE(Get_Default_Funds(), std::make_pair(missions, missions));
    const int oMissions = data.AddOffering(c, k, missions, 12);
    const OfferingLines lines = Load_Offering_Lines(c, k, 7);
    QCOMPARE(lines.at(1).offeringID, oMissions);
    QCOMPARE(Shown(lines).at(2), "Missions=$0.00#0");
}

void tst_OfferingCore::inactiveOrMissingFundStaysOnItsLine()
{
    TestDataSet data;
    const int c = data.AddContributor("Smith");
    const int k = data.AddCollection(QDate(2025, 6, 15));
    const int oOld = data.AddOffering(c, k, data.AddFund("Old Roof", true, true, true), 30);
    const int oGone = data.AddOffering(c, k, 99, 7); // a fund that no longer exists
    const OfferingLines lines = Load_Offering_Lines(c, k, 7);
    QCOMPARE(Shown(lines).at(1), QStringLiteral("Old Roof=$30.00#%1").arg(oOld));
    QCOMPARE(lines.at(1).items.size(), lines.at(0).items.size() + 1);
    QVERIFY(!Texts(lines.at(3).items).contains("Old Roof"));
    // The missing fund gets an item with an empty name, left unselected.
    QCOMPARE(Shown(lines).at(2), QStringLiteral("-=$7.00#%1").arg(oGone));
    QCOMPARE(lines.at(2).items.last().fundID, 99);
}

void tst_OfferingCore::moreOfferingsThanLines()
{
    TestDataSet data;
    const int c = data.AddContributor("Smith");
    const int k = data.AddCollection(QDate(2025, 6, 15));
    for (int i = 0; i < 8; ++i)
        data.AddOffering(c, k, data.AddFund(QStringLiteral("Fund %1").arg(i)), 10 + i);
    OfferingLines lines = Load_Offering_Lines(c, k, 7);
    QCOMPARE(int(std::count_if(lines.begin(), lines.end(), [](const OfferingLine& l) { return l.offeringID != 0; })), 7);
    Save_Offering_Lines(lines, c, k);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Offering"), 8.0); // the eighth untouched
    QCOMPARE(data.Scalar("SELECT Sum(Amount) FROM Offering"), 108.0);
}

void tst_OfferingCore::savingAddsChangesAndDeletes()
{
    TestDataSet data;
    const int missions = data.AddFund("Missions");
    const int c = data.AddContributor("Smith");
    const int k = data.AddCollection(QDate(2025, 6, 15));
    const int kept = data.AddOffering(c, k, -2025, 50);
    const int dropped = data.AddOffering(c, k, missions, 20);
    OfferingLines lines = Load_Offering_Lines(c, k, 7);
    lines[0].amount = "$55.25";
    lines[1].amount = "0";                // cleared: deleted on save
    lines[3].amount = "1,000";            // a new line with a chosen fund
    lines[3].selected = int(lines[3].items.size()) - 1; // Missions
    data.ClearNotices();
    Save_Offering_Lines(lines, c, k);
    QCOMPARE(data.Scalar("SELECT Amount FROM Offering WHERE ID = " + QString::number(kept)), 55.25);
    QCOMPARE(data.Scalar("SELECT Amount FROM Offering WHERE FundID = " + QString::number(missions)), 1000.0);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Offering"), 2.0);
    QCOMPARE(data.Notices().size(), 3);
    QCOMPARE(data.Notices().at(1), (Notice{dbOffering, false, false, true, dropped, c}));
    // Reloaded, the new offering has its number.
    const OfferingLines again = Load_Offering_Lines(c, k, 7);
    QVERIFY(again.at(1).offeringID != 0);
    QCOMPARE(again.at(1).amount, "$1,000.00");
}

void tst_OfferingCore::validationAndRefresh()
{
    TestDataSet data;
    const int k = data.AddCollection(QDate(2025, 6, 15));
    const int o = data.AddOffering(1, k, -2025, 40);
    OfferingLines lines = Load_Offering_Lines(1, k, 15);
    QCOMPARE(Validate_Lines(lines), QString());
    lines[5].amount = "$12.00";
    lines[9].amount = "($3.00)";
    lines[10].amount = "$0.00";
    QCOMPARE(Validate_Lines(lines), QStringLiteral("Please select a fund for the $12.00 contribution.\r\n"
                                                   "Please select a fund for the ($3.00) contribution."));
    // A new fund reaches every list; amounts and choices stay.
    data.AddFund("Aardvark Fund");
    Refresh_Fund_Lists(lines);
    QCOMPARE(Shown(lines).at(0), QStringLiteral("2025 Operating Fund=$40.00#%1").arg(o));
    QCOMPARE(lines.at(5).amount, "$12.00");
    QVERIFY(Texts(lines.at(6).items).contains("Aardvark Fund"));
}

void tst_OfferingCore::totalsSplitPledgedAndUnpledged()
{
    QCOMPARE(CollectionTotals::Unpledged_Part(520, 500, 50), 30.0);
    QCOMPARE(CollectionTotals::Unpledged_Part(520, 0, 50), 0.0);
    QCOMPARE(CollectionTotals::Unpledged_Part(0, 0, 50), 50.0);
    QCOMPARE(CollectionTotals::Unpledged_Part(100, 150, 50), 50.0); // an over-paid pledge
    QCOMPARE(CollectionTotals::Unpledged_Part(100, 150, -20), 0.0); // a correction counts as pledged

    TestDataSet data;
    const int missions = data.AddFund("Missions");
    const int building = data.AddFund("Building Fund");
    const int smith = data.AddContributor("Smith");
    const int jones = data.AddContributor("Jones");
    const int brown = data.AddContributor("Brown");
    const int twice = data.AddContributor("Twice");
    data.AddPledge(smith, -2025, 520);
    data.AddPledge(jones, -2025, 1000);
    data.AddPledge(twice, -2025, 520);
    data.AddPledge(twice, -2025, 520); // entered twice by mistake: counts once
    const int k1 = data.AddCollection(QDate(2025, 1, 5));
    const int k2 = data.AddCollection(QDate(2025, 1, 12));
    const int empty = data.AddCollection(QDate(2025, 1, 19));
    data.AddOffering(smith, k1, -2025, 500);
    data.AddOffering(smith, k2, -2025, 50);  // 20 pledged, 30 unpledged
    data.AddOffering(twice, k1, -2025, 500);
    data.AddOffering(twice, k2, -2025, 50); // 500 paid before, not 1,000: 20 pledged, 30 unpledged
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
             (QStringList{"2025 Operating Fund - Pledged = $140.00", "2025 Operating Fund - Unpledged = $97.34",
                          "2023 (Prior Year) Operating Fund = $5.00", "2024 (Prior Year) Operating Fund = $15.00",
                          "2026 (Pre-Paid) Operating Fund = $40.00", "Building Fund = $100.10", "Missions = $7.50",
                          "Total Amount Collected = $404.94"}));
    QVERIFY(Build_Totals(k2, 2025).last().doubleHeight);
    QCOMPARE(Rows(Build_Totals(empty, 2025)), (QStringList{"2025 Operating Fund - Pledged = $0.00",
                                                           "2025 Operating Fund - Unpledged = $0.00",
                                                           "Total Amount Collected = $0.00"}));
}

void tst_OfferingCore::pledgedShare()
{
    TestDataSet data;
    const int smith = data.AddContributor("Smith");
    const int nopledge = data.AddContributor("Nopledge");
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

    // A set made afterwards for an earlier date: the pledged share goes by
    // date, the totals by number.
    const int jones = data.AddContributor("Jones");
    data.AddPledge(jones, -2025, 100);
    const int later = data.AddCollection(QDate(2025, 3, 1));
    const int earlierDate = data.AddCollection(QDate(2025, 2, 8));
    data.AddOffering(jones, later, -2025, 80);
    data.AddOffering(jones, earlierDate, -2025, 80);
    QCOMPARE(Pledged_Share(-2025, jones, later, 80, QDate(2025, 3, 1)), 20.0);
    QCOMPARE(Pledged_Share(-2025, jones, earlierDate, 80, QDate(2025, 2, 8)), 80.0);
    QCOMPARE(Build_Totals(earlierDate, 2025).at(0).amount, 20.0);
    QCOMPARE(Build_Totals(later, 2025).at(0).amount, 80.0);
}

QV_TEST_MAIN(tst_OfferingCore, QCoreApplication)
#include "tst_offering_core.moc"

// The record classes: setter rules, the changed flag, what each write sends
// to the notifier, and the refusals that protect records with offerings.
#include "shell/Helpers.h"
#include "shell/clsDBEvent.h"
#include "shell/modGlobal.h"
#include "storage/Connection.h"
#include "storage/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"
#include "support/TestDataSet.h"

#include <QtTest/QTest>

using namespace modGlobal;
using Messages::Answer;

class tst_Records : public QObject {
    Q_OBJECT
private slots:
    void churchSetterRules();
    void churchUpdateOnlyWhenChanged();
    void missingChurchRowGivesDefaults();
    void fundsAddUpdateDeleteAndTheirNotices();
    void duplicateFundNames();
    void fundDeleteRefusals();
    void contributorsSaveAndDelete();
    void contributorDeleteRefusals();
    void contributorSavedAgainAfterDeletion();
    void pledgesWriteAndRefuseDelete();
    void collectionKeysAndDates();
    void offeringsAndTheirUse();
    void commentsAreStoredUnchanged();
};

void tst_Records::churchSetterRules()
{
    TestDataSet data;
    clsChurch church;
    church.Get_One_Record(QString());
    church.ChurchName(QString(45, QLatin1Char('x')));
    QCOMPARE(church.ChurchName().size(), 40);
    church.Address1(QStringLiteral("12 Elm St     "));
    QCOMPARE(church.Address1(), QStringLiteral("12 Elm St"));
    church.State(QStringLiteral("Oregon"));
    QCOMPARE(church.State(), QStringLiteral("Or"));
    church.DayOfWeek(9);
    QCOMPARE(church.DayOfWeek(), short(6));
    church.DayOfWeek(-2);
    QCOMPARE(church.DayOfWeek(), short(0));
    church.Update_Record_to_DB();
    clsChurch again;
    again.Get_One_Record(QStringLiteral("ID = 1"));
    QCOMPARE(again.ChurchName(), QString(40, QLatin1Char('x')));
    QCOMPARE(again.Address1(), QStringLiteral("12 Elm St"));
    QCOMPARE(again.State(), QStringLiteral("Or"));
}

void tst_Records::churchUpdateOnlyWhenChanged()
{
    TestDataSet data;
    clsChurch church;
    QVERIFY(church.Changed()); // a new object counts as changed
    church.Get_One_Record(QString());
    QVERIFY(!church.Changed());
    church.Update_Record_to_DB();
    QVERIFY(data.Notices().isEmpty());

    // Setting the value it already holds (after the setter's own rules) changes nothing.
    church.Password(church.Password() + QStringLiteral("   "));
    church.DayOfWeek(church.DayOfWeek());
    QVERIFY(!church.Changed());

    church.ChurchName(QStringLiteral("Grace Church"));
    QVERIFY(church.Changed());
    church.Update_Record_to_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbChurch, false, true, false, 1, 0}}));
    clsChurch stored;
    stored.Get_One_Record(QString());
    QCOMPARE(stored.ChurchName(), QStringLiteral("Grace Church"));
    // Reading the church sets the envelope default of new contributors.
    stored.AssignEnv(false);
    stored.Update_Record_to_DB();
    stored.Get_One_Record(QString());
    QVERIFY(!AssignEnvelopes);
}

void tst_Records::missingChurchRowGivesDefaults()
{
    TestDataSet data;
    clsChurch church;
    church.Password(QStringLiteral("KEEP"));
    church.ChurchName(QStringLiteral("Old"));
    church.AssignEnv(false);
    church.Get_One_Record(QStringLiteral("ID = 2"));
    QCOMPARE(church.ID(), 0);
    QCOMPARE(church.ChurchName(), QString());
    QCOMPARE(church.Password(), QStringLiteral("KEEP"));
    QVERIFY(church.AssignEnv());
    QVERIFY(!church.Changed());
}

void tst_Records::fundsAddUpdateDeleteAndTheirNotices()
{
    TestDataSet data;
    clsFunds fund;
    fund.Get_One_Record(QStringLiteral("ID = 0"));
    QVERIFY(fund.IsTaxDeductible()); // a new fund starts tax-deductible
    QVERIFY(!fund.IsPledgeable());
    fund.FundName(QStringLiteral("A fund whose name is much longer than thirty"));
    QCOMPARE(fund.FundName(), QStringLiteral("A fund whose name is much long"));
    fund.Add_Record_to_DB();
    QCOMPARE(fund.ID(), 2);

    clsFunds same;
    same.ID(2);
    same.Get_One_Record(QString()); // empty where: the current ID
    QCOMPARE(same.FundName(), QStringLiteral("A fund whose name is much long"));
    same.Update_Record_to_DB(); // unchanged: nothing
    same.IsInactive(true);
    same.Update_Record_to_DB();
    same.Delete_Record_from_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbFunds, true, false, false, 2, 0},
                                             {dbFunds, false, true, false, 2, 0},
                                             {dbFunds, false, false, true, 2, 0}}));
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Funds")), 1.0);
}

void tst_Records::duplicateFundNames()
{
    TestDataSet data;
    data.AddFund(QStringLiteral("Building Fund"));
    clsFunds fund;
    fund.FundName(QStringLiteral("Building Fund   "));
    data.Messages().Expect(QStringLiteral("A fund named Building Fund has already been created."));
    QVERIFY(!fund.OK_to_Add(true));
    QCOMPARE(data.Messages().Seen().last().title, QStringLiteral("Duplicate Fund"));
    QCOMPARE(data.Messages().Seen().last().icon, Messages::Icon::Information);
    fund.FundName(QStringLiteral("building fund"));
    QVERIFY(!fund.OK_to_Add(false)); // silent when asked to be
    fund.FundName(QStringLiteral("Bob's Fund"));
    QVERIFY(fund.OK_to_Add(true));
}

void tst_Records::fundDeleteRefusals()
{
    TestDataSet data;
    const int used = data.AddFund(QStringLiteral("Missions"));
    const int pledgedOnly = data.AddFund(QStringLiteral("Building"));
    const int c = data.AddContributor(QStringLiteral("Smith"));
    data.AddPledge(c, pledgedOnly, 100);
    data.AddOffering(c, data.AddCollection(QDate(2025, 1, 5)), used, 10);

    int openFund = 0;
    SetFindOpenWindow([&](int kind, int id, bool) { return kind == 1 && id == openFund; });

    clsFunds f;
    f.Get_One_Record(QStringLiteral("ID = ") + QString::number(used));
    data.Messages().Expect(QStringLiteral("Offering has been collected for this Fund, so it cannot be deleted."));
    QVERIFY(!f.OK_to_Delete(true));
    QCOMPARE(data.Messages().Seen().last().title, QStringLiteral("Delete"));

    f.Get_One_Record(QStringLiteral("ID = ") + QString::number(pledgedOnly));
    QVERIFY(f.OK_to_Delete(true)); // pledges alone do not hold a fund
    openFund = pledgedOnly;
    data.Messages().Expect(QStringLiteral("This Fund is currently being edited, so it cannot be deleted."));
    QVERIFY(!f.OK_to_Delete(true));
    QVERIFY(!f.OK_to_Delete(false));
    QCOMPARE(data.Messages().Seen().size(), 2);
    // Deleting leaves the pledges naming the fund in place.
    openFund = 0;
    f.Delete_Record_from_DB();
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges WHERE FundID = ") + QString::number(pledgedOnly)), 1.0);
}

void tst_Records::contributorsSaveAndDelete()
{
    TestDataSet data;
    clsContributors c;
    c.Get_One_Record(QStringLiteral("ID = 0"));
    QVERIFY(c.UseEnvelopes()); // the church's default
    c.Save_to_DB();            // nothing changed: nothing written
    QCOMPARE(c.ID(), 0);
    c.LastName(QStringLiteral("O'Neil"));
    c.FirstNames(QStringLiteral("Renée"));
    c.Phone(QStringLiteral("555-0100"));
    c.Save_to_DB();
    QCOMPARE(c.ID(), 2);
    c.City(QStringLiteral("Salem"));
    c.Save_to_DB();
    data.AddPledge(c.ID(), -2025, 520, 7);
    data.AddPledge(c.ID(), 3, 50, 10001);
    const int other = data.AddContributor(QStringLiteral("Keep"));
    data.AddPledge(other, -2025, 100, 8);
    data.ClearNotices();

    clsContributors stored;
    stored.Get_One_Record(QStringLiteral("LastName = 'O''Neil'"));
    QCOMPARE(stored.FirstNames(), QStringLiteral("Renée"));
    QCOMPARE(stored.City(), QStringLiteral("Salem"));
    QVERIFY(stored.OK_to_Delete(true));
    stored.Delete_Record_from_DB();
    // One notice for the contributor; its pledges went with it.
    QCOMPARE(data.Notices(), (QList<Notice>{{dbContributors, false, false, true, 2, 0}}));
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges")), 1.0);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Contributors")), 1.0);
}

void tst_Records::contributorDeleteRefusals()
{
    TestDataSet data;
    const int giver = data.AddContributor(QStringLiteral("Giver"));
    const int editing = data.AddContributor(QStringLiteral("Editing"));
    data.AddOffering(giver, data.AddCollection(QDate(2025, 1, 5)), -2025, 5);
    SetFindOpenWindow([&](int kind, int id, bool) { return kind == 2 && id == editing; });
    clsContributors c;
    c.ID(giver);
    c.Get_One_Record(QString());
    data.Messages().Expect(QStringLiteral("Offering has been collected for this Contributor, so it cannot be deleted."));
    QVERIFY(!c.OK_to_Delete(true));
    c.ID(editing);
    c.Get_One_Record(QString());
    data.Messages().Expect(QStringLiteral("This Contributor is currently being edited, so it cannot be deleted."));
    QVERIFY(!c.OK_to_Delete(true));
}

void tst_Records::contributorSavedAgainAfterDeletion()
{
    TestDataSet data;
    clsContributors c;
    c.LastName(QStringLiteral("Smith"));
    c.Save_to_DB();
    const int id = c.ID();
    data.DB().Execute(QStringLiteral("DELETE FROM Contributors"));
    data.ClearNotices();
    c.FirstNames(QStringLiteral("Ann"));
    c.Save_to_DB();
    QCOMPARE(c.ID(), id);
    QCOMPARE(data.Notices(), (QList<Notice>{{dbContributors, true, false, false, id, 0}}));
    QCOMPARE(data.Scalar(QStringLiteral("SELECT ID FROM Contributors WHERE FirstNames = 'Ann'")), double(id));
}

void tst_Records::pledgesWriteAndRefuseDelete()
{
    TestDataSet data;
    const int c = data.AddContributor(QStringLiteral("Smith"));
    data.ClearNotices();
    clsPledges p;
    p.ContributorID(c);
    p.FundID(-2025);
    p.AccountNumber(7);
    p.Amount(50);
    p.Notes(QStringLiteral("Card received   "));
    p.Save_to_DB();
    const int id = p.ID();
    p.Save_to_DB(); // the flag stays set, so this writes again as a change
    clsPledges stored;
    stored.Get_One_Record(QStringLiteral("ID = ") + QString::number(id));
    QCOMPARE(stored.AccountNumber(), 7);
    QCOMPARE(stored.Amount(), 50.0);
    stored.Amount(50.0);
    stored.Save_to_DB(); // same value: nothing
    QCOMPARE(data.Notices(), (QList<Notice>{{dbPledges, true, false, false, id, c}, {dbPledges, false, true, false, id, c}}));

    QVERIFY(stored.OK_to_Delete(true)); // nothing given yet
    const int k = data.AddCollection(QDate(2025, 1, 5));
    data.AddOffering(c, k, -2024, 10); // last year's main fund: not this pledge
    QVERIFY(stored.OK_to_Delete(true));
    data.AddOffering(c, k, -2025, 10);
    data.Messages().Expect(QStringLiteral("Offering has been collected for this Pledge, so it cannot be deleted."));
    QVERIFY(!stored.OK_to_Delete(true));
    stored.Amount(0.004); // a pledge of (nearly) nothing may always go
    QVERIFY(stored.OK_to_Delete(true));
    data.ClearNotices();
    stored.Delete_Record_from_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbPledges, false, false, true, id, c}}));
}

void tst_Records::collectionKeysAndDates()
{
    TestDataSet data;
    clsCollection first;
    first.CollectionDate(QDate(2024, 12, 29));
    first.Notation(QStringLiteral("Christmas Sunday with a notation longer than forty chars"));
    first.Save_to_DB();
    QCOMPARE(first.ID(), 1);
    clsCollection second;
    second.CollectionDate(QDate(2025, 1, 5));
    second.Save_to_DB();
    QCOMPARE(second.ID(), 2);
    clsCollection stored;
    stored.Get_One_Record(QStringLiteral("ID = 1"));
    QCOMPARE(stored.CollectionDate(), QDate(2024, 12, 29));
    QCOMPARE(stored.Notation(), QStringLiteral("Christmas Sunday with a notation longer")); // cut at 40, blank dropped
    stored.CollectionDate(QDate(2024, 12, 28));
    stored.Save_to_DB();
    QVERIFY(stored.OK_to_Delete(true));
    const int offering = data.AddOffering(5, 1, -2024, 20);
    data.ClearNotices();
    stored.Delete_Record_from_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbCollection, false, false, true, 1, 0}}));
    // Only the set goes; its offerings stay.
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering WHERE ID = ") + QString::number(offering)), 1.0);
    stored.Get_One_Record(QStringLiteral("ID = 1"));
    QCOMPARE(stored.ID(), 0);
    QCOMPARE(stored.CollectionDate(), ZeroDate());
}

void tst_Records::offeringsAndTheirUse()
{
    TestDataSet data;
    const int fund = data.AddFund(QStringLiteral("Missions"));
    const int pledged = data.AddFund(QStringLiteral("Building"));
    const int c = data.AddContributor(QStringLiteral("Smith"));
    data.AddPledge(c, pledged, 100);
    const int k = data.AddCollection(QDate(2025, 1, 5));
    data.ClearNotices();
    clsOffering o;
    o.ContributorID(c);
    o.CollectionID(k);
    o.FundID(fund);
    o.Amount(12.34);
    o.Add_Record_to_DB();
    o.Amount(-5.5);
    o.Update_Record_to_DB();
    clsOffering stored;
    stored.Get_One_Record(QStringLiteral("ID = ") + QString::number(o.ID()));
    QCOMPARE(stored.Amount(), -5.5);
    QCOMPARE(stored.FundID(), fund);
    QCOMPARE(data.Notices(), (QList<Notice>{{dbOffering, true, false, false, o.ID(), c},
                                             {dbOffering, false, true, false, o.ID(), c}}));
    clsOffering asker;
    QVERIFY(asker.Fund_Used(fund));
    QVERIFY(!asker.Fund_Used(pledged)); // pledges are not offerings
    QVERIFY(asker.Contributor_Used(c));
    QVERIFY(!asker.Contributor_Used(c + 1));
    QVERIFY(asker.Pledge_Used(c, fund));
    QVERIFY(!asker.Pledge_Used(c, pledged));
    QCOMPARE(asker.ID(), 0);
    stored.Delete_Record_from_DB();
    QVERIFY(!asker.Fund_Used(fund));
}

void tst_Records::commentsAreStoredUnchanged()
{
    TestDataSet data;
    const QString where = QStringLiteral("((ContributorID = 5) AND (CollectionID = 3))");
    clsColComments comment;
    comment.Get_One_Record(where);
    QCOMPARE(comment.ID(), 0);
    comment.ContributorID(5);
    comment.CollectionID(3);
    comment.Comment(QStringLiteral("Check #1234 for Bob's \"flowers\" fund"));
    comment.Add_Record_to_DB();
    clsColComments edit;
    edit.Get_One_Record(where);
    QCOMPARE(edit.Comment(), QStringLiteral("Check #1234 for Bob's \"flowers\" fund"));
    data.ClearNotices();
    edit.Comment(QStringLiteral("Cash"));
    edit.Update_Record_to_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbColComment, false, true, false, edit.ID(), 5}}));
    edit.Delete_Record_from_DB();
    QCOMPARE(data.Scalar(QStringLiteral("SELECT COUNT(*) FROM ColComment")), 0.0);
}

QV_TEST_MAIN(tst_Records)
#include "tst_records.moc"

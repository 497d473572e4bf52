// The record classes: setter rules, the changed flag, what each write sends
// to the notifier, and the refusals that protect records with offerings;
// text that is not what it should be (control characters, a NUL, characters
// outside the basic plane) stored clean and whole.
#include "support/CoreTest.h"
#include "core/clsDBEvent.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"
#include "core/modDBConnection.h"

using namespace modGlobal;

namespace {
QString WhereID(int id)
{
    return "ID = " + QString::number(id);
}
} // namespace

class tst_Records : public QObject {
    Q_OBJECT
private slots:
    void churchSetterRulesAndChangedFlag();
    void fundsWritesNamesAndDeleteRefusals();
    void contributorsSaveDeleteAndRefusals();
    void pledgesWriteAndRefuseDelete();
    void collectionsOfferingsAndComments();
    void textIsStoredWithoutControlCharacters();
    void cuttingToAColumnNeverSplitsACharacter();
};

void tst_Records::churchSetterRulesAndChangedFlag()
{
    TestDataSet data;
    clsChurch church;
    QVERIFY(church.Changed()); // a new object counts as changed
    church.Get_One_Record(QString());
    QVERIFY(!church.Changed());
    church.Update_Record_to_DB();
    // Setting the value it already holds (after the setter's own rules) changes nothing.
    church.Password(church.Password() + "   ");
    church.DayOfWeek(church.DayOfWeek());
    QVERIFY(!church.Changed());
    church.Update_Record_to_DB();
    QVERIFY(data.Notices().isEmpty());

    church.ChurchName(QString(45, QLatin1Char('x')));
    church.Address1("12 Elm St     ");
    church.State("Oregon");
    church.DayOfWeek(9);
    QCOMPARE(church.DayOfWeek(), short(6));
    church.DayOfWeek(-2);
    QCOMPARE(church.DayOfWeek(), short(0));
    church.Update_Record_to_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbChurch, false, true, false, 1, 0}}));
    clsChurch stored;
    stored.Get_One_Record("ID = 1");
    QCOMPARE(stored.ChurchName(), QString(40, QLatin1Char('x')));
    QCOMPARE(stored.Address1(), "12 Elm St");
    QCOMPARE(stored.State(), "Or");
    // A missing row gives the defaults; the password keeps what it held.
    stored.AssignEnv(false);
    stored.Password("KEEP");
    stored.Get_One_Record("ID = 2");
    QCOMPARE(stored.ID(), 0);
    QCOMPARE(stored.ChurchName(), QString());
    QCOMPARE(stored.Password(), "KEEP");
    QVERIFY(stored.AssignEnv());
    QVERIFY(!stored.Changed());
}

void tst_Records::fundsWritesNamesAndDeleteRefusals()
{
    TestDataSet data;
    clsFunds fund;
    fund.Get_One_Record("ID = 0");
    QVERIFY(fund.IsTaxDeductible()); // a new fund starts tax-deductible
    QVERIFY(!fund.IsPledgeable());
    fund.FundName("A fund whose name is much longer than thirty");
    fund.Add_Record_to_DB();
    clsFunds same;
    same.ID(fund.ID());
    same.Get_One_Record(QString()); // empty where: the current ID
    QCOMPARE(same.FundName(), "A fund whose name is much long");
    same.Update_Record_to_DB(); // unchanged: nothing
    same.IsInactive(true);
    same.Update_Record_to_DB();
    same.Delete_Record_from_DB();
    const int id = fund.ID();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbFunds, true, false, false, id, 0},
                                             {dbFunds, false, true, false, id, 0},
                                             {dbFunds, false, false, true, id, 0}}));
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Funds"), 1.0);

    // Names are unique without regard to case or trailing blanks.
    const int used = data.AddFund("Building Fund");
    fund.FundName("Building Fund   ");
    data.Messages().Expect("A fund named Building Fund has already been created.");
    QVERIFY(!fund.OK_to_Add(true));
    fund.FundName("building fund");
    QVERIFY(!fund.OK_to_Add(false)); // silent when asked to be
    fund.FundName("Bob's Fund");
    QVERIFY(fund.OK_to_Add(true));

    // Offerings hold a fund (silently when asked); pledges alone do not, and stay when it goes.
    const int pledged = data.AddFund("Missions");
    const int c = data.AddContributor("Smith");
    data.AddPledge(c, pledged, 100);
    data.AddOffering(c, data.AddCollection(QDate(2025, 1, 5)), used, 10);
    clsFunds f;
    f.Get_One_Record(WhereID(used));
    QVERIFY(!f.OK_to_Delete(false));
    f.Get_One_Record(WhereID(pledged));
    QVERIFY(f.OK_to_Delete(true));
    f.Delete_Record_from_DB();
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Pledges WHERE FundID = " + QString::number(pledged)), 1.0);
}

void tst_Records::contributorsSaveDeleteAndRefusals()
{
    TestDataSet data;
    clsContributors c;
    c.Get_One_Record("ID = 0");
    QVERIFY(c.UseEnvelopes()); // the church's default
    c.Save_to_DB();            // nothing changed: nothing written
    QCOMPARE(c.ID(), 0);
    c.LastName("O'Neil");
    c.FirstNames("Renée");
    c.Save_to_DB();
    const int id = c.ID();
    c.City("Salem");
    c.Save_to_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbContributors, true, false, false, id, 0},
                                             {dbContributors, false, true, false, id, 0}}));
    data.AddPledge(id, -2025, 520, 7);
    data.AddPledge(id, 3, 50, 10001);
    data.AddPledge(data.AddContributor("Other"), -2025, 100, 8);
    data.ClearNotices();

    clsContributors stored;
    stored.Get_One_Record("LastName = 'O''Neil'");
    QCOMPARE(stored.FirstNames(), "Renée");
    QCOMPARE(stored.City(), "Salem");
    QVERIFY(stored.OK_to_Delete(true));
    stored.Delete_Record_from_DB();
    // One notice for the contributor; its pledges went with it.
    QCOMPARE(data.Notices(), (QList<Notice>{{dbContributors, false, false, true, id, 0}}));
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Pledges"), 1.0);

    // One being edited is refused (one with offerings is refused in the contributor list).
    const int editing = data.AddContributor("Editing");
    SetFindOpenWindow([&](int kind, int key, bool) { return kind == 2 && key == editing; });
    stored.ID(editing);
    data.Messages().Expect("This Contributor is currently being edited, so it cannot be deleted.");
    QVERIFY(!stored.OK_to_Delete(true));
}

void tst_Records::pledgesWriteAndRefuseDelete()
{
    TestDataSet data;
    const int c = data.AddContributor("Smith");
    data.ClearNotices();
    clsPledges p;
    p.ContributorID(c);
    p.FundID(-2025);
    p.AccountNumber(7);
    p.Amount(50);
    p.Notes("Card received   ");
    p.Save_to_DB();
    const int id = p.ID();
    p.Save_to_DB(); // the flag stays set, so this writes again as a change
    clsPledges stored;
    stored.Get_One_Record(WhereID(id));
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
    data.Messages().Expect("Offering has been collected for this Pledge, so it cannot be deleted.");
    QVERIFY(!stored.OK_to_Delete(true));
    stored.Amount(0.004); // a pledge of (nearly) nothing may always go
    QVERIFY(stored.OK_to_Delete(true));
    data.ClearNotices();
    stored.Delete_Record_from_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbPledges, false, false, true, id, c}}));
}

void tst_Records::collectionsOfferingsAndComments()
{
    TestDataSet data;
    const int fund = data.AddFund("Missions");
    const int pledged = data.AddFund("Building");
    const int c = data.AddContributor("Smith");
    data.AddPledge(c, pledged, 100);
    clsCollection set;
    set.CollectionDate(QDate(2024, 12, 29));
    set.Notation("Christmas Sunday with a notation longer than forty chars");
    set.Save_to_DB();
    const int k = set.ID();
    clsCollection stored;
    stored.Get_One_Record(WhereID(k));
    QCOMPARE(stored.CollectionDate(), QDate(2024, 12, 29));
    QCOMPARE(stored.Notation(), "Christmas Sunday with a notation longer"); // cut at 40, blank dropped
    data.ClearNotices();

    clsOffering o;
    o.ContributorID(c);
    o.CollectionID(k);
    o.FundID(fund);
    o.Amount(12.34);
    o.Add_Record_to_DB();
    o.Amount(-5.5);
    o.Update_Record_to_DB();
    clsOffering asker;
    asker.Get_One_Record(WhereID(o.ID()));
    QCOMPARE(asker.Amount(), -5.5);
    QCOMPARE(asker.FundID(), fund);
    QVERIFY(asker.Fund_Used(fund));
    QVERIFY(!asker.Fund_Used(pledged)); // pledges are not offerings
    QVERIFY(asker.Contributor_Used(c));
    QVERIFY(!asker.Contributor_Used(c + 1));
    QVERIFY(asker.Pledge_Used(c, fund));
    QVERIFY(!asker.Pledge_Used(c, pledged));

    // A comment keeps quotes and # as typed.
    const QString where = "((ContributorID = 5) AND (CollectionID = 3))";
    clsColComments comment;
    comment.ContributorID(5);
    comment.CollectionID(3);
    comment.Comment("Check #1234 for Bob's \"flowers\" fund");
    comment.Add_Record_to_DB();
    clsColComments edit;
    edit.Get_One_Record(where);
    QCOMPARE(edit.Comment(), "Check #1234 for Bob's \"flowers\" fund");
    edit.Comment("Cash");
    edit.Update_Record_to_DB();
    QCOMPARE(data.Notices().mid(0, 2), (QList<Notice>{{dbOffering, true, false, false, o.ID(), c},
                                                       {dbOffering, false, true, false, o.ID(), c}}));
    QCOMPARE(data.Notices().last(), (Notice{dbColComment, false, true, false, edit.ID(), 5}));

    // Deleting a set leaves its offerings; the set then reads as missing.
    QVERIFY(stored.OK_to_Delete(true));
    data.ClearNotices();
    stored.Delete_Record_from_DB();
    QCOMPARE(data.Notices(), (QList<Notice>{{dbCollection, false, false, true, k, 0}}));
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Offering"), 1.0);
    stored.Get_One_Record(WhereID(k));
    QCOMPARE(stored.ID(), 0);
    QCOMPARE(stored.CollectionDate(), ZeroDate());
}

void tst_Records::textIsStoredWithoutControlCharacters()
{
    TestDataSet data;
    const QString nul(QChar(0));
    clsContributors c;
    c.Get_One_Record("ID = 0");
    c.LastName("O'Br" + nul + "ien\t\x1b");
    c.FirstNames(QString("Ann") + QChar(0x85) + "\r\nMarie"); // a C1 control and a line break
    c.Save_to_DB();
    clsContributors back;
    back.Get_One_Record("ID = " + QString::number(c.ID()));
    QCOMPARE(back.LastName(), "O'Brien");
    QCOMPARE(back.FirstNames(), "AnnMarie");

    // Multi-line texts keep their line breaks and nothing else.
    clsPledges p;
    p.ContributorID(c.ID());
    p.FundID(-2025);
    p.Notes("Paid by\r\ncheck" + nul + "\f");
    p.Save_to_DB();
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Pledges WHERE Notes = 'Paid by' || char(13, 10) || 'check'"), 1.0);
    clsChurch church;
    church.Get_One_Record(QString());
    church.IRSStatement("Line one\r\nLine" + nul + " two\x07");
    church.Update_Record_to_DB();
    church.Get_One_Record(QString());
    QCOMPARE(church.IRSStatement(), "Line one\r\nLine two");

    // A comment with a NUL reaches the file (the engine used to stop at it).
    clsColComments comment;
    comment.ContributorID(c.ID());
    comment.CollectionID(1);
    comment.Comment("Cash" + nul + " and check");
    comment.Add_Record_to_DB();
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM ColComment WHERE Comment = 'Cash and check'"), 1.0);
    // The literal on its own never carries a NUL into the statement.
    QCOMPARE(modDBConnection::TextLiteral("a" + nul + "'b"), "'a''b'");
}

void tst_Records::cuttingToAColumnNeverSplitsACharacter()
{
    TestDataSet data;
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    clsContributors c;
    c.Get_One_Record("ID = 0");
    c.LastName(QString(39, QLatin1Char('x')) + smile);  // the emoji would end at 41
    c.FirstNames(QString(38, QLatin1Char('y')) + smile); // ends exactly at 40
    c.State(smile + "X");
    c.Save_to_DB();
    clsContributors back;
    back.Get_One_Record("ID = " + QString::number(c.ID()));
    QCOMPARE(back.LastName(), QString(39, QLatin1Char('x')));
    QCOMPARE(back.FirstNames(), QString(38, QLatin1Char('y')) + smile);
    QCOMPARE(back.State(), smile);
    QVERIFY(!back.LastName().contains(QChar::ReplacementCharacter));
    QCOMPARE(CutText(smile + smile, 3), smile);
    QCOMPARE(CutText("abc", 5), "abc");
}

QV_TEST_MAIN(tst_Records, QCoreApplication)
#include "tst_records.moc"

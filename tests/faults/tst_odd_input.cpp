// Text and settings that are not what they should be: control characters,
// a NUL, characters outside the basic plane, a damaged settings file.
#include "support/CoreTest.h"
#include "storage/clsColComments.h"
#include "storage/clsContributors.h"
#include "storage/clsPledges.h"
#include "storage/modDBConnection.h"

using namespace modGlobal;

class tst_OddInput : public QObject {
    Q_OBJECT
private slots:
    void textIsStoredWithoutControlCharacters();
    void cuttingToAColumnNeverSplitsACharacter();
};

void tst_OddInput::textIsStoredWithoutControlCharacters()
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

void tst_OddInput::cuttingToAColumnNeverSplitsACharacter()
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

QV_TEST_MAIN(tst_OddInput)
#include "tst_odd_input.moc"

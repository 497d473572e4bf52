// A treasurer's Sunday afternoon, by keyboard: the collection set dialog,
// loose offering, quick find, a contributor's offering record, the totals.
#include "offering/CollectionSets.h"
#include "offering/CountPage.h"
#include "offering/FundLinesView.h"
#include "offering/frmCollectionDate.h"
#include "widgets/QvDateBox.h"
#include "storage/clsContributors.h"
#include "support/WindowTest.h"

#include <QCheckBox>
#include <QTabWidget>

#include "support/ChurchSettings.h"

using Messages::Answer;
using namespace modGlobal;

namespace {
// A new set of that date, in its window.
frmCollections* OpenNewSet(const QDate& date)
{
    frmCollections* w = OpenSet(CollectionSets::Create_Set(date, QString()).id, date);
    w->activateWindow();
    return w;
}

// What the set dialog hands on: "number date notation", or "cancelled".
QString Choice(const frmCollectionDate& d)
{
    if (d.Cancelled())
        return "cancelled";
    return QStringLiteral("%1 %2 %3").arg(d.CollectionNumber()).arg(ShortDate(d.CollectionDate()), d.CollectionNotation());
}

void ChooseFund(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text));
}
} // namespace

class tst_OfferingWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void defaultDateOfANewSet();
    void collectionSetDialog();
    void aWeekTotalledSortedAndFound();
    void addedContributorFundsAndALineWithoutFund();
    void receiptHistoryCommentAndAmounts();
    void aCountTypedAndItsDifferenceKept();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0, m_missions = 0;
    int m_smith = 0, m_smythe = 0, m_adams = 0, m_gone = 0;
};

void tst_OfferingWindows::init()
{
    m_data = WindowBooks();
    m_building = m_data->AddFund("Building Fund");
    m_missions = m_data->AddFund("Missions");
    m_data->AddFund("Flowers", false, false);
    SetReportFunds(m_building, m_missions);
    m_smith = m_data->AddContributor("Smith", "John & Mary");
    m_smythe = m_data->AddContributor("Smythe", "Ann");
    m_adams = m_data->AddContributor("Adams", "Carl", false);
    m_gone = m_data->AddContributor("Smallwood", "Old", true, true);
    m_data->AddPledge(m_smith, -2025, 520, 7);
    m_data->AddPledge(m_smythe, -2025, 260, 12);
    m_data->AddPledge(m_gone, -2025, 0, 3);
    m_data->ClearNotices();
}

void tst_OfferingWindows::cleanup()
{
    CloseAllWindows();
    m_data.reset();
}

void tst_OfferingWindows::defaultDateOfANewSet()
{
    using CollectionSets::Default_New_Date;
    const QDate wednesday(2025, 6, 18), sunday(2025, 6, 15);
    QCOMPARE(Default_New_Date(wednesday, 2025, false, 0), sunday);
    QCOMPARE(Default_New_Date(sunday, 2025, false, 0), sunday);
    QCOMPARE(Default_New_Date(wednesday, 2025, false, 6), QDate(2025, 6, 14)); // Saturday
    QCOMPARE(Default_New_Date(wednesday, 2025, true, 0), wednesday);
    QCOMPARE(Default_New_Date(wednesday, 2024, false, 0), QDate(2024, 12, 31));
    QCOMPARE(Default_New_Date(wednesday, 2026, false, 0), QDate(2026, 1, 1));
    // Stepping back from early January stays in the year.
    QCOMPARE(Default_New_Date(QDate(2025, 1, 2), 2025, false, 0), QDate(2025, 1, 1));
}

void tst_OfferingWindows::collectionSetDialog()
{
    const int older = m_data->AddCollection(QDate(2025, 6, 1), "Pentecost");
    m_data->AddCollection(QDate(2024, 12, 29)); // another year: not listed
    {
        frmCollectionDate dialog;
        QCOMPARE(dialog.dpNewDate->date(), QDate(2025, 6, 15)); // today is a Sunday
        QCOMPARE(dialog.fgPrevColl->Rows(), 3);
        dialog.txtNotation->setText("Father's Day");
        dialog.cmdNew->click();
        QCOMPARE(Choice(dialog), "3 6/15/2025 Father's Day");
    }
    {
        // The new set is listed first; a second set for the same date asks.
        frmCollectionDate dialog;
        QCOMPARE(dialog.fgPrevColl->TextMatrix(2, 0) + " " + dialog.fgPrevColl->TextMatrix(2, 1), "3 6/15/2025");
        QCOMPARE(dialog.fgPrevColl->TextMatrix(3, 2), "Pentecost");
        // A hurried Enter answers No: no second set.
        m_data->Messages().ExpectEnter("A Collection Set has already been created for the date 6/15/2025. Are you sure "
                                       "you want to create another one?");
        dialog.cmdNew->click();
        QCOMPARE(Choice(dialog), "cancelled");
        m_data->Messages().Expect("already been created", Answer::Yes);
        dialog.cmdNew->click();
        QCOMPARE(dialog.CollectionNumber(), 4);
    }
    {
        // Edit Existing takes the chosen row as shown; the placeholder never.
        frmCollectionDate dialog;
        dialog.fgPrevColl->Select(1, 1);
        dialog.cmdPrev->click();
        QCOMPARE(Choice(dialog), "cancelled");
        dialog.fgPrevColl->Select(3, 4);
        dialog.cmdPrev->click();
        QCOMPARE(Choice(dialog), QStringLiteral("%1 6/1/2025 Pentecost").arg(older));
    }
    // A year without sets: nothing to edit. Closing leaves Cancelled.
    ProcessingYear = 2023;
    frmCollectionDate dialog;
    QCOMPARE(dialog.fgPrevColl->Rows(), 2);
    QCOMPARE(dialog.dpNewDate->date(), QDate(2023, 12, 31));
    dialog.cmdPrev->click();
    dialog.reject();
    QCOMPARE(Choice(dialog), "cancelled");
}

void tst_OfferingWindows::aWeekTotalledSortedAndFound()
{
    // Quick find and the offering record by keys are followed in
    // tst_keyboard; here what the week's window makes of its lines and list.
    frmCollections* w = OpenNewSet(QDate(2025, 6, 15));
    QVERIFY(QTest::qWaitForWindowActive(w->Frame()));
    m_data->AddOffering(m_smith, w->CollectionNumber(), -2025, 50);
    m_data->AddOffering(m_smith, w->CollectionNumber(), m_building, 10);

    // Loose offering on three funds, a thousand written with its comma.
    QTRY_COMPARE(Focus(), w->lines->Amount(1));
    for (const char* keys : {"412.37", "", "1,000", "", "", "F"}) {
        Type(keys);
        Key(Qt::Key_Tab);
    }
    Type("25");
    QCOMPARE(w->lines->Amount(1)->text(), "$412.37");
    QCOMPARE(w->lines->Fund(4)->currentText(), "Flowers");

    // The contributor list: envelope order, inactive hidden, no envelope last.
    Key(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(Focus(), w->txtQuick);
    QvGrid* g = w->fgContrib;
    QCOMPARE(GridText(g, {1, 2}, "|", HiddenRows::Bracket),
             (QStringList{"[Smallwood, Old|3]", "Smith, John & Mary|7", "Smythe, Ann|12", "Adams, Carl|0"}));

    // Totals of the week, from what was saved.
    w->sstCollections->setCurrentIndex(2);
    QCOMPARE(GridText(w->fgTotals, {0, 1}, " = "),
             (QStringList{"2025 Operating Fund - Pledged = $50.00", "2025 Operating Fund - Unpledged = $412.37",
                          "Building Fund = $1,010.00", "Flowers = $25.00", "Total Amount Collected = $1,497.37"}));

    // Quick find reaches hidden rows and numbers as the program writes them;
    // no match selects nothing, so nothing opens.
    w->Quick_Find("3");
    QCOMPARE(g->TextMatrix(g->RowSel(), 1), "Smallwood, Old");
    QVERIFY(g->IsRowHidden(g->RowSel()));
    w->Quick_Find("$12.00");
    QCOMPARE(g->TextMatrix(g->RowSel(), 1), "Smythe, Ann");
    w->Quick_Find("zz");
    QCOMPARE(g->RowSel(), 1);
    w->Quick_Find("99");
    QCOMPARE(g->RowSel(), 1);
    w->Select_Contributor();
    QCOMPARE(frmChild::OpenWindows().size(), 1);

    // Sorting by name keeps the filter.
    w->sstCollections->setCurrentIndex(1);
    w->cmdSort->click();
    QCOMPARE(g->TextMatrix(2, 1), "Adams, Carl");
    QVERIFY(g->IsRowHidden(3)); // Smallwood
    w->chkShowAllContrib->setChecked(true);
    QVERIFY(!g->IsRowHidden(3));

    // The date and notation are written by Done.
    w->sstCollections->setCurrentIndex(2);
    w->dpColDate->setDate(QDate(2025, 6, 14));
    w->txtNotation->setText("Youth Sunday");
    w->cmdDone->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Collection WHERE CollectionDate = '2025-06-14' AND "
                                           "Notation = 'Youth Sunday'")),
             1.0);
}

void tst_OfferingWindows::addedContributorFundsAndALineWithoutFund()
{
    frmCollections* w = OpenNewSet(QDate(2025, 6, 15));
    w->sstCollections->setCurrentIndex(1);
    QCOMPARE(w->fgContrib->Rows(), 6);
    const int newcomer = m_data->AddContributor("Newcomb", "Ned");
    QCOMPARE(w->fgContrib->Rows(), 7);
    frmContReceipt* r = OpenWindowOf<frmContReceipt>();
    QVERIFY(r);
    QCOMPARE(r->ContributorID(), newcomer);
    QCOMPARE(r->CollectionNumber(), w->property("CollectionNumber").toInt());
    // A renamed contributor shows at once in the open record, and opens nothing more.
    clsContributors c;
    c.ID(newcomer);
    c.Get_One_Record(QString());
    c.FirstNames("Edward");
    c.Save_to_DB();
    QVERIFY(r->lblContributor->text().startsWith("Edward Newcomb"));
    QCOMPARE(frmChild::OpenWindows().size(), 2);
    // A new fund reaches the open lists without losing what was typed.
    r->lines->Amount(1)->setText("$20.00");
    w->lines->Amount(1)->setText("$30.00");
    m_data->AddFund("Bells");
    QVERIFY(r->lines->Fund(4)->findText("Bells") >= 0);
    QCOMPARE(r->lines->Amount(1)->text(), "$20.00");
    QCOMPARE(w->lines->Amount(1)->text(), "$30.00");
    QCOMPARE(w->lines->Fund(1)->currentText(), "2025 Operating Fund");

    // A line without a fund: Done, leaving the tab and the close box are
    // refused alike, and the line is not lost.
    w->lines->Amount(6)->setText("15");
    const QString message = "Please select a fund for the $15.00 contribution.";
    m_data->Messages().Expect(message);
    w->cmdDone->click();
    QVERIFY(!w->IsClosed());
    m_data->Messages().Expect(message);
    w->sstCollections->setCurrentIndex(1);
    QCOMPARE(w->sstCollections->currentIndex(), 0);
    m_data->Messages().Expect(message);
    QVERIFY(!w->close());
    QVERIFY(!w->IsClosed());
    QCOMPARE(w->lines->Amount(6)->text(), "15");
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Offering"), 0.0);
    ChooseFund(w->lines->Fund(6), "Missions");
    w->cmdDone->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT Amount FROM Offering WHERE FundID = " + QString::number(m_missions)), 15.0);
}

void tst_OfferingWindows::receiptHistoryCommentAndAmounts()
{
    const int jan = CollectionSets::Create_Set(QDate(2025, 1, 12), QString()).id;
    const int mar = CollectionSets::Create_Set(QDate(2025, 3, 9), QString()).id;
    const int apr = CollectionSets::Create_Set(QDate(2025, 4, 6), QString()).id;
    const int feb = CollectionSets::Create_Set(QDate(2025, 2, 9), QString()).id;
    m_data->AddOffering(m_smith, jan, -2024, 30);
    m_data->AddOffering(m_smith, mar, -2025, 45);
    m_data->AddOffering(m_smith, mar, m_building, 5);
    m_data->AddComment(m_smith, mar, "Cash");
    m_data->AddComment(m_smith, mar, "a second note"); // shows neither gift twice
    const int kept = m_data->AddOffering(m_smith, apr, -2025, 40);
    m_data->AddOffering(m_smith, apr, m_building, 5);
    // The history: earlier sets only, newest first, each row with its set's comment.
    frmContReceipt* r = OpenReceipt(m_smith, apr, QDate(2025, 4, 6));
    QvGrid* h = r->fgHist;
    QCOMPARE(h->Rows(), 5);
    QCOMPARE(h->TextMatrix(2, 0), "3/9/2025");
    QCOMPARE(h->TextMatrix(2, 3), "Cash");
    QCOMPARE(h->TextMatrix(3, 3), "Cash");
    QCOMPARE(h->TextMatrix(4, 2), "2024 Operating Fund");
    QCOMPARE(h->TextMatrix(4, 3), QString());
    QCOMPARE(h->TextMatrix(4, 1), "$30.00");
    // Cancel changes nothing; OK deletes a cleared amount and ignores one that is no number.
    r->lines->Amount(1)->setText("999");
    r->lines->Amount(2)->setText("0");
    r->cmdCancel->click();
    const QString inApril = "FROM Offering WHERE CollectionID = " + QString::number(apr);
    QCOMPARE(m_data->Scalar("SELECT Sum(Amount) " + inApril), 45.0);
    r = OpenReceipt(m_smith, apr, QDate(2025, 4, 6));
    r->lines->Amount(2)->setText("$0.00");
    ChooseFund(r->lines->Fund(5), "Flowers");
    r->lines->Amount(5)->setText("abc");
    r->cmdOK->click();
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) " + inApril), 1.0);
    QCOMPARE(m_data->Scalar("SELECT ID " + inApril), double(kept));
    r = OpenReceipt(m_smith, feb, QDate(2025, 2, 9));
    QCOMPARE(r->fgHist->Rows(), 3); // January only
    r->cmdCancel->click();

    // Emptying the comment deletes the one shown; the second one is not lost
    // unseen but shown next. A new one is added.
    for (const char* shown : {"Cash", "a second note"}) {
        r = OpenReceipt(m_smith, mar, QDate(2025, 3, 9));
        QCOMPARE(r->txtComment->text(), QString::fromLatin1(shown));
        r->txtComment->clear();
        r->cmdOK->click();
    }
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM ColComment"), 0.0);
    r = OpenReceipt(m_smith, jan, QDate(2025, 1, 12));
    r->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(r->Frame()));
    r->txtComment->setFocus();
    Type("Late gift");
    Key(Qt::Key_Return); // Enter in the comment is OK
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT CollectionID FROM ColComment WHERE Comment = 'Late gift'"), double(jan));
}

void tst_OfferingWindows::aCountTypedAndItsDifferenceKept()
{
    frmCollections* w = OpenNewSet(QDate(2025, 6, 15));
    QVERIFY(QTest::qWaitForWindowActive(w->Frame()));
    m_data->AddOffering(m_smith, w->CollectionNumber(), -2025, 150);
    QTRY_COMPARE(Focus(), w->lines->Amount(1));
    Type("36.41");
    // The envelope checked against the tape: Smith's gift beside the name.
    Key(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w->fgContrib->TextMatrix(3, 6), "$150.00");
    QCOMPARE(w->fgContrib->TextMatrix(4, 6), "");
    QVERIFY(w->lblRunning->text().contains("$150.00 from 1 contributors, $186.41 with the loose offering"));

    w->sstCollections->setCurrentIndex(3);
    CountPage* c = w->count;
    QVERIFY(c->txtBills[0]->hasFocus());
    // Tab down the bills ($100 to $1), the coins and the rolled coin.
    for (const char* pieces : {"", "1", "2", "", "1", "", "3", "", "4", "", "", "6"}) {
        Type(pieces);
        Key(Qt::Key_Tab);
    }
    QCOMPARE(c->lblCurrency->text(), "$98.00");
    Type("10");
    QCOMPARE(c->lblCoin->text(), "$11.06"); // as typed, before Tab
    Key(Qt::Key_Tab);
    QVERIFY(c->txtCheckNo->hasFocus());
    // Enter adds a check line and goes back to the check number.
    Type("1041");
    Key(Qt::Key_Tab);
    Type("75");
    Key(Qt::Key_Tab);
    Type("7");
    Key(Qt::Key_Return);
    QVERIFY(c->txtCheckNo->hasFocus());
    Type("88");
    Key(Qt::Key_Tab);
    Type("1.35");
    Key(Qt::Key_Enter);
    QCOMPARE(c->fgChecks->TextMatrix(1, 2), "Smith, John & Mary");
    QCOMPARE(c->lblChecks->text(), "2 checks: $76.35");
    QCOMPARE(c->lblDifference->text(), "($1.00)");
    QVERIFY(c->lblDifference->styleSheet().contains("red"));

    // Done asks; Enter answers No and the set stays, its totals in sight.
    m_data->Messages().ExpectEnter("counted at $185.41, but $186.41 was entered: a difference of ($1.00)");
    Key(Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(w->sstCollections->currentIndex(), 2); // an access key presses its button a moment later
    QVERIFY(!w->IsClosed());
    QCOMPARE(w->lblDifference->text(), "($1.00)");
    QCOMPARE(w->lblCountedChecks->text(), "$76.35");
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM CollectionCount WHERE KeptDifference IS NULL"), 1.0);
    // Kept so, the answer stays with the count and is not asked again.
    m_data->Messages().Expect("a difference of ($1.00)", Answer::Yes);
    w->cmdDone->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT KeptDifference FROM CollectionCount"), -100.0);
    QCOMPARE(m_data->Scalar("SELECT SUM(Cents) FROM CollectionChecks"), 7635.0);
}

QV_TEST_MAIN(tst_OfferingWindows, QApplication)
#include "tst_offering_windows.moc"

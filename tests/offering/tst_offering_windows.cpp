// A treasurer's Sunday afternoon, by keyboard: the collection set dialog,
// loose offering, quick find, a contributor's offering record, the totals.
#include "offering/CollectionSets.h"
#include "offering/FundLinesView.h"
#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "shell/AllWindows.h"
#include "shell/Helpers.h"
#include "shell/QvGrid.h"
#include "shell/WindowServices.h"
#include "shell/Windows.h"
#include "shell/clsDBEvent.h"
#include "shell/frmChild.h"
#include "shell/modGlobal.h"
#include "storage/clsChurch.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>

#include "support/TestDataSet.h"

using Messages::Answer;
using namespace modGlobal;

namespace {
frmCollections* OpenSet(int number, const QDate& date)
{
    auto* w = qobject_cast<frmCollections*>(Windows::Open_New(
        QStringLiteral("frmCollections"),
        {{QStringLiteral("CollectionNumber"), number}, {QStringLiteral("CollectionDate"), date},
         {QStringLiteral("CollectionNotation"), QString()}}));
    w->activateWindow();
    return w;
}

frmContReceipt* OpenReceipt()
{
    for (frmChild* w : frmChild::OpenWindows())
        if (auto* r = qobject_cast<frmContReceipt*>(w))
            return r;
    return nullptr;
}

int CountOpen(const char* name)
{
    int n = 0;
    for (frmChild* w : frmChild::OpenWindows())
        n += w->objectName() == QLatin1String(name);
    return n;
}

// Types into a box as a person does: focus, select all, type, Tab away.
void Type(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
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
    void aWholeWeekByKeyboard();
    void quickFindFindsHiddenRowsAndNothingWhenNoMatch();
    void lineWithoutFundKeepsTheWindowOpen();
    void clearingAnAmountDeletesAndCancelChangesNothing();
    void addedContributorOpensItsRecord();
    void historyAndComment();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0, m_missions = 0, m_flowers = 0;
    int m_smith = 0, m_smythe = 0, m_adams = 0, m_gone = 0;
};

void tst_OfferingWindows::init()
{
    m_data = std::make_unique<TestDataSet>();
    RegisterAllWindows();
    // Without a main window, the open windows hear the notices directly.
    QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
    m_building = m_data->AddFund(QStringLiteral("Building Fund"));
    m_missions = m_data->AddFund(QStringLiteral("Missions"));
    m_flowers = m_data->AddFund(QStringLiteral("Flowers"), false, false);
    clsChurch church;
    church.Get_One_Record(QString());
    church.DefaultFund2(m_building);
    church.DefaultFund3(m_missions);
    church.Update_Record_to_DB();
    m_smith = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("John & Mary"));
    m_smythe = m_data->AddContributor(QStringLiteral("Smythe"), QStringLiteral("Ann"));
    m_adams = m_data->AddContributor(QStringLiteral("Adams"), QStringLiteral("Carl"), false);
    m_gone = m_data->AddContributor(QStringLiteral("Smallwood"), QStringLiteral("Old"), true, true);
    m_data->AddPledge(m_smith, -2025, 520, 7);
    m_data->AddPledge(m_smythe, -2025, 260, 12);
    m_data->AddPledge(m_gone, -2025, 0, 3);
    m_data->ClearNotices();
}

void tst_OfferingWindows::cleanup()
{
    for (frmChild* w : frmChild::OpenWindows())
        delete w;
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
    const int older = m_data->AddCollection(QDate(2025, 6, 1), QStringLiteral("Pentecost"));
    m_data->AddCollection(QDate(2024, 12, 29)); // another year: not listed
    {
        frmCollectionDate dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Collection Date"));
        QCOMPARE(dialog.dpNewDate->date(), QDate(2025, 6, 15)); // today is a Sunday
        QCOMPARE(dialog.dpNewDate->minimumDate(), QDate(2025, 1, 1));
        QCOMPARE(dialog.fgPrevColl->Rows(), 3);
        dialog.txtNotation->setText(QStringLiteral("Father's Day"));
        dialog.cmdNew->click();
        QVERIFY(!dialog.Cancelled());
        QCOMPARE(dialog.CollectionNumber(), 3);
        QCOMPARE(dialog.CollectionDate(), QDate(2025, 6, 15));
        QCOMPARE(dialog.CollectionNotation(), QStringLiteral("Father's Day"));
    }
    {
        // The new set is listed first; a second set for the same date asks.
        frmCollectionDate dialog;
        QCOMPARE(dialog.fgPrevColl->TextMatrix(2, 0), QStringLiteral("3"));
        QCOMPARE(dialog.fgPrevColl->TextMatrix(2, 1), QStringLiteral("6/15/2025"));
        QCOMPARE(dialog.fgPrevColl->TextMatrix(3, 2), QStringLiteral("Pentecost"));
        m_data->Messages().Expect(QStringLiteral("A Collection Set has already been created for the date 6/15/2025. Are "
                                                 "you sure you want to create another one?"),
                                  Answer::No);
        dialog.cmdNew->click();
        QVERIFY(dialog.Cancelled());
        QCOMPARE(m_data->Messages().Seen().last().title, QStringLiteral("Duplicate Date"));
        m_data->Messages().Expect(QStringLiteral("already been created"), Answer::Yes);
        dialog.cmdNew->click();
        QCOMPARE(dialog.CollectionNumber(), 4);
    }
    {
        // Edit Existing takes the chosen row as shown; the placeholder never.
        frmCollectionDate dialog;
        dialog.fgPrevColl->Select(1, 1);
        dialog.cmdPrev->click();
        QVERIFY(dialog.Cancelled());
        dialog.fgPrevColl->Select(3, 4);
        dialog.cmdPrev->click();
        QVERIFY(!dialog.Cancelled());
        QCOMPARE(dialog.CollectionNumber(), older);
        QCOMPARE(dialog.CollectionDate(), QDate(2025, 6, 1));
        QCOMPARE(dialog.CollectionNotation(), QStringLiteral("Pentecost"));
    }
    {
        // A year without sets: nothing to edit. Closing leaves Cancelled.
        ProcessingYear = 2023;
        frmCollectionDate dialog;
        QCOMPARE(dialog.fgPrevColl->Rows(), 2);
        QCOMPARE(dialog.dpNewDate->date(), QDate(2023, 12, 31));
        dialog.cmdPrev->click();
        dialog.reject();
        QVERIFY(dialog.Cancelled());
        ProcessingYear = 2025;
    }
}

void tst_OfferingWindows::aWholeWeekByKeyboard()
{
    const int k = CollectionSets::Create_Set(QDate(2025, 6, 15), QString()).id;
    frmCollections* w = OpenSet(k, QDate(2025, 6, 15));
    QVERIFY(QTest::qWaitForWindowActive(w->Frame()));
    QCOMPARE(w->windowTitle(), QStringLiteral("Collection 1 for 6/15/2025"));
    QCOMPARE(w->sstCollections->currentIndex(), 0);
    QCOMPARE(w->lines->Fund(1)->currentText(), QStringLiteral("2025 Operating Fund"));
    QCOMPARE(w->lines->Fund(2)->currentText(), QStringLiteral("Building Fund"));
    QCOMPARE(w->lines->Fund(3)->currentText(), QStringLiteral("Missions"));
    QCOMPARE(w->lines->Fund(4)->currentIndex(), -1);

    // Loose offering on three funds.
    Type(w->lines->Amount(1), QStringLiteral("412.37"));
    QCOMPARE(w->lines->Amount(1)->text(), QStringLiteral("$412.37"));
    Type(w->lines->Amount(2), QStringLiteral("1,000"));
    ChooseFund(w->lines->Fund(4), QStringLiteral("Flowers"));
    Type(w->lines->Amount(4), QStringLiteral("25"));
    QTest::keyClick(w->sstCollections, Qt::Key_Tab, Qt::ControlModifier); // to the contributors tab
    QCOMPARE(w->sstCollections->currentIndex(), 1);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Sum(Amount) FROM Offering WHERE ContributorID = 1")), 1437.37);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Amount FROM Offering WHERE ContributorID = 1 AND FundID = ")
                            + QString::number(m_flowers)),
             25.0);
    QVERIFY(w->txtQuick->hasFocus());

    // The contributor list: envelope order, inactive hidden.
    QvGrid* g = w->fgContrib;
    QCOMPARE(g->Rows(), 6);
    QCOMPARE(g->TextMatrix(2, 1), QStringLiteral("Smallwood, Old"));
    QVERIFY(g->IsRowHidden(2));
    QCOMPARE(g->TextMatrix(3, 2), QStringLiteral("7"));
    QCOMPARE(g->TextMatrix(5, 1), QStringLiteral("Adams, Carl")); // no envelope: last
    QCOMPARE(g->TextMatrix(5, 2), QStringLiteral("0"));

    // Quick find by envelope number, Enter opens the record.
    QTest::keyClicks(w->txtQuick, QStringLiteral("7"));
    QCOMPARE(g->RowSel(), 3);
    QTest::keyClick(w->txtQuick, Qt::Key_Return);
    frmContReceipt* r = OpenReceipt();
    QVERIFY(r);
    QCOMPARE(r->ContributorID(), m_smith);
    QCOMPARE(r->windowTitle(), QStringLiteral("Receive Contribution"));
    QVERIFY(r->lblContributor->text().startsWith(QStringLiteral("John & Mary Smith")));
    QCOMPARE(r->lines->Fund(1)->currentText(), QStringLiteral("2025 Operating Fund"));
    Type(r->lines->Amount(1), QStringLiteral("50"));
    Type(r->lines->Amount(2), QStringLiteral("10"));
    r->txtComment->setText(QStringLiteral("Check #1042"));
    QTest::keyClick(r->txtComment, Qt::Key_Return); // Enter in the comment is OK
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Sum(Amount) FROM Offering WHERE ContributorID = ") + QString::number(m_smith)),
             60.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM ColComment WHERE Comment = 'Check #1042'")), 1.0);

    // Quick find by name, in any case; Select button opens the record.
    w->txtQuick->selectAll();
    QTest::keyClicks(w->txtQuick, QStringLiteral("smy"));
    QCOMPARE(g->TextMatrix(g->RowSel(), 1), QStringLiteral("Smythe, Ann"));
    QTest::keyClick(w->txtQuick, Qt::Key_Up);
    QCOMPARE(g->TextMatrix(g->RowSel(), 1), QStringLiteral("Smith, John & Mary"));
    w->cmdSelect->click();
    r = OpenReceipt();
    QCOMPARE(r->ContributorID(), m_smith);
    QCOMPARE(r->lines->Amount(1)->text(), QStringLiteral("$50.00")); // what was saved
    QCOMPARE(r->txtComment->text(), QStringLiteral("Check #1042"));
    r->cmdCancel->click();

    // Totals of the week.
    w->sstCollections->setCurrentIndex(2);
    QvGrid* t = w->fgTotals;
    QStringList rows;
    for (int i = 2; i < t->Rows(); ++i)
        rows << t->TextMatrix(i, 0) + QStringLiteral(" = ") + t->TextMatrix(i, 1);
    QCOMPARE(rows, (QStringList{"2025 Operating Fund - Pledged = $50.00", "2025 Operating Fund - Unpledged = $412.37",
                                "Building Fund = $1,010.00", "Flowers = $25.00", "Total Amount Collected = $1,497.37"}));

    // Sorting by name and back keeps the filter.
    w->sstCollections->setCurrentIndex(1);
    w->cmdSort->click();
    QCOMPARE(w->cmdSort->text(), QStringLiteral("Sort by Number"));
    QCOMPARE(g->TextMatrix(2, 1), QStringLiteral("Adams, Carl"));
    QVERIFY(g->IsRowHidden(3)); // Smallwood
    w->chkShowAllContrib->setChecked(true);
    QVERIFY(!g->IsRowHidden(3));

    // The date and notation are written by Done.
    w->sstCollections->setCurrentIndex(2);
    w->dpColDate->setDate(QDate(2025, 6, 14));
    QCOMPARE(w->windowTitle(), QStringLiteral("Collection 1 for 6/14/2025"));
    w->txtNotation->setText(QStringLiteral("Youth Sunday"));
    w->cmdDone->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Collection WHERE CollectionDate = '2025-06-14' AND "
                                           "Notation = 'Youth Sunday'")),
             1.0);
}

void tst_OfferingWindows::quickFindFindsHiddenRowsAndNothingWhenNoMatch()
{
    frmCollections* w = OpenSet(CollectionSets::Create_Set(QDate(2025, 6, 15), QString()).id, QDate(2025, 6, 15));
    QvGrid* g = w->fgContrib;
    w->Quick_Find(QStringLiteral("3")); // the inactive, hidden contributor
    QCOMPARE(g->TextMatrix(g->RowSel(), 1), QStringLiteral("Smallwood, Old"));
    QVERIFY(g->IsRowHidden(g->RowSel()));
    w->Quick_Find(QStringLiteral("99"));
    QCOMPARE(g->RowSel(), 1);
    w->Select_Contributor();
    QVERIFY(!OpenReceipt()); // nothing to open
    w->Quick_Find(QStringLiteral("$12.00")); // the number as the program writes it
    QCOMPARE(g->TextMatrix(g->RowSel(), 1), QStringLiteral("Smythe, Ann"));
    w->Quick_Find(QStringLiteral("ad"));
    QCOMPARE(g->TextMatrix(g->RowSel(), 1), QStringLiteral("Adams, Carl"));
    w->Quick_Find(QStringLiteral("zz"));
    QCOMPARE(g->RowSel(), 1);
}

void tst_OfferingWindows::lineWithoutFundKeepsTheWindowOpen()
{
    const int k = CollectionSets::Create_Set(QDate(2025, 6, 15), QString()).id;
    frmCollections* w = OpenSet(k, QDate(2025, 6, 15));
    w->lines->Amount(6)->setText(QStringLiteral("15"));
    const QString message = QStringLiteral("Please select a fund for the $15.00 contribution.");
    m_data->Messages().Expect(message);
    w->cmdDone->click();
    QVERIFY(!w->IsClosed());
    QCOMPARE(m_data->Messages().Seen().last().title, QStringLiteral("Collection"));
    // Leaving the tab is refused the same way.
    m_data->Messages().Expect(message);
    w->sstCollections->setCurrentIndex(1);
    QCOMPARE(w->sstCollections->currentIndex(), 0);
    // The close box too: the line is not lost.
    m_data->Messages().Expect(message);
    QVERIFY(!w->close());
    QVERIFY(!w->IsClosed());
    QCOMPARE(w->lines->Amount(6)->text(), QStringLiteral("15"));
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering")), 0.0);
    ChooseFund(w->lines->Fund(6), QStringLiteral("Missions"));
    w->cmdDone->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Amount FROM Offering WHERE FundID = ") + QString::number(m_missions)),
             15.0);
}

void tst_OfferingWindows::clearingAnAmountDeletesAndCancelChangesNothing()
{
    const int k = CollectionSets::Create_Set(QDate(2025, 6, 15), QString()).id;
    const int kept = m_data->AddOffering(m_smith, k, -2025, 40);
    const int dropped = m_data->AddOffering(m_smith, k, m_building, 5);
    Windows::Open_New(QStringLiteral("frmContReceipt"), {{QStringLiteral("ContributorID"), m_smith},
                                                         {QStringLiteral("CollectionNumber"), k},
                                                         {QStringLiteral("CollectionDate"), QDate(2025, 6, 15)}});
    frmContReceipt* r = OpenReceipt();
    r->lines->Amount(1)->setText(QStringLiteral("999"));
    r->lines->Amount(2)->setText(QStringLiteral("0"));
    r->cmdCancel->click();
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Sum(Amount) FROM Offering")), 45.0);

    Windows::Open_New(QStringLiteral("frmContReceipt"), {{QStringLiteral("ContributorID"), m_smith},
                                                         {QStringLiteral("CollectionNumber"), k},
                                                         {QStringLiteral("CollectionDate"), QDate(2025, 6, 15)}});
    r = OpenReceipt();
    r->lines->Amount(2)->setText(QStringLiteral("$0.00"));
    ChooseFund(r->lines->Fund(5), QStringLiteral("Flowers"));
    r->lines->Amount(5)->setText(QStringLiteral("abc")); // not a number: counts as nothing
    r->cmdOK->click();
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering WHERE ID = ") + QString::number(dropped)), 0.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering WHERE ID = ") + QString::number(kept)), 1.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Offering")), 1.0);
}

void tst_OfferingWindows::addedContributorOpensItsRecord()
{
    const int k = CollectionSets::Create_Set(QDate(2025, 6, 15), QString()).id;
    frmCollections* w = OpenSet(k, QDate(2025, 6, 15));
    const int newcomer = m_data->AddContributor(QStringLiteral("Newcomb"), QStringLiteral("Ned"));
    QCOMPARE(w->fgContrib->Rows(), 7);
    frmContReceipt* r = OpenReceipt();
    QVERIFY(r);
    QCOMPARE(r->ContributorID(), newcomer);
    QCOMPARE(r->CollectionNumber(), k);
    // A renamed contributor shows at once in the open record.
    clsContributors c;
    c.ID(newcomer);
    c.Get_One_Record(QString());
    c.FirstNames(QStringLiteral("Edward"));
    c.Save_to_DB();
    QVERIFY(r->lblContributor->text().startsWith(QStringLiteral("Edward Newcomb")));
    QCOMPARE(CountOpen("frmContReceipt"), 1);
    // A new fund reaches the open lists without losing what was typed.
    r->lines->Amount(1)->setText(QStringLiteral("$20.00"));
    w->lines->Amount(1)->setText(QStringLiteral("$30.00"));
    m_data->AddFund(QStringLiteral("Bells"));
    QVERIFY(r->lines->Fund(4)->findText(QStringLiteral("Bells")) >= 0);
    QCOMPARE(r->lines->Amount(1)->text(), QStringLiteral("$20.00"));
    QCOMPARE(w->lines->Amount(1)->text(), QStringLiteral("$30.00"));
    QCOMPARE(w->lines->Fund(1)->currentText(), QStringLiteral("2025 Operating Fund"));
}

void tst_OfferingWindows::historyAndComment()
{
    const int jan = CollectionSets::Create_Set(QDate(2025, 1, 12), QString()).id;
    const int mar = CollectionSets::Create_Set(QDate(2025, 3, 9), QString()).id;
    const int apr = CollectionSets::Create_Set(QDate(2025, 4, 6), QString()).id;
    const int feb = CollectionSets::Create_Set(QDate(2025, 2, 9), QString()).id;
    m_data->AddOffering(m_smith, jan, -2024, 30);
    m_data->AddOffering(m_smith, mar, -2025, 45);
    m_data->AddOffering(m_smith, mar, m_building, 5);
    m_data->AddComment(m_smith, mar, QStringLiteral("Cash"));
    auto open = [&](int set, const QDate& date) {
        Windows::Open_New(QStringLiteral("frmContReceipt"), {{QStringLiteral("ContributorID"), m_smith},
                                                             {QStringLiteral("CollectionNumber"), set},
                                                             {QStringLiteral("CollectionDate"), date}});
        return OpenReceipt();
    };
    frmContReceipt* r = open(apr, QDate(2025, 4, 6));
    QvGrid* h = r->fgHist;
    QCOMPARE(h->Rows(), 5);
    QCOMPARE(h->TextMatrix(2, 0), QStringLiteral("3/9/2025"));
    QCOMPARE(h->TextMatrix(2, 3), QStringLiteral("Cash"));
    QCOMPARE(h->TextMatrix(3, 3), QStringLiteral("Cash")); // the comment repeats on each row of its set
    QCOMPARE(h->TextMatrix(4, 2), QStringLiteral("2024 Operating Fund"));
    QCOMPARE(h->TextMatrix(4, 1), QStringLiteral("$30.00"));
    r->cmdCancel->click();
    r = open(feb, QDate(2025, 2, 9));
    QCOMPARE(r->fgHist->Rows(), 3); // January only
    r->cmdCancel->click();

    // Emptying the comment deletes it; a new one is added.
    r = open(mar, QDate(2025, 3, 9));
    QCOMPARE(r->txtComment->text(), QStringLiteral("Cash"));
    r->txtComment->clear();
    r->cmdOK->click();
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM ColComment")), 0.0);
    r = open(jan, QDate(2025, 1, 12));
    r->txtComment->setText(QStringLiteral("Late gift"));
    r->cmdOK->click();
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT CollectionID FROM ColComment WHERE Comment = 'Late gift'")), double(jan));
}

QV_WIDGET_TEST_MAIN(tst_OfferingWindows)
#include "tst_offering_windows.moc"

// When the data file refuses a write (locked by another program, a full
// disk), a window keeps what was typed, nothing is stored by halves, and
// pressing the button again stores each amount exactly once. One user
// action never runs inside another's transaction.
#include "faults/FaultInjection.h"
#include "maintenance/PledgeGrid.h"
#include "maintenance/frmContInfo.h"
#include "offering/CollectionSets.h"
#include "offering/CountPage.h"
#include "offering/FundLinesView.h"
#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "support/WindowTest.h"
#include "widgets/QvDateBox.h"
#include "core/DbError.h"

#include "widgets/QvDateBox.h"
#include <QTabWidget>
#include <sqlite3.h>

using namespace FaultInjection;

namespace {
const QDate kSunday(2025, 6, 15);
} // namespace

class tst_FailedSaves : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void receiptWhoseCommentFailsStoresNothingAndRetriesOnce();
    void savesOnALockedFileKeepWhatWasTyped();
    void offeringWindowKeepsItsAmountsWhenTheFileRefuses_data();
    void offeringWindowKeepsItsAmountsWhenTheFileRefuses();
    void aNewSetOnAFullDiskKeepsTheDialog();
    void aRefusedCountKeepsWhatWasTypedAndTheLooseOffering();
    void inputDuringAGridSaveIsRefusedAndNeverRolledBack();
    void noticesWaitForTheCommitAndDieWithARollback();
    void aGridSaveOnAFullDiskStoresNothing();
    void absurdAmountsNeverReachTheFile();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_smith = 0, m_set = 0;
};

void tst_FailedSaves::init()
{
    m_data = WindowBooks();
    m_smith = m_data->AddContributor("Smith", "John");
    m_data->AddPledge(m_smith, -2025, 520, 7);
    m_set = CollectionSets::Create_Set(kSunday, QString()).id;
    m_data->ClearNotices();
}

void tst_FailedSaves::cleanup()
{
    CloseAllWindows();
    m_data.reset();
}

void tst_FailedSaves::receiptWhoseCommentFailsStoresNothingAndRetriesOnce()
{
    frmContReceipt* r = OpenReceipt(m_smith, m_set, kSunday);
    r->lines->Amount(1)->setText("50");
    r->txtComment->setText("Check #1042");
    {
        RefuseWrites refuse("ColComment");
        m_data->Messages().Expect("database or disk is full");
        r->cmdOK->click();
        QVERIFY(!r->IsClosed());
        // The line was not stored without its comment.
        QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Offering"), 0.0);
        QCOMPARE(r->lines->Amount(1)->text(), "50");
        QCOMPARE(r->txtComment->text(), "Check #1042");
        // Pressed again while the disk is still full: still nothing, still open.
        m_data->Messages().Expect("database or disk is full");
        r->cmdOK->click();
        QVERIFY(!r->IsClosed());
    }
    r->cmdOK->click();
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Offering"), 1.0);
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Offering"), 50.0);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM ColComment WHERE Comment = 'Check #1042'"), 1.0);
}

void tst_FailedSaves::savesOnALockedFileKeepWhatWasTyped()
{
    // An existing record changed: the update, the new line and the comment
    // go together or not at all.
    const int kept = m_data->AddOffering(m_smith, m_set, -2025, 20);
    frmContReceipt* r = OpenReceipt(m_smith, m_set, kSunday);
    QCOMPARE(r->lines->Amount(1)->text(), "$20.00");
    r->lines->Amount(1)->setText("25");
    r->lines->Fund(4)->setCurrentIndex(0);
    r->lines->Amount(4)->setText("5");
    r->txtComment->setText("Cash");
    // The contributor and its e-mail address, likewise.
    Windows::Show_Contributor(m_smith);
    auto* info = OpenWindowOf<frmContInfo>();
    QVERIFY(info);
    info->txtLastName->setText("Smythe");
    info->txtEmail->setText("john@smythe.example");
    info->cboDelivery->setCurrentIndex(2);
    {
        ExclusiveLock other(m_data->DataFile());
        m_data->Messages().Expect("database is locked");
        r->cmdOK->click();
        QVERIFY(!r->IsClosed());
        m_data->Messages().Expect("database is locked");
        info->cmdOK->click();
        QVERIFY(!info->IsClosed());
    }
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Offering"), 20.0);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM ColComment"), 0.0);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM ContributorEmail") + m_data->Scalar("SELECT COUNT(*) FROM Contributors WHERE LastName = 'Smythe'"), 0.0);
    QCOMPARE(info->txtEmail->text(), "john@smythe.example");
    info->cmdOK->click();
    QVERIFY(info->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM ContributorEmail WHERE Delivery = 2") + m_data->Scalar("SELECT COUNT(*) FROM Contributors WHERE LastName = 'Smythe'"), 2.0);
    r->cmdOK->click();
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT Amount FROM Offering WHERE ID = " + QString::number(kept)), 25.0);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Offering"), 2.0);
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Offering"), 30.0);
}

void tst_FailedSaves::offeringWindowKeepsItsAmountsWhenTheFileRefuses_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("fault");
    for (const char* how : {"close box", "Done", "Print"}) {
        QTest::newRow(QByteArray(how) + ", locked") << how << "locked";
        QTest::newRow(QByteArray(how) + ", header refused") << how << "header";
    }
}

void tst_FailedSaves::offeringWindowKeepsItsAmountsWhenTheFileRefuses()
{
    QFETCH(QString, how);
    QFETCH(QString, fault);
    frmCollections* w = OpenSet(m_set, kSunday);
    w->lines->Amount(1)->setText("412.37");
    w->sstCollections->setCurrentIndex(2); // saves the loose offering once
    w->sstCollections->setCurrentIndex(0);
    w->lines->Amount(1)->setText("500");
    w->lines->Fund(2)->setCurrentIndex(0);
    w->lines->Amount(2)->setText("12");
    w->txtNotation->setText("Youth Sunday");
    auto press = [&] {
        if (how == "close box")
            return w->close();
        (how == "Done" ? w->cmdDone : w->cmdPrint)->click();
        return w->IsClosed();
    };
    {
        std::unique_ptr<ExclusiveLock> lock;
        std::unique_ptr<RefuseWrites> refuse;
        if (fault == "locked") {
            lock = std::make_unique<ExclusiveLock>(m_data->DataFile());
            m_data->Messages().Expect("database is locked");
        } else {
            refuse = std::make_unique<RefuseWrites>("Collection", "UPDATE");
            m_data->Messages().Expect("database or disk is full");
        }
        QVERIFY(!press());
        QVERIFY(!w->IsClosed());
        QVERIFY(w->Frame()->isVisible());
        QCOMPARE(w->lines->Amount(1)->text(), "500");
        QCOMPARE(w->lines->Amount(2)->text(), "12");
        QCOMPARE(w->txtNotation->text(), "Youth Sunday");
        QCOMPARE(w->sstCollections->currentIndex(), 0);
    }
    // Nothing was stored by halves: the earlier loose offering, the old notation.
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Offering"), 412.37);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Collection WHERE Notation = 'Youth Sunday'"), 0.0);
    press();
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Offering"), 2.0);
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Offering"), 512.0);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Collection WHERE Notation = 'Youth Sunday'"), 1.0);
    if (how != "Print")
        QVERIFY(w->IsClosed());
}

void tst_FailedSaves::aRefusedCountKeepsWhatWasTypedAndTheLooseOffering()
{
    frmCollections* w = OpenSet(m_set, kSunday);
    w->lines->Amount(1)->setText("512");
    w->sstCollections->setCurrentIndex(3); // the loose offering is saved here
    w->lines->Amount(1)->setText("500");
    CountPage* c = w->count;
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->Frame()));
    for (const auto& [box, keys] : {std::pair{c->txtBills[0], "5"}, {c->txtCheckNo, "1041"}, {c->txtCheckAmount, "12"}}) {
        box->setFocus();
        Type(keys);
    }
    Key(Qt::Key_Return);
    {
        RefuseWrites refuse("CollectionChecks");
        m_data->Messages().Expect("database or disk is full");
        w->cmdDone->click();
        QVERIFY(!w->IsClosed());
        QCOMPARE(c->txtBills[0]->text(), "5");
        QCOMPARE(c->fgChecks->TextMatrix(1, 1), "$12.00");
        // The loose offering changed in the same save was not kept without the count.
        QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Offering"), 512.0);
        QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM CollectionCount"), 0.0);
    }
    // Counted $512 against $500 entered: Done asks, and is told to keep it.
    m_data->Messages().Expect("a difference of $12.00", Messages::Answer::Yes);
    w->cmdDone->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT Bills100 FROM CollectionCount"), 5.0);
    QCOMPARE(m_data->Scalar("SELECT KeptDifference FROM CollectionCount"), 1200.0);
}

void tst_FailedSaves::aNewSetOnAFullDiskKeepsTheDialog()
{
    frmCollectionDate dialog;
    dialog.show();
    dialog.txtNotation->setText("Easter");
    dialog.dpNewDate->setDate(QDate(2025, 6, 22));
    {
        RefuseWrites refuse("Collection");
        m_data->Messages().Expect("database or disk is full");
        dialog.cmdNew->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.Cancelled());
    }
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Collection"), 1.0);
    dialog.cmdNew->click();
    QVERIFY(!dialog.Cancelled());
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Collection WHERE Notation = 'Easter'"), 1.0);
}

void tst_FailedSaves::inputDuringAGridSaveIsRefusedAndNeverRolledBack()
{
    const int fund = m_data->AddFund("Building Fund");
    QList<PledgeGrid::TypedRow> rows;
    for (int i = 0; i < 5; ++i)
        rows.append({m_data->AddContributor(QStringLiteral("Giver %1").arg(i)), QStringLiteral("%1").arg(100 + i)});
    frmContReceipt* r = OpenReceipt(m_smith, m_set, kSunday);
    r->show();
    r->lines->Amount(1)->setText("50");
    m_data->ClearNotices();
    int step = 0;
    double storedDuringSave = -1;
    auto duringSave = [&] {
        if (++step == 3) {
            // The treasurer presses OK and types in the record meanwhile.
            QTest::mouseClick(r->cmdOK, Qt::LeftButton);
            QTest::keyClicks(r->lines->Amount(2), "7");
            QTest::keyClick(r, Qt::Key_Escape);
            storedDuringSave = m_data->Scalar("SELECT COUNT(*) FROM Offering");
        }
        if (step == 5)
            throw DbError("disk I/O error");
    };
    QVERIFY_THROWS_EXCEPTION(DbError, PledgeGrid::Save_Pledges(fund, rows, duringSave));
    QCOMPARE(storedDuringSave, 0.0);
    QVERIFY(!r->IsClosed());
    QCOMPARE(r->lines->Amount(2)->text(), "$0.00");
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Pledges WHERE FundID = " + QString::number(fund)), 0.0);
    QVERIFY(m_data->Notices().isEmpty());
    // Once the grid is done, the same click works and stores the amount once.
    QTest::mouseClick(r->cmdOK, Qt::LeftButton);
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Offering"), 50.0);
}

void tst_FailedSaves::noticesWaitForTheCommitAndDieWithARollback()
{
    const int fund = m_data->AddFund("Missions");
    const int a = m_data->AddContributor("Adams"), b = m_data->AddContributor("Baker");
    m_data->ClearNotices();
    // Every notice is heard after the commit, when what it names is in the file.
    QList<bool> inTransaction;
    QList<double> storedWhenHeard;
    QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, [&](int t, bool, bool, bool, int, int c) {
        inTransaction << modGlobal::DB().InTransaction();
        if (t == dbPledges)
            storedWhenHeard << m_data->Scalar(QStringLiteral("SELECT Amount FROM Pledges WHERE ContributorID = %1 AND "
                                                             "FundID = %2")
                                                  .arg(c)
                                                  .arg(fund));
    });
    QCOMPARE(PledgeGrid::Save_Pledges(fund, {{a, "10"}, {b, "20"}}), 2);
    QCOMPARE(inTransaction, (QList<bool>{false, false}));
    QCOMPARE(storedWhenHeard, (QList<double>{10, 20}));
    QCOMPARE(m_data->Notices().size(), 2);

    // A save that fails part way tells nobody of the rows it had written.
    m_data->ClearNotices();
    {
        RefuseWrites refuse("Pledges", "UPDATE");
        QVERIFY_THROWS_EXCEPTION(DbError, PledgeGrid::Save_Pledges(fund, {{a, "11"}, {b, "21"}}));
    }
    QVERIFY(m_data->Notices().isEmpty());
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Pledges WHERE FundID = " + QString::number(fund)), 30.0);

    // A single write outside a transaction is heard at once, as before.
    m_data->AddContributor("Clark");
    QCOMPARE(m_data->Notices().size(), 1);
}

void tst_FailedSaves::aGridSaveOnAFullDiskStoresNothing()
{
    const int fund = m_data->AddFund("Building Fund");
    QList<PledgeGrid::TypedRow> rows;
    {
        Connection::Transaction tx(modGlobal::DB());
        for (int i = 0; i < 2000; ++i)
            rows.append({m_data->AddContributor(QStringLiteral("Giver %1").arg(i)), QStringLiteral("%1.25").arg(i + 1)});
        tx.Commit();
    }
    m_data->ClearNotices();
    {
        DiskFull full;
        try {
            PledgeGrid::Save_Pledges(fund, rows);
            QFAIL("2,000 pledges fitted into a full file");
        } catch (const DbError& e) {
            QCOMPARE(e.Message(), "database or disk is full");
        }
    }
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Pledges WHERE FundID = " + QString::number(fund)), 0.0);
    QVERIFY(m_data->Notices().isEmpty());
    QCOMPARE(PledgeGrid::Save_Pledges(fund, rows), 2000);
    QCOMPARE(m_data->Scalar("SELECT SUM(Amount) FROM Pledges WHERE FundID = " + QString::number(fund)),
             2000.0 * 2001 / 2 + 2000 * 0.25);
    QCOMPARE(m_data->Notices().size(), 2000);
}

void tst_FailedSaves::absurdAmountsNeverReachTheFile()
{
    // An offering line: typed, left, and saved.
    frmContReceipt* r = OpenReceipt(m_smith, m_set, kSunday);
    r->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(r->Frame()));
    QLineEdit* box = r->lines->Amount(1);
    box->setFocus();
    box->selectAll();
    Type("99999999999999999999");
    Key(Qt::Key_Tab);
    QCOMPARE(box->text(), "$0.00");
    QCOMPARE(m_data->Messages().Beeps(), 1);
    r->lines->Amount(2)->setText("1e17"); // pasted, not left
    r->lines->Fund(2)->setCurrentIndex(0);
    r->cmdOK->click();
    QVERIFY(r->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Offering"), 0.0);

    // The pledge grid: the largest amount is taken, one beyond it is not.
    const int fund = m_data->AddFund("Building Fund");
    const int jones = m_data->AddContributor("Jones");
    QCOMPARE(PledgeGrid::Save_Pledges(fund, {{m_smith, "99999999999999999999"}, {jones, "999999999.99"}}), 1);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Pledges WHERE FundID = " + QString::number(fund)), 1.0);
    QCOMPARE(m_data->Scalar("SELECT Amount FROM Pledges WHERE FundID = " + QString::number(fund)), 999999999.99);
    // A huge value written by another program is not shown with the wrong sign.
    QVERIFY(modGlobal::FormatAmount(1e20).startsWith("$9"));
    QVERIFY(modGlobal::FormatAmount(-1e20).startsWith("($9"));
}

QV_TEST_MAIN(tst_FailedSaves, QApplication)
#include "tst_failed_saves.moc"

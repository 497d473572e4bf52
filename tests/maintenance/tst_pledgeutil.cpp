// The pledge grid editor driven as the treasurer drives it: amounts typed
// into the grid, OK, Cancel, the question on another fund, and the notices
// of other windows reaching the grid.
#include "maintenance/frmPledgeUtil.h"
#include "shell/AllWindows.h"
#include "shell/QvGrid.h"
#include "shell/WindowServices.h"
#include "shell/Windows.h"
#include "shell/clsDBEvent.h"
#include "shell/frmProgess.h"
#include "shell/modGlobal.h"
#include "storage/Connection.h"
#include "storage/clsContributors.h"
#include "storage/clsPledges.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <sqlite3.h>

#include "support/TestDataSet.h"

using Messages::Answer;

namespace {
const QString kAsk = QStringLiteral("Update the pledges entered?");

frmPledgeUtil* Open()
{
    return qobject_cast<frmPledgeUtil*>(Windows::Open_Single(QStringLiteral("frmPledgeUtil")));
}

QStringList Shown(const QvGrid* g)
{
    QStringList rows;
    for (int r = 2; r < g->Rows(); ++r)
        rows << g->TextMatrix(r, 1) + QStringLiteral(" = ") + g->TextMatrix(r, 2);
    return rows;
}

QString AmountOf(const QvGrid* g, const QString& name)
{
    const int r = g->FindRow(1, name, 2);
    return r > 1 ? g->TextMatrix(r, 2) : QStringLiteral("<not listed>");
}

// Puts the grid on a contributor's row and types there.
void TypeAt(frmPledgeUtil* w, const QString& name, const QString& keys)
{
    w->fgPledges->SetRow(w->fgPledges->FindRow(1, name, 2));
    QTest::keyClicks(w->fgPledges, keys);
}

void Choose(frmPledgeUtil* w, const QString& fund)
{
    w->cboFund->setCurrentIndex(w->cboFund->findText(fund));
}

// "caption|description|maximum" of the progress window on screen, if any.
QString ShownProgress()
{
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<frmProgess*>(t); p && p->isVisible())
            return p->windowTitle() + QLatin1Char('|') + p->lblDescription->text() + QLatin1Char('|')
                   + QString::number(p->pbProgress->maximum());
    return {};
}
} // namespace

class tst_PledgeUtil : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensOnTheProcessingYearsMainFund();
    void typingByKeys();
    void okSavesInOneTransaction();
    void nothingTypedCancelAndCloseBoxWriteNothing();
    void anotherFundOrShowAllAsksFirst();
    void noticesFromOtherWindows();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0;
    int m_adams = 0, m_brown = 0, m_jones = 0, m_smith = 0, m_gray = 0;
    int m_pBrown = 0, m_pJones = 0, m_pSmith = 0, m_pGray = 0, m_pSmithBuilding = 0;

    double Amount(int pledgeID)
    {
        return m_data->Scalar(QStringLiteral("SELECT Amount FROM Pledges WHERE ID = ") + QString::number(pledgeID));
    }
};

void tst_PledgeUtil::init()
{
    m_data = std::make_unique<TestDataSet>();
    RegisterAllWindows();
    // Without a main window, the open windows hear the notices directly.
    QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
    m_building = m_data->AddFund(QStringLiteral("Building Fund"));
    m_data->AddFund(QStringLiteral("Missions"), true, true, true);
    m_adams = m_data->AddContributor(QStringLiteral("Adams"), QStringLiteral("Carl"));
    m_brown = m_data->AddContributor(QStringLiteral("Brown"), QStringLiteral("Bea"));
    m_jones = m_data->AddContributor(QStringLiteral("Jones"), QStringLiteral("Ed"));
    m_smith = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("John & Mary"));
    m_gray = m_data->AddContributor(QStringLiteral("Gray"), QStringLiteral("Old"), true, true);
    m_pBrown = m_data->AddPledge(m_brown, -2025, 50, 12);
    m_pJones = m_data->AddPledge(m_jones, -2025, 100, 9);
    m_pSmith = m_data->AddPledge(m_smith, -2025, 520, 7);
    m_pGray = m_data->AddPledge(m_gray, -2025, 40, 3);
    m_data->AddPledge(m_smith, -2024, 480, 7);
    m_pSmithBuilding = m_data->AddPledge(m_smith, m_building, 1000);
    m_data->ClearNotices();
}

void tst_PledgeUtil::cleanup()
{
    for (frmChild* w : frmChild::OpenWindows())
        delete w;
    m_data.reset();
}

void tst_PledgeUtil::opensOnTheProcessingYearsMainFund()
{
    frmPledgeUtil* w = Open();
    QCOMPARE(Open(), w); // a single instance
    QCOMPARE(w->windowTitle(), QStringLiteral("Edit Contributors' Pledges"));
    QCOMPARE(w->cboFund->count(), 4); // the list itself is the core's
    QCOMPARE(w->cboFund->currentText(), QStringLiteral("2025 Operating Fund"));
    QCOMPARE(w->Selected_Fund(), -2025);
    QVERIFY(!w->chkAll->isChecked());

    QvGrid* g = w->fgPledges;
    QVERIFY(g->IsRowHidden(1));
    QCOMPARE(Shown(g), (QStringList{"Adams, Carl = $0.00", "Brown, Bea = $50.00", "Jones, Ed = $100.00",
                                    "Smith, John & Mary = $520.00"}));
    QCOMPARE(g->TextMatrix(2, 0), QString::number(m_adams));
    QCOMPARE(g->Row(), 2); // on the first contributor, never the placeholder

    // The grid grows with the window, the buttons move down.
    const QRect grid = g->geometry(), ok = w->cmdOK->geometry();
    w->resize(w->size() + QSize(40, 100));
    QCOMPARE(g->geometry(), grid.adjusted(0, 0, 40, 100));
    QCOMPARE(w->cmdOK->geometry(), ok.translated(0, 100));
}

void tst_PledgeUtil::typingByKeys()
{
    frmPledgeUtil* w = Open();
    QvGrid* g = w->fgPledges;
    // The first digit replaces, the next ones append, letters do nothing
    // (nor move the grid), Backspace takes the last character off.
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("1"));
    QCOMPARE(AmountOf(g, QStringLiteral("Jones, Ed")), QStringLiteral("1"));
    QTest::keyClicks(g, QStringLiteral("234x.Y5s"));
    QTest::keyClick(g, Qt::Key_Backspace);
    QCOMPARE(AmountOf(g, QStringLiteral("Jones, Ed")), QStringLiteral("1234."));
    QCOMPARE(g->TextMatrix(g->Row(), 1), QStringLiteral("Jones, Ed"));
    QVERIFY(w->Changed());
    // Leaving the row normalises it.
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(AmountOf(g, QStringLiteral("Jones, Ed")), QStringLiteral("$1,234.00"));
    // Esc gives back the amount from before the first key.
    QTest::keyClicks(g, QStringLiteral("77"));
    QCOMPARE(AmountOf(g, QStringLiteral("Smith, John & Mary")), QStringLiteral("77"));
    QTest::keyClick(g, Qt::Key_Escape);
    QCOMPARE(AmountOf(g, QStringLiteral("Smith, John & Mary")), QStringLiteral("$520.00"));
    // Text that is not a number becomes $0.00 with a beep when left.
    TypeAt(w, QStringLiteral("Adams, Carl"), QStringLiteral("1.2.3"));
    const int beeps = m_data->Messages().Beeps();
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(AmountOf(g, QStringLiteral("Adams, Carl")), QStringLiteral("$0.00"));
    QCOMPARE(m_data->Messages().Beeps(), beeps + 1);
    // Back on a row typed before, the first key starts a new amount.
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("9"));
    QCOMPARE(AmountOf(g, QStringLiteral("Jones, Ed")), QStringLiteral("9"));
    QCOMPARE(Amount(m_pJones), 100.0); // nothing written yet
}

void tst_PledgeUtil::okSavesInOneTransaction()
{
    frmPledgeUtil* w = Open();
    w->chkAll->setChecked(true); // nothing typed yet: no question
    TypeAt(w, QStringLiteral("Adams, Carl"), QStringLiteral("100"));    // no pledge yet
    TypeAt(w, QStringLiteral("Brown, Bea"), QStringLiteral("0"));       // to zero, not deleted
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("100.004"));  // less than a cent: nothing
    TypeAt(w, QStringLiteral("Gray, Old"), QStringLiteral("40.01"));
    TypeAt(w, QStringLiteral("Smith, John & Mary"), QStringLiteral("1.2.3")); // never left: counts as 0
    const int rows = w->fgPledges->Rows();

    // Meanwhile: one transaction, the progress window, the window hidden,
    // out of reach of clicks and not to be closed.
    QStringList seen;
    QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, w, [&] {
        seen << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(sqlite3_get_autocommit(modGlobal::DB().Handle()) == 0)
                    .arg(w->isVisible())
                    .arg(w->cboFund->isEnabled() || w->fgPledges->isEnabled() || w->chkAll->isEnabled())
                    .arg(w->close())
                    .arg(ShownProgress());
    });
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QVERIFY(ShownProgress().isEmpty());
    QCOMPARE(seen, QStringList(4, QStringLiteral("1 0 0 0 Updating Pledges|Updating Pledges...|%1").arg(rows)));

    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges WHERE Amount = 100 AND FundID = -2025 AND "
                                           "AccountNumber = 0 AND IsInactive = FALSE AND ContributorID = ")
                            + QString::number(m_adams)),
             1.0);
    QCOMPARE(Amount(m_pBrown), 0.0);
    QCOMPARE(Amount(m_pJones), 100.0);
    QCOMPARE(Amount(m_pGray), 40.01);
    QCOMPARE(Amount(m_pSmith), 0.0);
    QCOMPARE(Amount(m_pSmithBuilding), 1000.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges")), 7.0); // one added, none deleted
}

void tst_PledgeUtil::nothingTypedCancelAndCloseBoxWriteNothing()
{
    // Inside a main window, OK and Cancel take the window's frame away too.
    QMdiArea area;
    area.show();
    WindowServices::SetMainArea(&area);
    auto framesLeft = [&area] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return area.subWindowList().size();
    };
    frmPledgeUtil* w = Open();
    QVERIFY(w->Frame() != w);
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("abc")); // no amount keys: nothing typed
    QTest::keyClick(w->fgPledges, Qt::Key_Escape);
    QVERIFY(!w->Changed());
    Choose(w, QStringLiteral("Building Fund")); // no question
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(framesLeft(), 0);

    w = Open();
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("300"));
    TypeAt(w, QStringLiteral("Adams, Carl"), QStringLiteral("25"));
    w->cmdCancel->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(framesLeft(), 0);
    WindowServices::SetMainArea(nullptr);
    w = Open();
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("300"));
    QVERIFY(w->close()); // the close box
    QCOMPARE(m_data->Messages().Seen().size(), 0);
    QCOMPARE(m_data->Notices().size(), 0);
}

void tst_PledgeUtil::anotherFundOrShowAllAsksFirst()
{
    frmPledgeUtil* w = Open();
    QvGrid* g = w->fgPledges;
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("150"));
    TypeAt(w, QStringLiteral("Adams, Carl"), QStringLiteral("60"));
    // Yes saves to the fund the grid was loaded for, then the new fund loads.
    m_data->Messages().Expect(kAsk, Answer::Yes);
    Choose(w, QStringLiteral("Building Fund"));
    const Messages::Message asked = m_data->Messages().Seen().last();
    QCOMPARE(asked.title, QStringLiteral("Update"));
    QCOMPARE(asked.icon, Messages::Icon::Question);
    QCOMPARE(asked.buttons, Messages::Buttons::YesNo);
    QCOMPARE(Amount(m_pJones), 150.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT FundID FROM Pledges WHERE ContributorID = ") + QString::number(m_adams)),
             -2025.0);
    QCOMPARE(w->Selected_Fund(), m_building);
    QCOMPARE(Shown(g), (QStringList{"Adams, Carl = $0.00", "Brown, Bea = $0.00", "Jones, Ed = $0.00",
                                    "Smith, John & Mary = $1,000.00"}));

    // No discards; Esc after typing still counts as typed.
    TypeAt(w, QStringLiteral("Brown, Bea"), QStringLiteral("75"));
    QTest::keyClick(g, Qt::Key_Escape);
    m_data->Messages().Expect(kAsk, Answer::No);
    Choose(w, QStringLiteral("2025 Operating Fund"));
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges WHERE FundID = ") + QString::number(m_building)),
             1.0);

    // Show All asks the same way and reloads with its progress window.
    TypeAt(w, QStringLiteral("Smith, John & Mary"), QStringLiteral("600"));
    QString progress;
    QTimer::singleShot(0, [&progress] { progress = ShownProgress(); });
    m_data->Messages().Expect(kAsk, Answer::No);
    w->chkAll->setChecked(true);
    QCOMPARE(progress, QStringLiteral("Loading|Loading Contributors and Pledges...|5"));
    QCOMPARE(AmountOf(g, QStringLiteral("Gray, Old")), QStringLiteral("$40.00"));
    QCOMPARE(AmountOf(g, QStringLiteral("Smith, John & Mary")), QStringLiteral("$520.00"));
    TypeAt(w, QStringLiteral("Gray, Old"), QStringLiteral("45"));
    m_data->Messages().Expect(kAsk, Answer::Yes);
    w->chkAll->setChecked(false);
    QCOMPARE(Amount(m_pGray), 45.0);
    QCOMPARE(AmountOf(g, QStringLiteral("Gray, Old")), QStringLiteral("<not listed>"));
}

void tst_PledgeUtil::noticesFromOtherWindows()
{
    frmPledgeUtil* w = Open();
    QvGrid* g = w->fgPledges;
    auto pledge = [](int id) {
        clsPledges p;
        p.ID(id);
        p.Get_One_Record(QString());
        return p;
    };

    // Added contributors appear in name order (inactive ones only with Show
    // All); what is being typed follows its contributor to its new row.
    TypeAt(w, QStringLiteral("Jones, Ed"), QStringLiteral("42"));
    const int baker = m_data->AddContributor(QStringLiteral("Baker"), QStringLiteral("Al"));
    m_data->AddContributor(QStringLiteral("Ames"), QStringLiteral("Ann"), true, true);
    QCOMPARE(Shown(g), (QStringList{"Adams, Carl = $0.00", "Baker, Al = $0.00", "Brown, Bea = $50.00",
                                    "Jones, Ed = 42", "Smith, John & Mary = $520.00"}));
    QCOMPARE(g->TextMatrix(g->Row(), 1), QStringLiteral("Jones, Ed"));
    QTest::keyClick(g, Qt::Key_Escape);
    QCOMPARE(AmountOf(g, QStringLiteral("Jones, Ed")), QStringLiteral("$100.00"));
    QCOMPARE(AmountOf(g, QStringLiteral("Brown, Bea")), QStringLiteral("$50.00"));

    // Renamed: the row moves, keeping what was typed. Deleted: the row goes.
    TypeAt(w, QStringLiteral("Adams, Carl"), QStringLiteral("35"));
    clsContributors c;
    c.ID(m_adams);
    c.Get_One_Record(QString());
    c.LastName(QStringLiteral("Young"));
    c.Save_to_DB();
    QCOMPARE(g->TextMatrix(g->Rows() - 1, 1) + g->TextMatrix(g->Rows() - 1, 2), QStringLiteral("Young, Carl35"));
    c.ID(baker);
    c.Get_One_Record(QString());
    c.Delete_Record_from_DB();
    QCOMPARE(AmountOf(g, QStringLiteral("Baker, Al")), QStringLiteral("<not listed>"));

    // A pledge to the listed fund changed elsewhere replaces the amount,
    // also one being typed, and typing there starts anew.
    TypeAt(w, QStringLiteral("Brown, Bea"), QStringLiteral("99"));
    clsPledges p = pledge(m_pBrown);
    p.Amount(75);
    p.Save_to_DB();
    QCOMPARE(AmountOf(g, QStringLiteral("Brown, Bea")), QStringLiteral("$75.00"));
    QTest::keyClicks(g, QStringLiteral("8"));
    QCOMPARE(AmountOf(g, QStringLiteral("Brown, Bea")), QStringLiteral("8"));
    // A pledge to another fund leaves the row and its typed amount alone.
    TypeAt(w, QStringLiteral("Smith, John & Mary"), QStringLiteral("610"));
    p = pledge(m_pSmithBuilding);
    p.Amount(1200);
    p.Save_to_DB();
    QCOMPARE(AmountOf(g, QStringLiteral("Smith, John & Mary")), QStringLiteral("610"));
    // Deleted or added elsewhere, at once.
    pledge(m_pJones).Delete_Record_from_DB();
    QCOMPARE(AmountOf(g, QStringLiteral("Jones, Ed")), QStringLiteral("$0.00"));
    m_data->AddPledge(m_jones, -2025, 125);
    QCOMPARE(AmountOf(g, QStringLiteral("Jones, Ed")), QStringLiteral("$125.00"));
}

QV_WIDGET_TEST_MAIN(tst_PledgeUtil)
#include "tst_pledgeutil.moc"

// The pledge grid editor driven as the treasurer drives it: amounts typed
// into the grid, OK, Cancel, the question on another fund, and the notices
// of other windows reaching the grid.
#include "maintenance/frmPledgeUtil.h"
#include "support/WindowTest.h"
#include "widgets/frmProgess.h"
#include "storage/clsContributors.h"
#include "storage/clsPledges.h"

#include <QCheckBox>
#include <QMdiArea>
#include <QProgressBar>
#include <QTimer>
#include <sqlite3.h>

namespace {
const QString kAsk = "Update the pledges entered?";

QStringList Shown(const QvGrid* g) { return GridText(g, {1, 2}, " = "); }

QString AmountOf(const QvGrid* g, const QString& name)
{
    const int r = g->FindRow(1, name, 2);
    return r > 1 ? g->TextMatrix(r, 2) : "<not listed>";
}

// The window active and its grid with the focus, as a click on it leaves it.
void FocusGrid(frmPledgeUtil* w)
{
    if (QApplication::activeWindow() != w->Frame()) {
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w->Frame()))
            QTest::qFail("the pledge grid never became active", __FILE__, __LINE__);
    }
    w->fgPledges->setFocus();
}

// Puts the grid on a contributor's row and types there.
void TypeAt(frmPledgeUtil* w, const QString& name, const QString& keys)
{
    w->fgPledges->SetRow(w->fgPledges->FindRow(1, name, 2));
    FocusGrid(w);
    Type(keys);
}

// "caption|maximum" of the progress window on screen, if any.
QString ShownProgress()
{
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<frmProgess*>(t); p && p->isVisible())
            return p->windowTitle() + '|' + QString::number(p->pbProgress->maximum());
    return {};
}
} // namespace

class tst_PledgeUtil : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typingAndTheQuestionOnAnotherFund();
    void okAndCancel();
    void noticesFromOtherWindows();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_adams = 0, m_jones = 0, m_pBrown = 0, m_pJones = 0, m_pSmithBuilding = 0;

    double Amount(int pledgeID) { return m_data->Scalar("SELECT Amount FROM Pledges WHERE ID = " + QString::number(pledgeID)); }
};

void tst_PledgeUtil::init()
{
    m_data = WindowBooks();
    const int building = m_data->AddFund("Building Fund");
    m_adams = m_data->AddContributor("Adams", "Carl");
    const int brown = m_data->AddContributor("Brown", "Bea");
    m_jones = m_data->AddContributor("Jones", "Ed");
    const int smith = m_data->AddContributor("Smith", "John & Mary");
    m_pBrown = m_data->AddPledge(brown, -2025, 50, 12);
    m_pJones = m_data->AddPledge(m_jones, -2025, 100, 9);
    m_data->AddPledge(smith, -2025, 520, 7);
    m_data->AddPledge(m_data->AddContributor("Gray", "Old", true, true), -2025, 40, 3);
    m_pSmithBuilding = m_data->AddPledge(smith, building, 1000);
    m_data->ClearNotices();
}

void tst_PledgeUtil::cleanup()
{
    CloseAllWindows();
    m_data.reset();
}

void tst_PledgeUtil::typingAndTheQuestionOnAnotherFund()
{
    frmPledgeUtil* w = OpenSingle<frmPledgeUtil>("frmPledgeUtil");
    QvGrid* g = w->fgPledges;
    // Keys reach the first contributor's amount at once: the first digit
    // replaces, the next ones append, letters do nothing, Backspace takes one off.
    FocusGrid(w);
    Type("1234x.Y5s");
    Key(Qt::Key_Backspace);
    QCOMPARE(AmountOf(g, "Adams, Carl"), "1234.");
    // Leaving the row normalises it; Esc gives back the amount from before.
    Key(Qt::Key_Down);
    QCOMPARE(AmountOf(g, "Adams, Carl"), "$1,234.00");
    Type("77");
    Key(Qt::Key_Escape);
    QCOMPARE(AmountOf(g, "Brown, Bea"), "$50.00");
    // Text that is not a number becomes $0.00 with a beep when left.
    TypeAt(w, "Jones, Ed", "1.2.3");
    Key(Qt::Key_Up);
    QCOMPARE(AmountOf(g, "Jones, Ed"), "$0.00");
    QCOMPARE(m_data->Messages().Beeps(), 1);

    // Yes saves to the fund the grid was loaded for, then the new fund loads.
    m_data->Messages().Expect(kAsk, Messages::Answer::Yes);
    w->cboFund->setCurrentIndex(w->cboFund->findText("Building Fund"));
    QCOMPARE(Amount(m_pJones), 0.0);
    QCOMPARE(AmountOf(g, "Smith, John & Mary"), "$1,000.00");
    // No discards; Show All asks the same way and reloads with its progress window.
    TypeAt(w, "Jones, Ed", "60");
    QString progress;
    QTimer::singleShot(0, [&progress] { progress = ShownProgress(); });
    m_data->Messages().Expect(kAsk, Messages::Answer::No);
    w->chkAll->setChecked(true);
    QCOMPARE(progress, "Loading|5");
    QCOMPARE(AmountOf(g, "Jones, Ed"), "$0.00");
    QCOMPARE(AmountOf(g, "Gray, Old"), "$0.00");
    // Asked after Esc too, but not when nothing was typed.
    TypeAt(w, "Brown, Bea", "75");
    Key(Qt::Key_Escape);
    m_data->Messages().Expect(kAsk, Messages::Answer::No);
    w->cboFund->setCurrentIndex(w->cboFund->findText("2025 Operating Fund"));
    w->chkAll->setChecked(false);
}

void tst_PledgeUtil::okAndCancel()
{
    // Inside a main window, OK and Cancel take the window's frame away too.
    QMdiArea area;
    area.show();
    WindowServices::SetMainArea(&area);
    auto framesLeft = [&area] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return area.subWindowList().size();
    };
    // OK saves in one transaction, meanwhile showing the progress window, the
    // window hidden, out of reach of clicks and not to be closed. The notices
    // come once the transaction is committed.
    frmPledgeUtil* w = OpenSingle<frmPledgeUtil>("frmPledgeUtil");
    TypeAt(w, "Adams, Carl", "100"); // no pledge yet
    TypeAt(w, "Jones, Ed", "1.5");
    QStringList seen;
    QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, w, [&] {
        seen << QStringLiteral("%1 %2 %3 %4 %5").arg(sqlite3_get_autocommit(modGlobal::DB().Handle()) == 0)
                    .arg(w->isVisible()).arg(w->close()).arg(ShownProgress())
                    .arg(w->cboFund->isEnabled() || w->fgPledges->isEnabled() || w->chkAll->isEnabled());
    });
    const QString rows = QString::number(w->fgPledges->Rows());
    w->cmdOK->click();
    QCOMPARE(framesLeft(), 0);
    QCOMPARE(seen, QStringList(2, "0 0 0 Updating Pledges|" + rows + " 0"));
    QCOMPARE(Amount(m_pJones), 1.5);

    // Cancel discards without asking (the close box's question is walked
    // with every window's in tst_keyboard).
    w = OpenSingle<frmPledgeUtil>("frmPledgeUtil");
    TypeAt(w, "Jones, Ed", "300");
    w->cmdCancel->click();
    QCOMPARE(framesLeft(), 0);
    QCOMPARE(m_data->Messages().Seen().size(), 0);
    QCOMPARE(Amount(m_pJones), 1.5);
    WindowServices::SetMainArea(nullptr);
}

void tst_PledgeUtil::noticesFromOtherWindows()
{
    frmPledgeUtil* w = OpenSingle<frmPledgeUtil>("frmPledgeUtil");
    QvGrid* g = w->fgPledges;
    // Added contributors appear in name order (inactive ones only with Show
    // All); what is being typed follows its contributor to its new row.
    TypeAt(w, "Jones, Ed", "42");
    const int baker = m_data->AddContributor("Baker", "Al");
    m_data->AddContributor("Ames", "Ann", true, true);
    QCOMPARE(Shown(g), (QStringList{"Adams, Carl = $0.00", "Baker, Al = $0.00", "Brown, Bea = $50.00",
                                    "Jones, Ed = 42", "Smith, John & Mary = $520.00"}));
    Key(Qt::Key_Escape);
    QCOMPARE(AmountOf(g, "Jones, Ed"), "$100.00");
    QCOMPARE(AmountOf(g, "Brown, Bea"), "$50.00");

    // Renamed: the row moves, keeping what was typed. Deleted: the row goes.
    TypeAt(w, "Adams, Carl", "35");
    clsContributors c;
    c.Get_One_Record("ID = " + QString::number(m_adams));
    c.LastName("Young");
    c.Save_to_DB();
    QCOMPARE(Shown(g).last(), "Young, Carl = 35");
    c.Get_One_Record("ID = " + QString::number(baker));
    c.Delete_Record_from_DB();
    QCOMPARE(AmountOf(g, "Baker, Al"), "<not listed>");

    // A pledge to the listed fund changed elsewhere replaces the amount,
    // also one being typed, and typing there starts anew.
    TypeAt(w, "Brown, Bea", "99");
    clsPledges p;
    p.Get_One_Record("ID = " + QString::number(m_pBrown));
    p.Amount(75);
    p.Save_to_DB();
    QCOMPARE(AmountOf(g, "Brown, Bea"), "$75.00");
    Type("8");
    QCOMPARE(AmountOf(g, "Brown, Bea"), "8");
    // A pledge to another fund leaves the row and its typed amount alone.
    TypeAt(w, "Smith, John & Mary", "610");
    p.Get_One_Record("ID = " + QString::number(m_pSmithBuilding));
    p.Amount(1200);
    p.Save_to_DB();
    QCOMPARE(AmountOf(g, "Smith, John & Mary"), "610");
    // Deleted or added elsewhere, at once.
    p.Get_One_Record("ID = " + QString::number(m_pJones));
    p.Delete_Record_from_DB();
    QCOMPARE(AmountOf(g, "Jones, Ed"), "$0.00");
    m_data->AddPledge(m_jones, -2025, 125);
    QCOMPARE(AmountOf(g, "Jones, Ed"), "$125.00");
}

QV_TEST_MAIN(tst_PledgeUtil, QApplication)
#include "tst_pledgeutil.moc"

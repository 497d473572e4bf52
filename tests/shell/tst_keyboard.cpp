// The program driven as a person drives it: a shown, active main window and
// every key sent to whatever control has the focus, never to a named one.
// What reached the data file is checked to the cent.
#include "maintenance/EnvelopeCheck.h"
#include "maintenance/frmChurch.h"
#include "maintenance/frmContInfo.h"
#include "maintenance/frmContList.h"
#include "maintenance/frmFundInfo.h"
#include "maintenance/frmFundList.h"
#include "maintenance/frmPledge.h"
#include "maintenance/frmPledgeUtil.h"
#include "offering/FundLinesView.h"
#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "widgets/AccessKeys.h"
#include "support/WindowTest.h"
#include "widgets/AmountBox.h"
#include "widgets/MessageBoxService.h"
#include "widgets/QvDateBox.h"
#include "core/TypedInput.h"
#include "storage/Schema.h"
#include "support/ChurchSettings.h"

#include <QAction>
#include <QCalendarWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

using Messages::Answer;
using namespace modGlobal;

namespace {

// The collection-set dialog as a person meets it: shown, active, and the
// keys of the script typed into whatever has the focus.
int DriveDialog(QDialog* d, const std::function<void(QDialog*)>& keys)
{
    d->show();
    d->activateWindow();
    if (!QTest::qWaitForWindowActive(d))
        QTest::qFail("dialog never became active", __FILE__, __LINE__);
    if (!QTest::qWaitFor([d] { return QApplication::activeWindow() == d; }))
        QTest::qFail("dialog never took the keys", __FILE__, __LINE__);
    keys(d);
    if (d->isVisible() && d->result() != QDialog::Accepted)
        d->reject();
    // A window manager gives the keys back to the window that owned the
    // dialog; the offscreen platform has none, so the test does it.
    if (QWidget* owner = d->parentWidget())
        owner->window()->activateWindow();
    return d->result();
}

// The stored offerings that match, in cents.
qint64 Cents(TestDataSet& data, const QString& where)
{
    return qRound64(data.Scalar(QStringLiteral("SELECT Sum(Amount) FROM Offering WHERE ") + where) * 100);
}

} // namespace

class tst_Keyboard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aWholeSundayByKeyboard();
    void dialogsTakeTypingAtOnceAndAnswerEnterAndEsc();
    void focusGoesBackToTheOpener();
    void dateBoxLeavesOnTabAndRefusesLetters();
    void datesTypedInEveryLocale_data();
    void datesTypedInEveryLocale();
    void closingAsksAboutTypedChanges_data();
    void closingAsksAboutTypedChanges();
    void enterAnswersNoWhereYesDoublesOrDeletes();
    void searchKeys();
    void quickFindHighlightsOneRowAndBeepsOnNoMatch();
    void duplicateEnvelopeWarning();
    void textBoxesHoldTheirColumnAndAmountBoxesTheLargestAmount();
    void notAnAmountIsNotedInTheStatusBar();
    void windowKeysComeBeforeTheMenuBar();

private:
    void StartMain();

    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<frmMain> m_main;
    int m_building = 0, m_missions = 0;
    int m_smith = 0, m_lefevre = 0, m_adams = 0;
};

void tst_Keyboard::init()
{
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    RegisterAllWindows();
}

void tst_Keyboard::StartMain()
{
    m_main = LoadMainWindow();
    m_building = m_data->AddFund("Building Fund");
    m_missions = m_data->AddFund("Missions");
    SetReportFunds(m_building, m_missions);
    m_smith = m_data->AddContributor("Smith", "John");
    m_lefevre = m_data->AddContributor(QStringLiteral("Lefèvre"), "Anne");
    m_adams = m_data->AddContributor("Adams", "Carl", false);
    m_data->AddPledge(m_smith, -2025, 520, 101);
    m_data->AddPledge(m_lefevre, -2025, 260, 102);
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QTRY_VERIFY(m_main->Password_Accepted());
    m_data->ClearNotices();
}

void tst_Keyboard::cleanup()
{
    CloseMainWindow(m_main);
    m_data.reset();
}

void tst_Keyboard::aWholeSundayByKeyboard()
{
    StartMain();
    // Collections, and Enter on the proposed date.
    ModalScript script([](QDialog* d) {
        return DriveDialog(d, [](QDialog* dialog) {
            auto* set = qobject_cast<frmCollectionDate*>(dialog);
            QCOMPARE(Focus(), set->dpNewDate);
            Key(Qt::Key_Return);
        });
    });
    m_main->Menu("mnuCollections")->trigger();
    frmCollections* w = OpenWindowOf<frmCollections>();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), "Collection 1 for 6/15/2025");

    // The loose offering: typed at once on line 1, Tab to the next line.
    QTRY_COMPARE(Focus(), w->lines->Amount(1));
    Type("412.37");
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), w->lines->Fund(2));
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), w->lines->Amount(2));
    Type("100");
    Key(Qt::Key_Tab, Qt::ControlModifier); // the contributors tab
    QCOMPARE(w->sstCollections->currentIndex(), 1);
    QCOMPARE(Focus(), w->txtQuick);

    // What is typed in Quick Find, then Enter: the one offering record of
    // the contributor, its first amount taking the typing at once.
    auto receiptOf = [&](const QString& typed, int contributor) -> frmContReceipt* {
        Type(typed);
        Key(Qt::Key_Return);
        const QList<frmContReceipt*> receipts = OpenOf<frmContReceipt>();
        if (receipts.size() != 1 || receipts.first()->ContributorID() != contributor
            || !QTest::qWaitFor([&] { return Focus() == receipts.first()->lines->Amount(1); }))
            return nullptr;
        return receipts.first();
    };
    // The record closed by a key, and the typing back in Quick Find.
    auto closedBy = [&](int key) {
        Key(key);
        return QTest::qWaitFor([] { return OpenOf<frmContReceipt>().isEmpty(); })
            && QTest::qWaitFor([w] { return Focus() == w->txtQuick; });
    };

    // An envelope number, Enter, an amount typed at once, Enter for OK.
    frmContReceipt* r = receiptOf("101", m_smith);
    QVERIFY(r);
    Type("50");
    QVERIFY(closedBy(Qt::Key_Return));
    QVERIFY(w->txtQuick->selectedText() == w->txtQuick->text() || w->txtQuick->text().isEmpty());

    // The next envelope: two lines this time.
    r = receiptOf("102", m_lefevre);
    QVERIFY(r);
    Type("25.5");
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), r->lines->Amount(2));
    Type("10");
    QVERIFY(closedBy(Qt::Key_Return));

    // A number nobody has: a beep, the text ready to be typed over, nothing opens.
    const int beeps = m_data->Messages().Beeps();
    QVERIFY(!receiptOf("999", 0));
    QCOMPARE(m_data->Messages().Beeps(), beeps + 1);
    QCOMPARE(w->txtQuick->selectedText(), "999");
    QVERIFY(OpenOf<frmContReceipt>().isEmpty());

    // A name without its accent; Esc cancels what was typed.
    r = receiptOf("lefe", m_lefevre);
    QVERIFY(r);
    QCOMPARE(r->lines->Amount(1)->selectedText(), "$25.50"); // what was stored
    Type("9999");
    m_data->Messages().Expect("Save the changes?", Answer::No);
    QVERIFY(closedBy(Qt::Key_Escape));

    // A newcomer: Add, the name, Enter; the offering record opens for the
    // new contributor with the typing in it, and Enter there comes back to
    // Quick Find.
    Key(Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(OpenWindowOf<frmContInfo>());
    QTRY_COMPARE(Focus(), OpenWindowOf<frmContInfo>()->txtLastName);
    Type("Okafor");
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmContInfo>());
    const QList<frmContReceipt*> receipts = OpenOf<frmContReceipt>();
    QCOMPARE(receipts.size(), 1);
    const int newcomer = receipts.first()->ContributorID();
    QTRY_COMPARE(Focus(), receipts.first()->lines->Amount(1));
    QTest::qWait(50); // nothing takes the focus away afterwards
    QCOMPARE(Focus(), receipts.first()->lines->Amount(1));
    Type("20");
    QVERIFY(closedBy(Qt::Key_Return));
    QCOMPARE(Cents(*m_data, QStringLiteral("ContributorID = %1").arg(newcomer)), 2000);

    // Esc closes the offering window, which keeps what it holds.
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!OpenWindowOf<frmCollections>());

    // Every amount once, to the cent, where it belongs.
    QCOMPARE(Cents(*m_data, "ContributorID = 1 AND FundID = -2025"), 41237);
    QCOMPARE(Cents(*m_data, QStringLiteral("ContributorID = 1 AND FundID = %1").arg(m_building)), 10000);
    QCOMPARE(Cents(*m_data, QStringLiteral("ContributorID = %1 AND FundID = -2025").arg(m_smith)), 5000);
    QCOMPARE(Cents(*m_data, QStringLiteral("ContributorID = %1 AND FundID = -2025").arg(m_lefevre)), 2550);
    QCOMPARE(Cents(*m_data, QStringLiteral("ContributorID = %1 AND FundID = %2").arg(m_lefevre).arg(m_building)), 1000);
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Offering"), 6.0);
    QCOMPARE(Cents(*m_data, "CollectionID = 1"), 61787);
}

void tst_Keyboard::dialogsTakeTypingAtOnceAndAnswerEnterAndEsc()
{
    StartMain();
    // Add in the contributor list: the last name takes the typing; Enter is OK.
    m_main->Menu("mnuContributor")->trigger();
    frmContList* list = OpenWindowOf<frmContList>();
    QVERIFY(list);
    list->cmdAdd->click();
    frmContInfo* c = OpenWindowOf<frmContInfo>();
    QVERIFY(c);
    QTRY_COMPARE(Focus(), c->txtLastName);
    Type("Nguyen");
    Key(Qt::Key_Tab);
    Type("Bao");
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmContInfo>());
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Contributors WHERE LastName = 'Nguyen' AND FirstNames = 'Bao'"), 1.0);

    // In the list, Esc closes it.
    Windows::Bring_Forward(list);
    QTRY_VERIFY(list->isAncestorOf(Focus()));
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!OpenWindowOf<frmContList>());

    // Add in the fund list: the name takes the typing; Enter is OK.
    m_main->Menu("mnuFunds")->trigger();
    frmFundList* funds = OpenWindowOf<frmFundList>();
    QVERIFY(funds);
    funds->cmdAdd->click();
    frmFundInfo* f = OpenWindowOf<frmFundInfo>();
    QTRY_COMPARE(Focus(), f->txtName);
    Type("Youth Choir");
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmFundInfo>());
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Funds WHERE FundName = 'Youth Choir'"), 1.0);
    // Enter on the list's grid edits the fund on the current row.
    funds->fgFunds->SetRow(funds->fgFunds->FindRow(1, "Missions"));
    funds->fgFunds->setFocus();
    Key(Qt::Key_Return);
    f = OpenWindowOf<frmFundInfo>();
    QVERIFY(f);
    QCOMPARE(f->txtName->text(), "Missions");
    QTRY_COMPARE(Focus(), f->txtName);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!OpenWindowOf<frmFundInfo>());

    // The church dialog: typing at once, 41 characters hold 40, Enter is OK.
    m_main->Menu("mnuAddress")->trigger();
    frmChurch* church = OpenWindowOf<frmChurch>();
    QVERIFY(church);
    QTRY_COMPARE(Focus(), church->txtName);
    const QString name41 = "Saint Bartholomew and All Angels Parishes"; // 41 characters
    QCOMPARE(name41.size(), 41);
    Type(name41);
    QCOMPARE(church->txtName->text(), name41.left(40));
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmChurch>());
    QCOMPARE(m_data->Scalar("SELECT Length(ChurchName) FROM Church WHERE ID = 1"), 40.0);
    QCOMPARE(m_main->windowTitle(), "Quorvane - " + name41.left(40));

    // The password change: the boxes in turn, Enter is OK.
    m_main->Menu("mnuPassword")->trigger();
    auto* pw = Windows::Find_Window("frmPWChange");
    QVERIFY(pw);
    QTRY_COMPARE(Focus(), pw->findChild<QLineEdit*>("txtCurPW"));
    Key(Qt::Key_Tab);
    Type("hymnal");
    Key(Qt::Key_Tab);
    Type("hymnal");
    m_data->Messages().Expect("Your password was successfully changed.");
    Key(Qt::Key_Return);
    QTRY_VERIFY(!Windows::Find_Window("frmPWChange"));
    QVERIFY(modPassword::Password_Matches("HYMNAL"));

    // Add pledge: the fund list takes the keys, the proposed number follows,
    // the amount is typed, Enter is OK.
    Windows::Show_Contributor(m_adams);
    c = OpenWindowOf<frmContInfo>();
    c->cmdAdd->click();
    frmPledge* p = OpenWindowOf<frmPledge>();
    QVERIFY(p);
    QTRY_COMPARE(Focus(), p->cboFund);
    Key(Qt::Key_Down); // the first fund: 2025 Operating Fund
    QCOMPARE(p->cboFund->currentData().toInt(), -2025);
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), p->txtAccountNumber);
    QCOMPARE(p->txtAccountNumber->text(), "10001"); // Adams has no envelopes
    Key(Qt::Key_Tab);
    Type("300");
    // Enter in the notes is a new line there, not OK; Tab leaves the notes
    // for OK, and Enter on it presses it.
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), p->txtNotes);
    Type("Paid");
    Key(Qt::Key_Return);
    Type("yearly");
    QVERIFY(!p->IsClosed());
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), p->cmdOK);
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmPledge>());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Count(*) FROM Pledges WHERE ContributorID = %1 AND Notes = "
                                           "'Paid' || char(10) || 'yearly'")
                                .arg(m_adams)),
             1.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Amount FROM Pledges WHERE ContributorID = %1").arg(m_adams)), 300.0);
    QTRY_COMPARE(m_main->mdiMain->activeSubWindow()->widget(), c);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!OpenWindowOf<frmContInfo>());

    // The pledge grid: amounts typed at once; Tab to OK and Enter saves.
    m_main->Menu("mnuEditPledges")->trigger();
    frmPledgeUtil* grid = OpenWindowOf<frmPledgeUtil>();
    QVERIFY(grid);
    QTRY_COMPARE(Focus(), grid->fgPledges);
    const int row = grid->fgPledges->Row();
    QVERIFY(row >= 2);
    const QString who = grid->fgPledges->TextMatrix(row, 1);
    Type("777");
    Key(Qt::Key_Return); // the grid's own Enter: the amount is taken, nothing closes
    QVERIFY(OpenWindowOf<frmPledgeUtil>());
    QVERIFY(grid->fgPledges->TextMatrix(row, 2).contains("777"));
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), grid->cmdOK);
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmPledgeUtil>());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Pledges.Amount FROM Pledges INNER JOIN Contributors ON "
                                           "Pledges.ContributorID = Contributors.ID WHERE FundID = -2025 AND "
                                           "Contributors.LastName || ', ' || Contributors.FirstNames = '%1'")
                                .arg(who)),
             777.0);
}

void tst_Keyboard::focusGoesBackToTheOpener()
{
    StartMain();
    m_main->Menu("mnuContributor")->trigger();
    frmContList* list = OpenWindowOf<frmContList>();
    Windows::Show_Contributor(m_smith);
    frmContInfo* c = OpenWindowOf<frmContInfo>();
    QTRY_COMPARE(Focus(), c->txtLastName);
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), c->txtFirstNames);
    // The pledge dialog over the contributor; Esc returns to the contributor,
    // to the box the user was in, not to the list behind it.
    c->fgPledges->SetRow(2);
    c->cmdEdit->click();
    frmPledge* p = OpenWindowOf<frmPledge>();
    QVERIFY(p);
    QTRY_COMPARE(Focus(), p->txtAmount); // an existing pledge: its amount
    QCOMPARE(p->Opener(), c);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(!OpenWindowOf<frmPledge>());
    QTRY_COMPARE(m_main->mdiMain->activeSubWindow()->widget(), c);
    QTRY_COMPARE(Focus(), c->txtFirstNames);

    // Brought forward again, a window starts at its first box.
    Windows::Bring_Forward(list);
    QTRY_VERIFY(list->isAncestorOf(Focus()));
    Windows::Show_Contributor(m_smith); // already open: brought forward
    QTRY_COMPARE(Focus(), c->txtLastName);

    // An opener that is gone is no harm: the window closes as ever.
    c->cmdEdit->click();
    p = OpenWindowOf<frmPledge>();
    c->Frame()->close();
    QTRY_VERIFY(!OpenWindowOf<frmContInfo>());
    p->Frame()->close();
    QTRY_VERIFY(!OpenWindowOf<frmPledge>());
}

void tst_Keyboard::dateBoxLeavesOnTabAndRefusesLetters()
{
    StartMain();
    m_data->AddCollection(QDate(2025, 6, 8), "Pentecost");
    QString notation;
    QDate date;
    ModalScript script([&](QDialog* d) {
        return DriveDialog(d, [&](QDialog* dialog) {
            auto* set = qobject_cast<frmCollectionDate*>(dialog);
            QCOMPARE(Focus(), set->dpNewDate);
            QCOMPARE(set->dpNewDate->selectedText(), "6/15/2025"); // typed over as a whole
            // Tab leaves the box; the notation typed next goes to the next box.
            Key(Qt::Key_Tab);
            QCOMPARE(Focus(), set->txtNotation);
            Type("Junior choir");
            QCOMPARE(set->txtNotation->text(), "Junior choir");
            QCOMPARE(set->dpNewDate->date(), QDate(2025, 6, 15));
            // Back in the box, letters are refused with a beep.
            Key(Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(Focus(), set->dpNewDate);
            const int beeps = m_data->Messages().Beeps();
            Type("Jun");
            QCOMPARE(m_data->Messages().Beeps(), beeps + 3);
            QCOMPARE(set->dpNewDate->text(), "6/15/2025");
            // A date outside the processing year: a beep, the good date back.
            Type("1/4/2024");
            Key(Qt::Key_Tab);
            QCOMPARE(m_data->Messages().Beeps(), beeps + 4);
            QCOMPARE(set->dpNewDate->date(), QDate(2025, 6, 15));
            QCOMPARE(set->dpNewDate->text(), "6/15/2025");
            // The arrows step a day; the calendar picks a date and gives
            // the keys back to the box.
            Key(Qt::Key_Tab, Qt::ShiftModifier);
            Key(Qt::Key_Down);
            QCOMPARE(set->dpNewDate->date(), QDate(2025, 6, 14));
            Key(Qt::Key_Down, Qt::AltModifier);
            auto* calendar = set->dpNewDate->findChild<QCalendarWidget*>();
            QVERIFY(calendar && calendar->isVisible());
            QCOMPARE(calendar->selectedDate(), QDate(2025, 6, 14));
            QCOMPARE(calendar->maximumDate(), QDate(2025, 12, 31));
            emit calendar->clicked(QDate(2025, 6, 29));
            QVERIFY(!calendar->isVisible());
            QCOMPARE(set->dpNewDate->date(), QDate(2025, 6, 29));
            QTRY_COMPARE(Focus(), set->dpNewDate);
            // A whole date in the short form; Enter creates the set.
            Type("6/22/25");
            Key(Qt::Key_Return);
            notation = set->CollectionNotation();
            date = set->CollectionDate();
        });
    });
    m_main->Menu("mnuCollections")->trigger();
    QCOMPARE(date, QDate(2025, 6, 22));
    QCOMPARE(notation, "Junior choir");
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Collection WHERE CollectionDate = '2025-06-22' AND Notation = "
                            "'Junior choir'"),
             1.0);
}

void tst_Keyboard::datesTypedInEveryLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    const QDate june22(2025, 6, 22);
    // The US form of the README, the ISO form and the locale's own numeric
    // form are taken everywhere; where a form reads two ways the locale's
    // order wins (6/7 is the 6th of July in London and Berlin).
    for (const char* locale : {"C", "en_US", "en_GB", "de_DE"}) {
        const QString l = QString::fromLatin1(locale);
        const QByteArray tag(locale);
        QTest::newRow(tag + " US form") << l << "6/22/2025" << june22;
        QTest::newRow(tag + " US short year") << l << "6/22/25" << june22;
        QTest::newRow(tag + " US without year") << l << "6/22" << june22;
        QTest::newRow(tag + " ISO") << l << "2025-06-22" << june22;
        QTest::newRow(tag + " no date") << l << "2/30/2025" << QDate();
        QTest::newRow(tag + " three-digit year") << l << "6/22/202" << QDate();
        QTest::newRow(tag + " mixed separators") << l << "6/22.2025" << QDate();
        QTest::newRow(tag + " one number") << l << "6" << QDate();
        QTest::newRow(tag + " ISO without day") << l << "2025-06" << QDate();
    }
    QTest::newRow("C month first") << "C" << "6/7/2025" << QDate(2025, 6, 7);
    QTest::newRow("en_US month first") << "en_US" << "06/07/2025" << QDate(2025, 6, 7);
    QTest::newRow("en_GB own form") << "en_GB" << "22/06/2025" << june22;
    QTest::newRow("en_GB day first") << "en_GB" << "6/7/2025" << QDate(2025, 7, 6);
    QTest::newRow("de_DE own form") << "de_DE" << "22.06.2025" << june22;
    QTest::newRow("de_DE short year") << "de_DE" << "22.6.25" << june22;
    QTest::newRow("de_DE without year") << "de_DE" << "22.6" << june22;
    QTest::newRow("de_DE day first") << "de_DE" << "6/7/2025" << QDate(2025, 7, 6);
    QTest::newRow("en_US day first is no date") << "en_US" << "22.06.2025" << QDate();
}

void tst_Keyboard::datesTypedInEveryLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    struct Restore {
        ~Restore() { PrepareTestEnvironment(); }
    } restore;
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(ParseTypedDate(typed, 2025), date);

    // The box as a person meets it: typed over, left by Tab.
    QWidget window;
    auto* box = new QvDateBox(&window);
    box->setDateRange(QDate(2025, 1, 1), QDate(2025, 12, 31));
    box->setDate(QDate(2025, 3, 1));
    auto* next = new QLineEdit(&window);
    next->move(0, 40);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QCOMPARE(Focus(), box);
    const int beeps = m_data->Messages().Beeps();
    Type(typed);
    QCOMPARE(m_data->Messages().Beeps(), beeps); // no key of a date is refused
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), next);
    QCOMPARE(box->date(), date.isValid() ? date : QDate(2025, 3, 1));
    // It shows the date in numbers, in a form it takes back.
    for (const QChar c : box->text())
        QVERIFY2(c.isDigit() || IsDateSeparator(c), qPrintable(box->text()));
    QCOMPARE(ParseTypedDate(box->text(), 2000), box->date());
    QCOMPARE(ParseShortDate(ShortDate(QDate(2025, 12, 28))), QDate(2025, 12, 28));
}

void tst_Keyboard::closingAsksAboutTypedChanges_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");  // clicked into, then typed in
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved"); // counts 1 once the typing is stored
    QTest::newRow("offering record") << "frmContReceipt" << "txtAmount(1)" << "50"
                                     << "SELECT Count(*) FROM Offering WHERE Amount = 50";
    QTest::newRow("contributor") << "frmContInfo" << "txtLastName" << "Nguyen"
                                 << "SELECT Count(*) FROM Contributors WHERE LastName = 'Nguyen'";
    QTest::newRow("pledge") << "frmPledge" << "txtAmount" << "300" << "SELECT Count(*) FROM Pledges WHERE Amount = 300";
    QTest::newRow("fund") << "frmFundInfo" << "txtName" << "Flowers"
                          << "SELECT Count(*) FROM Funds WHERE FundName = 'Flowers'";
    QTest::newRow("church") << "frmChurch" << "txtName" << "Grace Chapel"
                            << "SELECT Count(*) FROM Church WHERE ChurchName = 'Grace Chapel'";
    QTest::newRow("preferences") << "frmPreferences" << "txtIRS" << "Thank you"
                                 << "SELECT Count(*) FROM Church WHERE IRSStatement = 'Thank you'";
    QTest::newRow("pledge grid") << "frmPledgeUtil" << "fgPledges" << "75"
                                 << "SELECT Count(*) FROM Pledges WHERE Amount = 75";
}

void tst_Keyboard::closingAsksAboutTypedChanges()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    StartMain();
    const int set = m_data->AddCollection(QDate(2025, 6, 15));
    auto open = [&]() -> frmChild* {
        if (window == "frmContReceipt")
            return Windows::Open_New(window, {{"ContributorID", m_smith}, {"CollectionNumber", set},
                                              {"CollectionDate", QDate(2025, 6, 15)}});
        if (window == "frmPledge")
            return Windows::Open_New(window, {{"PledgeID", int(m_data->Scalar(QStringLiteral(
                                                               "SELECT ID FROM Pledges WHERE ContributorID = %1")
                                                                                 .arg(m_smith)))},
                                              {"ContributorID", m_smith}, {"UseEnvelopes", true}});
        if (window == "frmContInfo") {
            Windows::Show_Contributor(0);
            return Windows::Find_Window(window);
        }
        if (window == "frmFundInfo") {
            Windows::Show_Fund(0);
            return Windows::Find_Window(window);
        }
        return Windows::Open_Single(window);
    };
    auto typeInto = [&](frmChild* w) {
        auto* target = w->findChild<QWidget*>(box);
        QVERIFY(target);
        QTRY_VERIFY(Focus() && w->isAncestorOf(Focus()));
        if (Focus() != target) { // the grid's first amount has the focus already
            QTest::mouseClick(target, Qt::LeftButton);
            QCOMPARE(Focus(), target);
        }
        if (window != "frmPledgeUtil")
            Key(Qt::Key_A, Qt::ControlModifier);
        Type(typed);
    };
    const QString question = "Save the changes?";

    // Opened, walked through with Tab and left untouched: no question.
    frmChild* w = open();
    QVERIFY(w);
    QTRY_VERIFY(Focus() && w->isAncestorOf(Focus()));
    // Esc from the buttons: in the pledge grid it takes back a cell's typing.
    auto toTheButtons = [](frmChild* w) { w->findChild<QPushButton*>("cmdOK")->setFocus(); };
    for (int i = 0; i < 12 && Focus() && w->isAncestorOf(Focus()); ++i)
        Key(Qt::Key_Tab);
    toTheButtons(w);
    Key(Qt::Key_Escape);
    QTRY_VERIFY(w->IsClosed());
    QVERIFY(m_data->Messages().Seen().isEmpty());

    // Typed, then Esc: Cancel keeps the window and what was typed.
    w = open();
    typeInto(w);
    m_data->Messages().Expect(question, Answer::Cancel);
    toTheButtons(w);
    Key(Qt::Key_Escape);
    QVERIFY(!w->IsClosed());
    QCOMPARE(m_data->Messages().Seen().last().buttons, Messages::Buttons::YesNoCancel);
    // The close box: No drops it.
    m_data->Messages().Expect(question, Answer::No);
    w->Frame()->close();
    QTRY_VERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar(saved), 0.0);

    // The Cancel button drops it without a question.
    w = open();
    typeInto(w);
    w->findChild<QPushButton*>("cmdCancel")->click();
    QTRY_VERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar(saved), 0.0);

    // The close box, Yes: saved as OK saves it, once.
    w = open();
    typeInto(w);
    m_data->Messages().Expect(question, Answer::Yes);
    w->Frame()->close();
    QTRY_VERIFY(w->IsClosed());
    QCOMPARE(m_data->Scalar(saved), 1.0);
    m_data->Messages().VerifyAllShown();
}

void tst_Keyboard::enterAnswersNoWhereYesDoublesOrDeletes()
{
    // The program's own message box, as a person meets it: Enter presses
    // the default button, which is No for a question whose Yes makes a
    // second of something or deletes records.
    const Messages::Handler responder = Messages::SetHandler({});
    const Messages::BeepHandler beeper = Messages::SetBeepHandler({});
    MessageBoxService::Install(nullptr);
    auto enterOnTheBox = [] {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || !box->isVisible())
                return;
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && box->isAncestorOf(focus) ? focus : box, Qt::Key_Return);
            poll->deleteLater();
        });
        poll->start(10);
    };
    enterOnTheBox();
    const Answer risky = Messages::Ask_Default_No("Are you sure you want to create another one?", "Duplicate Date");
    enterOnTheBox();
    const Answer plain = Messages::Show("Update the pledges entered?", "Update", Messages::Icon::Question,
                                        Messages::Buttons::YesNo);
    Messages::SetHandler(responder);
    Messages::SetBeepHandler(beeper);
    QCOMPARE(risky, Answer::No);
    QCOMPARE(plain, Answer::Yes);
}

void tst_Keyboard::searchKeys()
{
    QCOMPARE(SearchKey(QStringLiteral("Lefèvre, Anne")), "LEFEVRE, ANNE");
    QCOMPARE(SearchKey(QStringLiteral("Müller-Łukasz, Zoë")), QStringLiteral("MULLER-ŁUKASZ, ZOE"));
    QCOMPARE(SearchKey(QStringLiteral("ﬁnch")), "FINCH");
    QVERIFY(SearchKey(QStringLiteral("Lefèvre")).startsWith(SearchKey("lefe")));
    QVERIFY(SearchKey(QStringLiteral("Lefèvre")).startsWith(SearchKey(QStringLiteral("LEFÈ"))));
}

void tst_Keyboard::quickFindHighlightsOneRowAndBeepsOnNoMatch()
{
    StartMain();
    const int set = m_data->AddCollection(QDate(2025, 6, 15));
    frmCollections* w = OpenSet(set, QDate(2025, 6, 15));
    QTRY_COMPARE(Focus(), w->lines->Amount(1));
    Key(Qt::Key_O, Qt::AltModifier);
    QCOMPARE(Focus(), w->txtQuick);
    QvGrid* g = w->fgContrib;
    auto highlighted = [g] {
        QStringList names;
        for (const QModelIndex& i : g->selectionModel()->selectedRows(1))
            if (!g->isRowHidden(i.row()))
                names << i.data().toString();
        return names;
    };
    Type("102");
    QCOMPARE(highlighted(), QStringList{QStringLiteral("Lefèvre, Anne")});
    Key(Qt::Key_Up);
    QCOMPARE(highlighted(), QStringList{"Smith, John"});
    Key(Qt::Key_A, Qt::ControlModifier);
    Type("ada");
    QCOMPARE(highlighted(), QStringList{"Adams, Carl"});
    // No match: nothing highlighted, and Enter beeps with the text selected.
    Type("x");
    QCOMPARE(highlighted(), QStringList{});
    const int beeps = m_data->Messages().Beeps();
    Key(Qt::Key_Return);
    QCOMPARE(m_data->Messages().Beeps(), beeps + 1);
    QCOMPARE(w->txtQuick->selectedText(), "adax");
    QVERIFY(OpenOf<frmContReceipt>().isEmpty());
    // Also seen where the beep is not heard.
    QCOMPARE(m_main->sbNote->text(), "No contributor's name begins with \"adax\"");
    Type("199");
    Key(Qt::Key_Return);
    QCOMPARE(m_data->Messages().Beeps(), beeps + 2);
    QCOMPARE(m_main->sbNote->text(), "No contributor has envelope 199");

    // The totals tab: the closing total row is twice as tall as the others.
    m_data->AddOffering(m_smith, set, -2025, 40);
    w->sstCollections->setCurrentIndex(2);
    QvGrid* t = w->fgTotals;
    const int last = t->Rows() - 1;
    QCOMPARE(t->TextMatrix(last, 0), "Total Amount Collected");
    QCOMPARE(t->rowHeight(last - 1), 2 * t->rowHeight(last - 2));
}

void tst_Keyboard::duplicateEnvelopeWarning()
{
    StartMain();
    const int gone = m_data->AddContributor("Gone", "Old", true, true);
    m_data->AddPledge(gone, -2025, 0, 103);
    m_data->AddPledge(m_smith, m_building, 100, 7);

    // The check itself: the same fund only, other active contributors only.
    QCOMPARE(EnvelopeCheck::Used_By(-2025, 101, m_adams), "Smith, John");
    QCOMPARE(EnvelopeCheck::Used_By(-2025, 101, m_smith), "");      // one's own number
    QCOMPARE(EnvelopeCheck::Used_By(-2024, 101, m_adams), "");      // another year's fund
    QCOMPARE(EnvelopeCheck::Used_By(m_building, 101, m_adams), ""); // another fund
    QCOMPARE(EnvelopeCheck::Used_By(-2025, 103, m_adams), "");      // an inactive contributor
    QCOMPARE(EnvelopeCheck::Used_By(-2025, 0, m_adams), "");        // no number

    auto addPledge = [this](const QString& number) {
        Windows::Show_Contributor(m_adams);
        auto* c = OpenWindowOf<frmContInfo>();
        c->cmdAdd->click();
        frmPledge* p = OpenWindowOf<frmPledge>();
        if (!QTest::qWaitFor([p] { return Focus() == p->cboFund; }))
            QTest::qFail("the pledge dialog did not take the typing", __FILE__, __LINE__);
        Key(Qt::Key_Down);
        Key(Qt::Key_Tab);
        Type(number);
        Key(Qt::Key_Tab);
        Type("260");
        return p;
    };
    const QString question = "Envelope number 101 is already used by Smith, John. Use it anyway?";
    // Enter answers No: nothing stored, back in the number box with the
    // number selected.
    frmPledge* p = addPledge("101");
    m_data->Messages().ExpectEnter(question);
    Key(Qt::Key_Return);
    QVERIFY(!p->IsClosed());
    QCOMPARE(Focus(), p->txtAccountNumber);
    QCOMPARE(p->txtAccountNumber->selectedText(), "101");
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Count(*) FROM Pledges WHERE ContributorID = %1").arg(m_adams)), 0.0);
    // Yes: kept as typed.
    m_data->Messages().Expect(question, Answer::Yes);
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmPledge>());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT AccountNumber FROM Pledges WHERE ContributorID = %1 AND Amount = 260")
                                .arg(m_adams)),
             101.0);
    QCOMPARE(m_data->Messages().Seen().last().icon, Messages::Icon::Exclamation);
    // Reopened and saved unchanged, the pledge does not ask again.
    auto* c = OpenWindowOf<frmContInfo>();
    c->fgPledges->SetRow(2);
    c->cmdEdit->click();
    QTRY_COMPARE(Focus(), OpenWindowOf<frmPledge>()->txtAmount);
    Key(Qt::Key_Return);
    QTRY_VERIFY(!OpenWindowOf<frmPledge>());
}

void tst_Keyboard::textBoxesHoldTheirColumnAndAmountBoxesTheLargestAmount()
{
    StartMain();
    // Every text box of a window that edits a column holds exactly the
    // column's size, read from the table definitions.
    auto columnSize = [](TableIndex t, const QString& column) {
        const QRegularExpression re(QStringLiteral("\\b%1 TEXT\\((\\d+)\\)").arg(column));
        const QRegularExpressionMatch m = re.match(Schema::CreateTableSql(t));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    struct Box {
        const char* window;
        const char* box;
        TableIndex table;
        const char* column;
    };
    const Box boxes[] = {
        {"frmChurch", "txtName", tiChurch, "ChurchName"},          {"frmChurch", "txtAddress1", tiChurch, "Address1"},
        {"frmChurch", "txtAddress2", tiChurch, "Address2"},        {"frmChurch", "txtCity", tiChurch, "City"},
        {"frmChurch", "txtState", tiChurch, "State"},              {"frmChurch", "txtZip", tiChurch, "ZipCode"},
        {"frmChurch", "txtPhone", tiChurch, "Phone"},              {"frmContInfo", "txtLastName", tiContributors, "LastName"},
        {"frmContInfo", "txtFirstNames", tiContributors, "FirstNames"},
        {"frmContInfo", "txtAddress1", tiContributors, "Address1"}, {"frmContInfo", "txtAddress2", tiContributors, "Address2"},
        {"frmContInfo", "txtCity", tiContributors, "City"},        {"frmContInfo", "txtState", tiContributors, "State"},
        {"frmContInfo", "txtZip", tiContributors, "ZipCode"},      {"frmContInfo", "txtPhone", tiContributors, "Phone"},
        {"frmFundInfo", "txtName", tiFunds, "FundName"},           {"frmContReceipt", "txtComment", tiColComment, "Comment"},
        {"frmCollections", "txtNotation", tiCollection, "Notation"},
    };
    const int set = m_data->AddCollection(QDate(2025, 6, 15));
    const QVariantMap setProps = {{"CollectionNumber", set}, {"CollectionDate", QDate(2025, 6, 15)}, {"ContributorID", m_smith}};
    for (const Box& b : boxes) {
        frmChild* w = Windows::Open_New(QLatin1String(b.window), setProps);
        QVERIFY2(w, b.window);
        auto* box = w->findChild<QLineEdit*>(QLatin1String(b.box));
        QVERIFY2(box, b.box);
        const int size = columnSize(b.table, QLatin1String(b.column));
        QVERIFY2(size > 0, b.column);
        QVERIFY2(box->maxLength() == size, qPrintable(QStringLiteral("%1.%2: %3 for %4").arg(b.window, b.box).arg(box->maxLength()).arg(size)));
        w->Frame()->close();
    }
    frmCollectionDate dialog;
    QCOMPARE(dialog.txtNotation->maxLength(), columnSize(tiCollection, "Notation"));

    // Every amount box shows the largest amount whole, in either sign.
    auto fits = [](QLineEdit* box) {
        const int need = box->fontMetrics().horizontalAdvance(FormatAmount(-999999999.99));
        const QRect room = box->contentsRect().marginsRemoved(box->textMargins());
        return need + 4 <= room.width(); // the line edit keeps two pixels each side
    };
    auto* w = OpenNew<frmCollections>("frmCollections", setProps);
    for (int i = 1; i <= w->lines->Count(); ++i)
        QVERIFY2(fits(w->lines->Amount(i)), qPrintable(QString::number(i)));
    auto* r = OpenNew<frmContReceipt>("frmContReceipt", setProps);
    for (int i = 1; i <= r->lines->Count(); ++i)
        QVERIFY2(fits(r->lines->Amount(i)), qPrintable(QString::number(i)));
    auto* p = OpenNew<frmPledge>("frmPledge", {{"ContributorID", m_smith}});
    QVERIFY(fits(p->txtAmount));
    // ... and the lines stay inside their tab.
    for (int i = 1; i <= w->lines->Count(); ++i)
        QVERIFY(w->lines->Amount(i)->geometry().right() < w->lines->Amount(i)->parentWidget()->width());
}

void tst_Keyboard::notAnAmountIsNotedInTheStatusBar()
{
    StartMain();
    const int set = m_data->AddCollection(QDate(2025, 6, 15));
    frmContReceipt* r = OpenReceipt(m_smith, set, QDate(2025, 6, 15));
    QTRY_COMPARE(Focus(), r->lines->Amount(1));
    const int beeps = m_data->Messages().Beeps();
    Type("1O0");
    Key(Qt::Key_Tab);
    QCOMPARE(r->lines->Amount(1)->text(), "$0.00");
    QCOMPARE(m_data->Messages().Beeps(), beeps + 1);
    QCOMPARE(m_data->Messages().Notes().last(), "'1O0' is not an amount");
    QCOMPARE(m_main->sbNote->text(), "'1O0' is not an amount");
    QCOMPARE(m_main->sbPanel1->text(), "Processing Year: 2025"); // still there beside it
    // A blank box is no mistake: no beep and no note.
    r->lines->Amount(2)->setFocus();
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Tab);
    QCOMPARE(m_data->Messages().Beeps(), beeps + 1);
    QCOMPARE(m_data->Messages().Notes().size(), 1);
    // Seen, not only heard: the refused box keeps a red frame and the status
    // bar its note, on no timer, while the box is only passed through...
    QLineEdit* box = r->lines->Amount(1);
    auto noteTimerRunning = [this] {
        for (QTimer* t : m_main->findChildren<QTimer*>())
            if (t->isActive() && t->interval() == 30000)
                return true;
        return false;
    };
    QVERIFY(AmountBox::Refused(box));
    QVERIFY(box->styleSheet().contains("border"));
    QVERIFY(!noteTimerRunning());
    box->setFocus();
    Key(Qt::Key_Tab);
    QVERIFY(AmountBox::Refused(box));
    QCOMPARE(m_main->sbNote->text(), "'1O0' is not an amount");
    // ...until an amount is typed into it.
    box->setFocus();
    Type("40");
    Key(Qt::Key_Tab);
    QVERIFY(!AmountBox::Refused(box));
    QVERIFY(box->styleSheet().isEmpty());
    QCOMPARE(m_main->sbNote->text(), "");
    QVERIFY(m_data->Messages().Notes().isEmpty());
    // Enter pressed twice before the window has gone saves once.
    box->setFocus();
    Type("40");
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(r->IsClosed());
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT Count(*) FROM Offering WHERE ContributorID = %1").arg(m_smith)), 1.0);
    QCOMPARE(Cents(*m_data, QStringLiteral("ContributorID = %1").arg(m_smith)), 4000);

    // A refused pledge amount is marked the same way.
    Windows::Open_New("frmPledge", {{"PledgeID", 0}, {"ContributorID", m_adams}, {"UseEnvelopes", false}});
    auto* p = OpenWindowOf<frmPledge>();
    QVERIFY(p);
    QTest::mouseClick(p->txtAmount, Qt::LeftButton);
    Key(Qt::Key_A, Qt::ControlModifier);
    Type("12,,5");
    Key(Qt::Key_Tab);
    QVERIFY(AmountBox::Refused(p->txtAmount));
    QCOMPARE(m_main->sbNote->text(), "'12,,5' is not an amount");
    // A window closed with a refused box takes its note along.
    p->cmdCancel->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m_main->sbNote->text(), "");
}

// The menu bar's titles, and each menu's entries, have a letter each; the
// active window's own keys come before the menu bar's. (Each window's own
// keys are walked with its layout, in tst_window_layouts.)
void tst_Keyboard::windowKeysComeBeforeTheMenuBar()
{
    StartMain();
    QStringList clashes;
    auto check = [&](const QList<QAction*>& actions, const QString& where) {
        QMap<QChar, QStringList> byKey;
        for (QAction* a : actions)
            if (const QChar k = AccessKeys::Of(a->text()); !k.isNull())
                byKey[k] << a->text();
        for (auto it = byKey.constBegin(); it != byKey.constEnd(); ++it)
            if (it.value().size() > 1)
                clashes << where + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    };
    check(m_main->menuBar()->actions(), "menu bar");
    for (QAction* title : m_main->menuBar()->actions())
        check(title->menu()->actions(), title->text());
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join('\n')));

    const int set = m_data->AddCollection(QDate(2025, 6, 15));
    m_data->AddOffering(m_smith, set, -2025, 20);
    frmCollections* w = OpenSet(set, QDate(2025, 6, 15));
    QTRY_VERIFY(Focus() && w->isAncestorOf(Focus()));
    // The Print menu gives its letter up while the offering window is active...
    QAction* print = m_main->findChild<QMenu*>("mnuPrint")->menuAction();
    QCOMPARE(print->text(), "Print");
    // ...so that Alt+P presses the window's Print, which opens the report.
    Key(Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(Windows::Find_Window("frmRptWeeklyReport"));
    QVERIFY(!m_main->findChild<QMenu*>("mnuPrint")->isVisible());
    // Without a window that uses the letter the menu has it back.
    for (frmChild* c : frmChild::OpenWindows())
        c->Frame()->close();
    QTRY_COMPARE(print->text(), "&Print");
}

QV_TEST_MAIN(tst_Keyboard, QApplication)
#include "tst_keyboard.moc"

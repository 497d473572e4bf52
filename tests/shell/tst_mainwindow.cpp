// The main window as the treasurer meets it: start-up, password, menus,
// window opening rules, the change broadcast and the change-year guard.
#include "support/WindowTest.h"
#include "app/frmPWChange.h"
#include "app/frmPassword.h"
#include "app/frmPickDB.h"
#include "widgets/frmProgess.h"
#include "core/modSettings.h"
#include "storage/clsFunds.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QToolBar>

using Messages::Answer;

namespace {

// A stand-in for windows that later parts of the program register: it
// records every change notice in a log shared by all windows.
class RecordingWindow : public frmChild {
public:
    RecordingWindow(QStringList* log, const QString& label) : m_log(log), m_label(label) { resize(300, 200); }
    void Handle_DBChange(int t, bool a, bool c, bool d, int id, int cid) override
    {
        *m_log << QStringLiteral("%1:%2,%3,%4,%5,%6,%7").arg(m_label).arg(t).arg(a).arg(c).arg(d).arg(id).arg(cid);
    }
    bool refuseClose = false;

protected:
    void closeEvent(QCloseEvent* e) override { e->setAccepted(!refuseClose); }

private:
    QStringList* m_log;
    QString m_label;
};

frmPWChange* OpenPasswordChange(frmMain& main)
{
    main.Menu("mnuPassword")->trigger();
    return qobject_cast<frmPWChange*>(Windows::Find_Window("frmPWChange"));
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void noDataFileAndNoTemplateMeansNoStart();
    void menusAndWindowOpening();
    void broadcastReachesEveryWindowInOrderAndRenames();
    void changeYearGuardAndUnloadWithARefusingWindow();
    void passwordAtFirstActivation();
    void passwordChangeAndRemoval();
    void dataSetChoice();
    void progress();
    void keepsItsPlaceInTheSettingsFile_data();
    void keepsItsPlaceInTheSettingsFile();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<ModalScript> m_defaultDialogs;
    QStringList m_log;
};

void tst_MainWindow::init()
{
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    m_log.clear();
    RegisterAllWindows();
    // Unless a test says otherwise, the password window gets the initial
    // password and any other dialog fails the test.
    m_defaultDialogs = std::make_unique<ModalScript>([](QDialog* d) {
        if (qobject_cast<frmPassword*>(d))
            return AnswerPassword(d, {"Brv9kQ2e"});
        QTest::qFail(qPrintable("unexpected dialog " + d->objectName()), __FILE__, __LINE__);
        d->reject();
        return d->result();
    });
}

void tst_MainWindow::cleanup()
{
    for (const char* name : {"frmContList", "frmRptWeeklyReport", "frmYear", "frmFundInfo"})
        Windows::Unregister(QLatin1String(name));
    m_defaultDialogs.reset();
    m_data.reset();
}

void tst_MainWindow::noDataFileAndNoTemplateMeansNoStart()
{
    QFile::remove(modGlobal::ProgramFolder() + "/EMPTY.MDB");
    m_data->Messages().Expect("No Data File could be found!");
    frmMain main;
    QVERIFY(!main.Loaded());
    QVERIFY(!modGlobal::HasDB());
}

void tst_MainWindow::menusAndWindowOpening()
{
    Windows::Unregister("frmCollections"); // as a build without those windows
    Windows::Unregister("frmAssign");
    Windows::Register("frmContList", [this] { return new RecordingWindow(&m_log, "list"); });
    Windows::Register("frmRptWeeklyReport", [this] { return new RecordingWindow(&m_log, "report"); });
    Windows::Register("frmFundInfo", [this] { return new RecordingWindow(&m_log, "fund"); });
    frmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTRY_VERIFY(main.Password_Accepted());
    // Entries whose window this build lacks are greyed, not missing; the
    // toolbar follows its menu entries.
    QVERIFY(!main.Menu("mnuCollections")->isEnabled());
    QVERIFY(!main.Menu("mnuNumbers")->isEnabled());
    QVERIFY(main.Menu("mnuPassword")->isEnabled());
    const QList<QAction*> tb = main.tbMain->actions();
    QVERIFY(!tb.at(0)->isEnabled()); // Collections
    QVERIFY(tb.last()->isEnabled()); // Exit

    // Single-instance windows come to the front again; reports open anew.
    main.Menu("mnuContributor")->trigger();
    frmChild* first = Windows::Find_Window("frmContList");
    QVERIFY(first);
    auto* pw = OpenPasswordChange(main); // another window comes to the front
    QCOMPARE(main.mdiMain->activeSubWindow()->widget(), pw);
    main.Menu("mnuContributor")->trigger();
    QCOMPARE(frmChild::OpenWindows().size(), 2);
    QCOMPARE(main.mdiMain->activeSubWindow()->widget(), first);
    main.Menu("mnuPrntWeekly")->trigger();
    main.Menu("mnuPrntWeekly")->trigger();
    int reports = 0;
    for (frmChild* w : frmChild::OpenWindows())
        reports += w->objectName() == "frmRptWeeklyReport";
    QCOMPARE(reports, 2);
    // Detail windows are found by kind and key; key 0, a new record, never is.
    const int fundId = m_data->AddFund("Missions");
    QVERIFY(!modGlobal::Find_Open_Window(1, fundId, false));
    Windows::Show_Fund(fundId);
    Windows::Show_Fund(fundId);
    QVERIFY(modGlobal::Find_Open_Window(1, fundId, false));
    QVERIFY(!modGlobal::Find_Open_Window(2, fundId, false));
    Windows::Show_Contributor(0);
    Windows::Show_Contributor(0);
    QCOMPARE(frmChild::OpenWindows().size(), 7);

    // A window that closes itself (its Cancel) takes its frame along.
    const int frames = int(main.mdiMain->subWindowList().size());
    pw->cmdCancel->click();
    QTRY_COMPARE(int(main.mdiMain->subWindowList().size()), frames - 1);
    // Exit on the toolbar unloads.
    tb.last()->trigger();
    QVERIFY(!main.isVisible());
    QVERIFY(!modGlobal::HasDB());
}

void tst_MainWindow::broadcastReachesEveryWindowInOrderAndRenames()
{
    frmMain main;
    for (const char* label : {"a", "b", "c"})
        Windows::Show_Child(new RecordingWindow(&m_log, QLatin1String(label)));
    const int id = m_data->AddContributor("Smith", "Ann");
    const int pledge = m_data->AddPledge(id, -2025, 520, 7);
    const QString added = QStringLiteral("3,1,0,0,%1,0").arg(id);
    const QString pledged = QStringLiteral("6,1,0,0,%1,%2").arg(pledge).arg(id);
    QCOMPARE(m_log, (QStringList{"a:" + added, "b:" + added, "c:" + added, "a:" + pledged, "b:" + pledged, "c:" + pledged}));
    // A closed window hears nothing more.
    frmChild::OpenWindows().at(1)->Frame()->close();
    m_log.clear();
    clsChurch church;
    church.Get_One_Record(QString());
    church.Phone("555-0100");
    church.Update_Record_to_DB();
    QCOMPARE(m_log, (QStringList{"a:1,0,1,0,1,0", "c:1,0,1,0,1,0"}));
    // Renaming the main fund or the church reaches the fund name and the caption.
    clsFunds fund;
    fund.Get_One_Record("ID = 1");
    fund.FundName("General Fund");
    fund.Update_Record_to_DB();
    QCOMPARE(modGlobal::MainFundName, "General Fund");
    church.ChurchName("St. Mary's Church");
    church.Update_Record_to_DB();
    QCOMPARE(main.windowTitle(), "Quorvane - St. Mary's Church");
    main.close();
}

void tst_MainWindow::changeYearGuardAndUnloadWithARefusingWindow()
{
    Windows::Register("frmYear", [this] { return new RecordingWindow(&m_log, "year"); });
    frmMain main;
    main.show();
    // With only the main window open there is no question.
    QVERIFY(main.Change_Year_Guard());
    main.Menu("mnuChangeYear")->trigger();
    QVERIFY(Windows::Find_Window("frmYear"));

    auto* stubborn = new RecordingWindow(&m_log, "stubborn");
    Windows::Show_Child(stubborn);
    for (Answer a : {Answer::No, Answer::Cancel}) {
        m_data->Messages().Expect("Before the processing year can be changed", a);
        QVERIFY(!main.Change_Year_Guard());
        QCOMPARE(frmChild::OpenWindows().size(), 2);
    }
    // Yes closes what it can; a window that refuses stops the change, and the unload.
    stubborn->refuseClose = true;
    m_data->Messages().Expect("Before the processing year", Answer::Yes);
    QVERIFY(!main.Change_Year_Guard());
    QCOMPARE(frmChild::OpenWindows(), (QList<frmChild*>{stubborn}));
    QVERIFY(!main.close());
    QVERIFY(modGlobal::HasDB());

    stubborn->refuseClose = false;
    m_data->Messages().Expect("Before the processing year", Answer::Yes);
    main.Menu("mnuChangeYear")->trigger();
    QCOMPARE(frmChild::OpenWindows().size(), 1);
    QCOMPARE(frmChild::OpenWindows().first()->objectName(), "frmYear");
    QVERIFY(main.close());
    QVERIFY(!modGlobal::HasDB());
}

void tst_MainWindow::passwordAtFirstActivation()
{
    {
        // The initial password, typed in lower case with blanks; then three wrong
        // entries, each with its message, before the right one.
        frmMain main;
        ModalScript script([](QDialog* d) { return AnswerPassword(d, {"  brv9kq2e "}); });
        QVERIFY(main.First_Activate());
        QVERIFY(main.Password_Accepted());
        ModalScript again([](QDialog* d) { return AnswerPassword(d, {"a", "b", "c", "BRV9KQ2E"}); });
        for (int i = 0; i < 3; ++i)
            m_data->Messages().Expect("Incorrect Password");
        QVERIFY(main.First_Activate());
        main.close();
    }
    {
        // The fourth wrong entry ends the program without a message.
        frmMain main;
        ModalScript script([](QDialog* d) { return AnswerPassword(d, {"1", "2", "3", "4", "Brv9kQ2e"}); });
        for (int i = 0; i < 3; ++i)
            m_data->Messages().Expect("Incorrect Password");
        main.show();
        QTRY_VERIFY(!main.isVisible());
        QVERIFY(!main.Password_Accepted());
        QVERIFY(!modGlobal::HasDB());
    }
    // So does Cancel.
    frmMain main;
    ModalScript script([](QDialog* d) { return AnswerPassword(d, {}, true); });
    main.show();
    QTRY_VERIFY(!main.isVisible());
    QVERIFY(!modGlobal::HasDB());
}

void tst_MainWindow::passwordChangeAndRemoval()
{
    {
        frmMain main;
        frmPWChange* pw = OpenPasswordChange(main);
        pw->txtCurPW->setText("Brv9kQ2e");
        pw->txtNewPW->setText("hymn");
        pw->txtNewPW2->setText("hymns");
        m_data->Messages().Expect("The new password you typed does not match\r\nthe confirmed one.");
        pw->cmdOK->click();
        QVERIFY(pw->txtNewPW->text().isEmpty() && pw->txtNewPW2->text().isEmpty());
        // The confirmation, like the current password, is read without case or blanks.
        pw->txtCurPW->setText("wrong");
        pw->txtNewPW->setText("hymn");
        pw->txtNewPW2->setText(" HYMN ");
        m_data->Messages().Expect("Your current password is incorrect.");
        pw->cmdOK->click();
        QVERIFY(pw->txtCurPW->text().isEmpty());
        pw->txtCurPW->setText("brv9kq2e");
        m_data->Messages().Expect("Your password was successfully changed.");
        pw->cmdOK->click();
        QVERIFY(pw->IsClosed());
        clsChurch church;
        church.Get_One_Record(QString());
        QCOMPARE(church.Password(), "HYMN");

        // An empty new password removes it, after a question.
        pw = OpenPasswordChange(main);
        pw->txtCurPW->setText("hymn");
        m_data->Messages().Expect("Are you sure you want to remove the password?", Answer::No);
        pw->cmdOK->click();
        QVERIFY(!pw->IsClosed());
        m_data->Messages().Expect("Are you sure you want to remove the password?", Answer::Yes);
        m_data->Messages().Expect("Your password was successfully removed.");
        pw->cmdOK->click();
        QVERIFY(pw->IsClosed());
        main.close();
    }
    // The next start asks nothing.
    ModalScript script([](QDialog*) {
        QTest::qFail("no dialog expected", __FILE__, __LINE__);
        return int(QDialog::Rejected);
    });
    frmMain again;
    QVERIFY(again.First_Activate());
    again.close();
}

void tst_MainWindow::dataSetChoice()
{
    for (int i = 1; i <= 2; ++i) {
        const QString file = m_data->Folder() + QStringLiteral("/Set%1.MDB").arg(i);
        QFile::copy(QStringLiteral(QV_EMPTY_MDB), file);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    modSettings::Write("General", "NumberDataSets", "2");
    modSettings::Write("Database", "DBName", m_data->Folder() + "/Set1");
    modSettings::Write("Database", "DBLabel", "Church");
    modSettings::Write("Database2", "DBName", m_data->Folder() + "/Set2");
    modSettings::Write("Database2", "DBLabel", "Food Pantry");
    {
        // OK without a choice is refused; then the second set is chosen.
        // The choice is centred on the main window, not in the screen's corner.
        QStringList labels;
        QPoint dialogCentre, mainCentre;
        ModalScript script([&](QDialog* d) -> int {
            auto* pick = qobject_cast<frmPickDB*>(d);
            dialogCentre = pick->geometry().center();
            mainCentre = pick->parentWidget()->window()->geometry().center();
            for (int i = 0; i < pick->cboDB->count(); ++i)
                labels << pick->cboDB->itemText(i);
            m_data->Messages().Expect("Please select a Data Set");
            pick->cmdOK->click();
            pick->cboDB->setCurrentIndex(1);
            pick->cmdOK->click();
            return pick->result();
        });
        frmMain main;
        QCOMPARE(labels, (QStringList{"Church", "Food Pantry"}));
        QVERIFY(!mainCentre.isNull());
        QVERIFY2((dialogCentre - mainCentre).manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2 against %3,%4")
                     .arg(dialogCentre.x()).arg(dialogCentre.y()).arg(mainCentre.x()).arg(mainCentre.y())));
        QVERIFY(dialogCentre.x() > 200 && dialogCentre.y() > 150);
        QCOMPARE(modGlobal::DB().FilePath(), m_data->Folder() + "/Set2.MDB");
        main.close();
    }
    // Closing the choice keeps data set 1.
    ModalScript script([](QDialog* d) {
        d->reject();
        return d->result();
    });
    frmMain main;
    QCOMPARE(modGlobal::DB().FilePath(), m_data->Folder() + "/Set1.MDB");
    main.close();
}

void tst_MainWindow::progress()
{
    frmProgess progress;
    progress.Show_Progress(10, "Loading Contributors and Pledges");
    progress.Increment_Progess(1);
    progress.Increment_Progess(2);
    QCOMPARE(progress.pbProgress->value(), 3);
}

void tst_MainWindow::keepsItsPlaceInTheSettingsFile_data()
{
    QTest::addColumn<QRect>("kept");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<bool>("opensThere");
    QTest::newRow("where it was left") << QRect(40, 30, 700, 500) << false << true;
    QTest::newRow("maximised") << QRect(40, 30, 700, 500) << true << true;
    QTest::newRow("on a screen since gone") << QRect(5000, 4000, 700, 500) << false << false;
}

void tst_MainWindow::keepsItsPlaceInTheSettingsFile()
{
    QFETCH(QRect, kept);
    QFETCH(bool, maximised);
    QFETCH(bool, opensThere);
    const int values[5] = {kept.left(), kept.top(), kept.width(), kept.height(), maximised};
    const char* keys[5] = {"Left", "Top", "Width", "Height", "Maximized"};
    for (int i = 0; i < 5; ++i)
        modSettings::Write("MainWindow", keys[i], QString::number(values[i]));
    {
        frmMain main;
        QVERIFY(main.Loaded());
        QCOMPARE(main.windowState().testFlag(Qt::WindowMaximized), maximised);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(main.geometry() == kept, opensThere);
        QVERIFY(screen.contains(main.geometry().center()));
        main.setWindowState(Qt::WindowNoState);
        main.setGeometry(60, 50, 640, 480);
        main.close();
    }
    // Where the treasurer left it this time is where it opens next time.
    QCOMPARE(modSettings::Read("MainWindow", "Left") + "," + modSettings::Read("MainWindow", "Top") + ","
                 + modSettings::Read("MainWindow", "Width") + "," + modSettings::Read("MainWindow", "Height") + ","
                 + modSettings::Read("MainWindow", "Maximized"),
             QString("60,50,640,480,0"));
}

QV_TEST_MAIN(tst_MainWindow, QApplication)
#include "tst_mainwindow.moc"

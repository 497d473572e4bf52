// The main window as the treasurer meets it: start-up, password, menus,
// window opening rules, the change broadcast and the change-year guard.
#include "shell/AllWindows.h"
#include "shell/WindowServices.h"
#include "shell/Windows.h"
#include "shell/clsDBEvent.h"
#include "shell/frmAbout.h"
#include "shell/frmChild.h"
#include "shell/frmMain.h"
#include "shell/frmPWChange.h"
#include "shell/frmPassword.h"
#include "shell/frmPickDB.h"
#include "shell/frmProgess.h"
#include "shell/modGlobal.h"
#include "shell/modSettings.h"
#include "storage/Connection.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QToolBar>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest/QTest>

#include "support/TestDataSet.h"

using Messages::Answer;
using WindowServices::SetModalHook;

namespace {

// A stand-in for windows that later parts of the program register: it
// records every change notice in a log shared by all windows.
struct Log {
    QStringList lines;
};

class RecordingWindow : public frmChild {
public:
    RecordingWindow(Log* log, const QString& label) : m_log(log), m_label(label) { resize(300, 200); }
    void Handle_DBChange(int t, bool a, bool c, bool d, int id, int cid) override
    {
        m_log->lines << QStringLiteral("%1:%2,%3,%4,%5,%6,%7").arg(m_label).arg(t).arg(a).arg(c).arg(d).arg(id).arg(cid);
    }
    bool refuseClose = false;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (refuseClose)
            e->ignore();
        else
            e->accept();
    }

private:
    Log* m_log;
    QString m_label;
};

// Answers every modal dialog with a function of the test's choosing.
struct ModalScript {
    explicit ModalScript(WindowServices::ModalHook hook) { m_previous = SetModalHook(std::move(hook)); }
    ~ModalScript() { SetModalHook(m_previous); }
    WindowServices::ModalHook m_previous;
};

// Types each text into the password window and clicks OK, until it closes.
int AnswerPassword(QDialog* d, const QStringList& typed, bool cancel = false)
{
    auto* pw = qobject_cast<frmPassword*>(d);
    if (!pw) {
        QTest::qFail("expected the password window", __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    for (const QString& t : typed) {
        if (pw->result() == QDialog::Accepted)
            break;
        pw->txtPassword->setText(t);
        pw->cmdOK->click();
    }
    if (cancel)
        pw->cmdCancel->click();
    return pw->result();
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpFromTheTemplateAndUnload();
    void menusAndToolbar();
    void singleInstanceAndNewInstanceWindows();
    void broadcastReachesEveryWindowInOrder();
    void renamesReachCaptionAndMainFundName();
    void changeYearGuard();
    void unloadWaitsForAWindowThatRefuses();
    void detailWindowsAreFoundByTheirTag();
    void passwordAtFirstActivation();
    void cancelOrFourthWrongPasswordEndsTheProgram();
    void passwordChange();
    void passwordRemovalMeansNoQuestionNextStart();
    void dataSetChoice();
    void progressAndAbout();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<ModalScript> m_defaultDialogs;
    Log m_log;
};

void tst_MainWindow::init()
{
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    m_log.lines.clear();
    RegisterAllWindows();
    // Unless a test says otherwise, the password window gets the initial
    // password and any other dialog fails the test.
    m_defaultDialogs = std::make_unique<ModalScript>([](QDialog* d) {
        if (qobject_cast<frmPassword*>(d))
            return AnswerPassword(d, {QStringLiteral("Brv9kQ2e")});
        QTest::qFail(qPrintable(QStringLiteral("unexpected dialog ") + d->objectName()), __FILE__, __LINE__);
        d->reject();
        return d->result();
    });
}

void tst_MainWindow::cleanup()
{
    for (const char* name : {"frmContList", "frmRptWeeklyReport", "frmYear", "frmFundInfo", "frmContInfo", "frmFundList"})
        Windows::Unregister(QLatin1String(name));
    m_defaultDialogs.reset();
    m_data.reset();
}

void tst_MainWindow::startUpFromTheTemplateAndUnload()
{
    {
        frmMain main;
        QVERIFY(main.Loaded());
        QCOMPARE(main.windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(main.sbPanel1->text(), QStringLiteral("Processing Year: 2025"));
        QVERIFY(QFile::exists(modGlobal::DataFolder() + QStringLiteral("/QVDATA.MDB")));
        modGlobal::ProcessingYear = 2026;
        QVERIFY(main.close());
        QVERIFY(!modGlobal::HasDB());
    }
    QCOMPARE(modSettings::Read(QStringLiteral("General"), QStringLiteral("ProcessingYear")), QStringLiteral("2026"));

    // Without a data file and without a template the program cannot start.
    QFile::remove(modGlobal::ProgramFolder() + QStringLiteral("/EMPTY.MDB"));
    QFile::remove(modGlobal::DataFolder() + QStringLiteral("/QVDATA.MDB"));
    modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBName"), QString());
    m_data->Messages().Expect(QStringLiteral("No Data File could be found!"));
    frmMain without;
    QVERIFY(!without.Loaded());
}

void tst_MainWindow::menusAndToolbar()
{
    Windows::Unregister(QStringLiteral("frmCollections")); // as a build without that window
    frmMain main;
    const QStringList entries = {"mnuUpdate", "mnuExit", "mnuCollections", "mnuFunds", "mnuContributor", "mnuAddress",
                                 "mnuPassword", "mnuPreferences", "mnuPrntWeekly", "mnuPrntStatements", "mnuPrntPLStatus",
                                 "mnuPrntFunds", "mnuPrntMemCont", "mnuPrntDirectory", "mnuPrntMailingLabels",
                                 "mnuPrntEnvLabels", "mnuChangeYear", "mnuNumbers", "mnuActive", "mnuEditPledges",
                                 "mnuWindowSelect(0)", "mnuWindowSelect(1)", "mnuWindowSelect(2)",
                                 "mnuWindowSelect(3)", "mnuAbout"};
    for (const QString& e : entries)
        QVERIFY2(main.Menu(e), qPrintable(e));
    QCOMPARE(main.Menu(QStringLiteral("mnuContributor"))->text(), QStringLiteral("C&ontributors"));
    QCOMPARE(main.Menu(QStringLiteral("mnuPrntStatements"))->text(), QStringLiteral("Contributors' &Statements"));
    for (const char* menu : {"mnuFile", "mnuEdit", "mnuPrint", "mnuUtilities", "mnuWindow", "mnuHelp"})
        QVERIFY2(main.findChild<QMenu*>(QLatin1String(menu)), menu);
    // Entries whose window this build lacks are greyed, not missing.
    QVERIFY(!main.Menu(QStringLiteral("mnuNumbers"))->isEnabled());
    QVERIFY(main.Menu(QStringLiteral("mnuPassword"))->isEnabled());
    QVERIFY(main.Menu(QStringLiteral("mnuExit"))->isEnabled());

    QStringList buttons;
    for (QAction* a : main.tbMain->actions())
        buttons << a->text();
    QCOMPARE(buttons, (QStringList{"Collections", "Funds", "Contributors", "Preferences", "Exit"}));
    for (QAction* a : main.tbMain->actions())
        QVERIFY(!a->icon().isNull());
    QList<QAction*> tb = main.tbMain->actions();
    QVERIFY(!tb.at(0)->isEnabled()); // Collections: its window is missing
    QVERIFY(tb.at(4)->isEnabled());
    // A toolbar button does what its menu entry does: Exit unloads.
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTRY_VERIFY(main.Password_Accepted());
    tb.at(4)->trigger();
    QVERIFY(!main.isVisible());
    QVERIFY(!modGlobal::HasDB());
}

void tst_MainWindow::singleInstanceAndNewInstanceWindows()
{
    Windows::Register(QStringLiteral("frmContList"), [this] { return new RecordingWindow(&m_log, QStringLiteral("list")); });
    Windows::Register(QStringLiteral("frmRptWeeklyReport"),
                      [this] { return new RecordingWindow(&m_log, QStringLiteral("report")); });
    frmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.Menu(QStringLiteral("mnuContributor"))->trigger();
    frmChild* first = Windows::Find_Window(QStringLiteral("frmContList"));
    QVERIFY(first);
    main.Menu(QStringLiteral("mnuPassword"))->trigger(); // another window comes to the front
    QCOMPARE(main.mdiMain->activeSubWindow()->widget()->objectName(), QStringLiteral("frmPWChange"));
    main.Menu(QStringLiteral("mnuContributor"))->trigger();
    QCOMPARE(frmChild::OpenWindows().size(), 2);
    QCOMPARE(main.mdiMain->activeSubWindow()->widget(), first); // the same list, brought forward

    main.Menu(QStringLiteral("mnuPrntWeekly"))->trigger();
    main.Menu(QStringLiteral("mnuPrntWeekly"))->trigger();
    int reports = 0;
    for (frmChild* w : frmChild::OpenWindows())
        if (w->objectName() == QStringLiteral("frmRptWeeklyReport")) {
            ++reports;
            QCOMPARE(w->property("CollectionNumber").toInt(), 0);
        }
    QCOMPARE(reports, 2);
    main.Menu(QStringLiteral("mnuAbout"))->trigger();
    main.Menu(QStringLiteral("mnuAbout"))->trigger();
    QCOMPARE(frmChild::OpenWindows().size(), 5);

    // A window never opens smaller than it was designed.
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(Windows::Find_Window(QStringLiteral("frmPWChange"))->Frame());
    QVERIFY(sub);
    QVERIFY(sub->widget()->width() >= WindowServices::TwipsToPixels(4500));
    // A window that closes itself (its Cancel) takes its frame along.
    const int frames = int(main.mdiMain->subWindowList().size());
    qobject_cast<frmPWChange*>(Windows::Find_Window(QStringLiteral("frmPWChange")))->cmdCancel->click();
    QTRY_COMPARE(int(main.mdiMain->subWindowList().size()), frames - 1);
    main.close();
}

void tst_MainWindow::broadcastReachesEveryWindowInOrder()
{
    frmMain main;
    m_data->Listen();
    for (const char* label : {"a", "b", "c"})
        Windows::Show_Child(new RecordingWindow(&m_log, QLatin1String(label)));
    const int id = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("Ann"));
    m_data->AddPledge(id, -2025, 520, 7);
    const QString added = QStringLiteral("3,1,0,0,%1,0").arg(id);
    QCOMPARE(m_log.lines.mid(0, 3), (QStringList{"a:" + added, "b:" + added, "c:" + added}));
    QVERIFY(m_log.lines.at(3).startsWith(QStringLiteral("a:6,1,0,0,")));
    QVERIFY(m_log.lines.at(3).endsWith(QStringLiteral(",") + QString::number(id)));
    QCOMPARE(m_log.lines.size(), 6);
    // A closed window hears nothing more.
    frmChild::OpenWindows().at(1)->Frame()->close();
    m_log.lines.clear();
    clsChurch church;
    church.Get_One_Record(QString());
    church.Phone(QStringLiteral("555-0100"));
    church.Update_Record_to_DB();
    QCOMPARE(m_log.lines, (QStringList{"a:1,0,1,0,1,0", "c:1,0,1,0,1,0"}));
    main.close();
}

void tst_MainWindow::renamesReachCaptionAndMainFundName()
{
    frmMain main;
    clsFunds fund;
    fund.Get_One_Record(QStringLiteral("ID = 1"));
    fund.FundName(QStringLiteral("General Fund"));
    fund.Update_Record_to_DB();
    QCOMPARE(modGlobal::MainFundName, QStringLiteral("General Fund"));
    QCOMPARE(modGlobal::Fund_Display_Name(-2025), QStringLiteral("2025 General Fund"));
    clsChurch church;
    church.Get_One_Record(QString());
    church.ChurchName(QStringLiteral("St. Mary's Church"));
    church.Update_Record_to_DB();
    QCOMPARE(main.windowTitle(), QStringLiteral("Quorvane - St. Mary's Church"));
    main.close();
}

void tst_MainWindow::changeYearGuard()
{
    Windows::Register(QStringLiteral("frmYear"), [this] { return new RecordingWindow(&m_log, QStringLiteral("year")); });
    frmMain main;
    main.show();
    // With only the main window open there is no question.
    QVERIFY(main.Change_Year_Guard());
    main.Menu(QStringLiteral("mnuChangeYear"))->trigger();
    QVERIFY(Windows::Find_Window(QStringLiteral("frmYear")));

    auto* stubborn = new RecordingWindow(&m_log, QStringLiteral("stubborn"));
    Windows::Show_Child(stubborn);
    for (Answer a : {Answer::No, Answer::Cancel}) {
        m_data->Messages().Expect(QStringLiteral("Before the processing year can be changed"), a);
        QVERIFY(!main.Change_Year_Guard());
        QCOMPARE(frmChild::OpenWindows().size(), 2);
    }
    const Messages::Message asked = m_data->Messages().Seen().last();
    QCOMPARE(asked.title, QStringLiteral("Close Forms"));
    QCOMPARE(asked.buttons, Messages::Buttons::YesNoCancel);
    QCOMPARE(asked.icon, Messages::Icon::Question);
    QVERIFY(asked.text.startsWith(QStringLiteral("\r\nBefore")) && asked.text.endsWith(QStringLiteral("now?\r\n")));

    stubborn->refuseClose = true;
    m_data->Messages().Expect(QStringLiteral("Before the processing year"), Answer::Yes);
    QVERIFY(!main.Change_Year_Guard());
    QCOMPARE(frmChild::OpenWindows(), (QList<frmChild*>{stubborn}));

    stubborn->refuseClose = false;
    m_data->Messages().Expect(QStringLiteral("Before the processing year"), Answer::Yes);
    main.Menu(QStringLiteral("mnuChangeYear"))->trigger();
    QCOMPARE(frmChild::OpenWindows().size(), 1);
    QCOMPARE(frmChild::OpenWindows().first()->objectName(), QStringLiteral("frmYear"));
    main.close();
}

void tst_MainWindow::unloadWaitsForAWindowThatRefuses()
{
    frmMain main;
    auto* stubborn = new RecordingWindow(&m_log, QStringLiteral("stubborn"));
    Windows::Show_Child(stubborn);
    stubborn->refuseClose = true;
    QVERIFY(!main.close());
    QVERIFY(modGlobal::HasDB());
    stubborn->refuseClose = false;
    QVERIFY(main.close());
    QVERIFY(!modGlobal::HasDB());
}

void tst_MainWindow::detailWindowsAreFoundByTheirTag()
{
    Windows::Register(QStringLiteral("frmFundInfo"), [this] { return new RecordingWindow(&m_log, QStringLiteral("fund")); });
    frmMain main;
    const int fundId = m_data->AddFund(QStringLiteral("Missions"));
    QVERIFY(!modGlobal::Find_Open_Window(1, fundId, false));
    Windows::Show_Fund(fundId);
    Windows::Show_Fund(fundId);
    QCOMPARE(frmChild::OpenWindows().size(), 1);
    frmChild* w = frmChild::OpenWindows().first();
    QCOMPARE(w->Tag(), QString::number(fundId));
    QCOMPARE(w->property("ID").toInt(), fundId);
    QVERIFY(modGlobal::Find_Open_Window(1, fundId, false));
    QVERIFY(!modGlobal::Find_Open_Window(2, fundId, false)); // kinds are apart
    QVERIFY(!modGlobal::Find_Open_Window(1, 0, false));
    // A fund being edited cannot be deleted.
    clsFunds fund;
    fund.Get_One_Record(QStringLiteral("ID = ") + QString::number(fundId));
    m_data->Messages().Expect(QStringLiteral("This Fund is currently being edited"));
    QVERIFY(!fund.OK_to_Delete(true));
    // The main fund's window gets its flags locked.
    Windows::Show_Fund(1);
    frmChild* mainFund = frmChild::OpenWindows().last();
    QCOMPARE(mainFund->property("AllowInactive"), QVariant(false));
    QCOMPARE(mainFund->property("AllowPledgeable"), QVariant(false));
    QCOMPARE(mainFund->property("AllowTaxDeductible"), QVariant(false));
    QVERIFY(!w->property("AllowInactive").isValid());
    // ID 0 is a new record: never found, so every request opens a window.
    Windows::Show_Contributor(0);
    Windows::Show_Contributor(0);
    QCOMPARE(frmChild::OpenWindows().size(), 4);
    main.close();
}

void tst_MainWindow::passwordAtFirstActivation()
{
    frmMain main;
    // The initial password of a new data set, typed in lower case with blanks.
    {
        ModalScript script([](QDialog* d) { return AnswerPassword(d, {QStringLiteral("  brv9kq2e ")}); });
        QVERIFY(main.First_Activate());
        QVERIFY(main.Password_Accepted());
        QCOMPARE(m_data->Messages().Seen().size(), 0);
    }
    // Three wrong entries each get the message; the right one then passes.
    {
        ModalScript script([](QDialog* d) {
            return AnswerPassword(d, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("BRV9KQ2E")});
        });
        for (int i = 0; i < 3; ++i)
            m_data->Messages().Expect(QStringLiteral("Incorrect Password"));
        QVERIFY(main.First_Activate());
        QCOMPARE(m_data->Messages().Seen().last().text, QStringLiteral("Incorrect Password"));
        QCOMPARE(m_data->Messages().Seen().last().icon, Messages::Icon::None);
    }
    main.close();
}

void tst_MainWindow::cancelOrFourthWrongPasswordEndsTheProgram()
{
    {
        frmMain main;
        ModalScript script([](QDialog* d) {
            return AnswerPassword(d, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                                      QStringLiteral("Brv9kQ2e")});
        });
        for (int i = 0; i < 3; ++i)
            m_data->Messages().Expect(QStringLiteral("Incorrect Password"));
        main.show();
        QTRY_VERIFY(!main.isVisible()); // the fourth wrong entry closes without a message
        QVERIFY(!main.Password_Accepted());
        QVERIFY(!modGlobal::HasDB());
    }
    {
        frmMain main;
        ModalScript script([](QDialog* d) { return AnswerPassword(d, {}, true); });
        main.show();
        QTRY_VERIFY(!main.isVisible());
        QVERIFY(!modGlobal::HasDB());
    }
}

void tst_MainWindow::passwordChange()
{
    frmMain main;
    main.Menu(QStringLiteral("mnuPassword"))->trigger();
    auto* pw = qobject_cast<frmPWChange*>(Windows::Find_Window(QStringLiteral("frmPWChange")));
    QVERIFY(pw);
    QCOMPARE(pw->windowTitle(), QStringLiteral("Change Password"));

    pw->txtCurPW->setText(QStringLiteral("Brv9kQ2e"));
    pw->txtNewPW->setText(QStringLiteral("hymn"));
    pw->txtNewPW2->setText(QStringLiteral("hymns"));
    m_data->Messages().Expect(QStringLiteral("The new password you typed does not match\r\nthe confirmed one."));
    pw->cmdOK->click();
    QVERIFY(pw->txtNewPW->text().isEmpty() && pw->txtNewPW2->text().isEmpty());

    pw->txtCurPW->setText(QStringLiteral("wrong"));
    pw->txtNewPW->setText(QStringLiteral("hymn"));
    pw->txtNewPW2->setText(QStringLiteral(" HYMN "));
    m_data->Messages().Expect(QStringLiteral("Your current password is incorrect."));
    pw->cmdOK->click();
    QVERIFY(pw->txtCurPW->text().isEmpty());
    QCOMPARE(pw->txtNewPW->text(), QStringLiteral("hymn"));

    pw->txtCurPW->setText(QStringLiteral("brv9kq2e"));
    m_data->Messages().Expect(QStringLiteral("Your password was successfully changed."));
    pw->cmdOK->click();
    QVERIFY(pw->IsClosed());
    clsChurch church;
    church.Get_One_Record(QString());
    QCOMPARE(church.Password(), QStringLiteral("HYMN"));
    main.close();
}

void tst_MainWindow::passwordRemovalMeansNoQuestionNextStart()
{
    {
        frmMain main;
        main.Menu(QStringLiteral("mnuPassword"))->trigger();
        auto* pw = qobject_cast<frmPWChange*>(Windows::Find_Window(QStringLiteral("frmPWChange")));
        pw->txtCurPW->setText(QStringLiteral("BRV9KQ2E"));
        m_data->Messages().Expect(QStringLiteral("Are you sure you want to remove the password?"), Answer::No);
        pw->cmdOK->click();
        QVERIFY(!pw->IsClosed());
        QCOMPARE(m_data->Messages().Seen().last().buttons, Messages::Buttons::YesNo);
        m_data->Messages().Expect(QStringLiteral("Are you sure you want to remove the password?"), Answer::Yes);
        m_data->Messages().Expect(QStringLiteral("Your password was successfully removed."));
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
        QFile::copy(QStringLiteral(QV_EMPTY_MDB), m_data->Folder() + QStringLiteral("/Set%1.MDB").arg(i));
        QFile::setPermissions(m_data->Folder() + QStringLiteral("/Set%1.MDB").arg(i),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    modSettings::Write(QStringLiteral("General"), QStringLiteral("NumberDataSets"), QStringLiteral("2"));
    modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBName"), m_data->Folder() + QStringLiteral("/Set1"));
    modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBLabel"), QStringLiteral("Church"));
    modSettings::Write(QStringLiteral("Database2"), QStringLiteral("DBName"), m_data->Folder() + QStringLiteral("/Set2"));
    modSettings::Write(QStringLiteral("Database2"), QStringLiteral("DBLabel"), QStringLiteral("Food Pantry"));
    {
        // OK without a choice is refused; then the second set is chosen.
        QString title;
        QStringList labels;
        ModalScript script([&](QDialog* d) -> int {
            auto* pick = qobject_cast<frmPickDB*>(d);
            title = pick->windowTitle();
            for (int i = 0; i < pick->cboDB->count(); ++i)
                labels << pick->cboDB->itemText(i);
            m_data->Messages().Expect(QStringLiteral("Please select a Data Set"));
            pick->cmdOK->click();
            pick->cboDB->setCurrentIndex(1);
            pick->cmdOK->click();
            return pick->result();
        });
        frmMain main;
        QVERIFY(main.Loaded());
        QCOMPARE(title, QStringLiteral("Quorvane Data Set"));
        QCOMPARE(labels, (QStringList{"Church", "Food Pantry"}));
        QCOMPARE(modGlobal::DB().FilePath(), m_data->Folder() + QStringLiteral("/Set2.MDB"));
        main.close();
    }
    {
        // Closing the choice keeps data set 1.
        ModalScript script([](QDialog* d) {
            d->reject();
            return d->result();
        });
        frmMain main;
        QCOMPARE(modGlobal::DB().FilePath(), m_data->Folder() + QStringLiteral("/Set1.MDB"));
        main.close();
    }
}

void tst_MainWindow::progressAndAbout()
{
    frmMain main;
    {
        frmProgess progress;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Loading"));
        progress.Show_Progress(10, QStringLiteral("Loading Contributors and Pledges"));
        QCOMPARE(progress.lblDescription->text(), QStringLiteral("Loading Contributors and Pledges..."));
        QCOMPARE(progress.pbProgress->maximum(), 10);
        progress.Increment_Progess(1);
        progress.Increment_Progess(2);
        QCOMPARE(progress.pbProgress->value(), 3);
        QCOMPARE(progress.size(), WindowServices::TwipsSize(4770, 1335));
    }
    main.Menu(QStringLiteral("mnuAbout"))->trigger();
    auto* about = qobject_cast<frmAbout*>(Windows::Find_Window(QStringLiteral("frmAbout")));
    QVERIFY(about);
    QVERIFY(about->lblVersion->text().contains(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))));
    main.close();
}

QV_WIDGET_TEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"

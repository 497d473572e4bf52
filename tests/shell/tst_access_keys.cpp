// Every window a treasurer uses, walked for its access keys: no letter given
// to two controls a person can reach at once, every button with one, and the
// window's own keys coming before the menu bar's while it is active.
#include "shell/AccessKeys.h"
#include "shell/AllWindows.h"
#include "shell/Windows.h"
#include "shell/frmChild.h"
#include "shell/frmMain.h"
#include "shell/frmPassword.h"
#include "shell/frmPickDB.h"
#include "shell/frmProgess.h"
#include "shell/modPassword.h"
#include "support/TestDataSet.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>

namespace {

// What a person can reach in the window as it stands, tab by tab.
QStringList Problems(QWidget* window, const QString& name)
{
    QStringList problems;
    auto look = [&](const QString& where) {
        for (const QString& clash : AccessKeys::Clashes(window))
            problems << where + QStringLiteral(": ") + clash;
        for (const QString& button : AccessKeys::Without_Key(window))
            problems << where + QStringLiteral(": no access key on ") + button;
    };
    const QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
    if (tabs.isEmpty()) {
        look(name);
        return problems;
    }
    for (QTabWidget* t : tabs)
        for (int i = 0; i < t->count(); ++i) {
            t->setCurrentIndex(i);
            look(name + QStringLiteral(" (") + t->tabText(i).remove(QLatin1Char('&')) + QLatin1Char(')'));
        }
    return problems;
}

} // namespace

class tst_AccessKeys : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyWindow_data();
    void everyWindow();
    void dialogsOfTheStart();
    void windowKeysComeBeforeTheMenuBar();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<frmMain> m_main;
    int m_set = 0, m_smith = 0;
};

void tst_AccessKeys::init()
{
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    RegisterAllWindows();
    m_main = std::make_unique<frmMain>();
    QVERIFY(m_main->Loaded());
    modPassword::Store_Password(QString());
    m_smith = m_data->AddContributor("Smith", "John");
    m_data->AddPledge(m_smith, -2025, 520, 101);
    m_set = m_data->AddCollection(QDate(2025, 6, 15));
    m_data->AddOffering(m_smith, m_set, -2025, 20);
    m_main->show();
    QTRY_VERIFY(m_main->Password_Accepted());
}

void tst_AccessKeys::cleanup()
{
    for (frmChild* w : frmChild::OpenWindows())
        w->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_main->close();
    m_main.reset();
    m_data.reset();
}

void tst_AccessKeys::everyWindow_data()
{
    QTest::addColumn<QString>("window");
    for (const char* w : {"frmCollections", "frmContReceipt", "frmContList", "frmContInfo", "frmPledge", "frmFundList",
                          "frmFundInfo", "frmPledgeUtil", "frmChurch", "frmPreferences", "frmPWChange", "frmAbout",
                          "frmYear", "frmAssign", "frmActive", "frmRestore", "frmRptWeeklyReport", "frmRptStatements",
                          "frmRptPledgeStatus", "frmRptFunds", "frmRptMemorials", "frmRptTelephone",
                          "frmRptMailingLabels", "frmRptEnvLabels", "frmRptTrends", "frmLocateUpdate", "frmCollectionDate"})
        QTest::newRow(w) << QString::fromLatin1(w);
}

void tst_AccessKeys::everyWindow()
{
    QFETCH(QString, window);
    QWidget* w = nullptr;
    std::unique_ptr<QDialog> dialog;
    if (window == "frmCollectionDate" || window == "frmLocateUpdate") {
        dialog.reset(Windows::CreateDialog(window));
        QVERIFY(dialog);
        dialog->show();
        w = dialog.get();
    } else {
        const QVariantMap properties{{"CollectionNumber", m_set},      {"CollectionDate", QDate(2025, 6, 15)},
                                     {"ContributorID", m_smith},       {"PledgeID", 0},
                                     {"UseEnvelopes", true},           {"Fund_ID", 0},
                                     {"FundID", -2025}};
        w = Windows::Open_New(window, properties);
    }
    QVERIFY2(w, qPrintable(window));
    const QStringList problems = Problems(w, window);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void tst_AccessKeys::dialogsOfTheStart()
{
    frmPickDB pick(m_main.get());
    frmPassword password(m_main.get());
    frmProgess progress(m_main.get());
    progress.Allow_Cancel();
    QStringList problems;
    for (QWidget* w : {static_cast<QWidget*>(&pick), static_cast<QWidget*>(&password), static_cast<QWidget*>(&progress)}) {
        w->show();
        problems << Problems(w, w->objectName());
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void tst_AccessKeys::windowKeysComeBeforeTheMenuBar()
{
    // The menu bar's titles, and each menu's entries, have a letter each.
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

    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    auto* w = Windows::Open_New("frmCollections", {{"CollectionNumber", m_set}, {"CollectionDate", QDate(2025, 6, 15)}});
    QVERIFY(w);
    QTRY_VERIFY(QApplication::focusWidget() && w->isAncestorOf(QApplication::focusWidget()));
    // The Print menu gives its letter up while the offering window is active...
    QAction* print = m_main->findChild<QMenu*>("mnuPrint")->menuAction();
    QCOMPARE(print->text(), "Print");
    // ...so that Alt+P presses the window's Print, which opens the report.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(Windows::Find_Window("frmRptWeeklyReport"));
    QVERIFY(!m_main->findChild<QMenu*>("mnuPrint")->isVisible());
    // Without a window that uses the letter the menu has it back.
    for (frmChild* c : frmChild::OpenWindows())
        c->Frame()->close();
    QTRY_COMPARE(print->text(), "&Print");
}

QV_WIDGET_TEST_MAIN(tst_AccessKeys)
#include "tst_access_keys.moc"

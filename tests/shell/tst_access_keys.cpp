// The main window's access keys: a letter each in the menu bar and in every
// menu, and the active window's own keys coming before the menu bar's.
// Each window's own keys are walked with its layout (tst_window_layouts).
#include "shell/AccessKeys.h"
#include "support/WindowTest.h"

#include <QAction>
#include <QMap>
#include <QMenu>
#include <QMenuBar>

class tst_AccessKeys : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowKeysComeBeforeTheMenuBar();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<frmMain> m_main;
    int m_set = 0;
};

void tst_AccessKeys::init()
{
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    RegisterAllWindows();
    m_main = LoadMainWindow();
    const int smith = m_data->AddContributor("Smith", "John");
    m_set = m_data->AddCollection(QDate(2025, 6, 15));
    m_data->AddOffering(smith, m_set, -2025, 20);
    m_main->show();
    QTRY_VERIFY(m_main->Password_Accepted());
}

void tst_AccessKeys::cleanup()
{
    CloseMainWindow(m_main);
    m_data.reset();
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

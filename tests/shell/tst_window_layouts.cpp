// Every window a treasurer meets, opened at the application fonts people
// use (9 pt up to 18 pt): each control shown whole, inside its window and
// clear of its neighbours. A window that placed its controls at fixed
// positions cuts its captions at the larger fonts. Once per window its
// access keys too: no letter given to two controls a person can reach at
// once, and every button with one.
#include "widgets/AccessKeys.h"
#include "support/WindowTest.h"
#include "core/modSettings.h"
#include "update/modUpdate.h"

#include <QTabWidget>
#include <memory>

#include "support/EveryWindow.h"
#include "support/LayoutCheck.h"
#include "support/TestWindowArea.h"

namespace {
// The size of the main window's inner area on a 1,100-pixel-wide screen.
const QSize kMainArea(1100, 700);
const int kSizes[] = {9, 11, 14, 18};

// Access-key faults in what a person can reach, tab by tab.
QStringList KeyProblems(QWidget* window, const QString& name)
{
    QStringList problems;
    auto look = [&](const QString& where) {
        for (const QString& clash : AccessKeys::Clashes(window))
            problems << where + QStringLiteral(": ") + clash;
        for (const QString& button : AccessKeys::Without_Key(window))
            problems << where + QStringLiteral(": no access key on ") + button;
    };
    const QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
    if (tabs.isEmpty())
        look(name);
    for (QTabWidget* t : tabs)
        for (int i = 0; i < t->count(); ++i) {
            t->setCurrentIndex(i);
            look(name + QStringLiteral(" (") + t->tabText(i).remove(QLatin1Char('&')) + QLatin1Char(')'));
        }
    return problems;
}
} // namespace

class tst_WindowLayouts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyControlReadsWhole_data();
    void everyControlReadsWhole();

private:
    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<TestWindowArea> m_windows;
    std::unique_ptr<QWidget> m_dialog;
    EveryWindow::Books m_books;
};

void tst_WindowLayouts::init()
{
    m_data = std::make_unique<TestDataSet>();
    // Names as long as a church writes them.
    m_books.building = m_data->AddFund("Building and Grounds Improvement Fund");
    m_data->AddFund("Missions and Outreach Fund", false);
    m_books.smith = m_data->AddContributor("Smith-Worthington", "Jonathan and Elizabeth");
    m_books.pledge = m_data->AddPledge(m_books.smith, -2025, 3320, 101);
    m_data->AddPledge(m_books.smith, m_books.building, 1250.5, 0);
    for (int i = 0; i < 12; ++i)
        m_data->AddPledge(m_data->AddContributor(QStringLiteral("Member %1").arg(i), "Anne"), -2026, 100 + i, 200 + i);
    m_books.set = m_data->AddCollection(EveryWindow::kSunday, "Pentecost");
    m_data->AddOffering(m_books.smith, m_books.set, -2025, 1234567.89);
    m_data->AddOffering(m_books.smith, m_books.set, m_books.building, 25);
    m_data->AddOffering(0, m_books.set, 1, 310.25);
    modSettings::Write(QStringLiteral("General"), QStringLiteral("NumberDataSets"), QStringLiteral("2"));
    modSettings::Write(QStringLiteral("Database2"), QStringLiteral("DBLabel"), QStringLiteral("Grace Fellowship Food Pantry"));
    modUpdate::Context context = modUpdate::DefaultContext();
    context.documents = context.desktop = m_data->Folder();
    modUpdate::SetContext(context);
}

void tst_WindowLayouts::cleanup()
{
    m_dialog.reset();
    m_windows.reset();
    modUpdate::SetContext(std::nullopt);
    m_data.reset();
    QApplication::setFont(QFont());
}

void tst_WindowLayouts::everyControlReadsWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("points");
    for (const QString& name : EveryWindow::Names())
        for (int points : kSizes)
            QTest::addRow("%s at %d pt", qPrintable(name), points) << name << points;
}

void tst_WindowLayouts::everyControlReadsWhole()
{
    QFETCH(QString, window);
    QFETCH(int, points);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    QApplication::setFont(font);
    m_windows = std::make_unique<TestWindowArea>(kMainArea);
    QWidget* w = EveryWindow::Open(window, m_books);
    QVERIFY2(w, qPrintable(window));
    if (w->isWindow()) {
        m_dialog.reset(w);
        w->show();
    }
    // A window's layouts settle through posted events, one level at a time:
    // a drop-down filled as the window loads may take more than one pass on
    // a busy machine before the window grows to fit it.
    QStringList faults;
    QTRY_VERIFY2_WITH_TIMEOUT((faults = LayoutCheck::Faults(w)).isEmpty(), qPrintable(faults.join(QLatin1String("\n   "))), 3000);
    // The totals show every row at the window's opening size, the grand
    // total (the last row) included.
    if (auto* offering = qobject_cast<frmCollections*>(w); offering && offering->sstCollections->currentIndex() == 2) {
        QvGrid* g = offering->fgTotals;
        const int last = g->Rows() - 2; // the grid's own row of the program's last
        QVERIFY(last > 3);
        QVERIFY(g->rowViewportPosition(last) + g->rowHeight(last) <= g->viewport()->height());
    }
    if (points == kSizes[0]) {
        const QStringList problems = KeyProblems(w, window);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
}

QV_TEST_MAIN(tst_WindowLayouts, QApplication)
#include "tst_window_layouts.moc"

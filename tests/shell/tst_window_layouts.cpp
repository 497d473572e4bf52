// Every window a treasurer meets, opened at the application fonts people
// use (9 pt up to 18 pt): each control shown whole, inside its window and
// clear of its neighbours. A window that placed its controls at fixed
// positions cuts its captions at the larger fonts.
#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "shell/QvGrid.h"
#include "shell/Windows.h"
#include "shell/frmLocateUpdate.h"
#include "shell/frmPassword.h"
#include "shell/frmPickDB.h"
#include "shell/frmProgess.h"
#include "shell/modSettings.h"
#include "shell/modUpdate.h"
#include "year/YearEnd.h"

#include <QApplication>
#include <QTabWidget>
#include <QtTest/QTest>
#include <functional>
#include <memory>

#include "support/LayoutCheck.h"
#include "support/TestDataSet.h"
#include "support/TestWindowArea.h"

namespace {
// The size of the main window's inner area on a 1,100-pixel-wide screen.
const QSize kMainArea(1100, 700);
const int kSizes[] = {9, 11, 14, 18};

struct Books {
    int building = 0, smith = 0, set = 0, pledge = 0;
};

using Opener = std::function<QWidget*(const Books&)>;

QWidget* Task(const char* name, const QVariantMap& properties = {})
{
    return Windows::Open_New(QLatin1String(name), properties);
}

// The offering window on one of its tabs.
QWidget* OfferingTab(const Books& b, int tab)
{
    auto* w = qobject_cast<frmCollections*>(
        Task("frmCollections", {{"CollectionNumber", b.set}, {"CollectionDate", QDate(2025, 6, 8)}}));
    w->sstCollections->setCurrentIndex(tab);
    return w;
}

// Windows opened by name with nothing to set before they load.
const char* const kPlain[] = {"frmContList", "frmFundList", "frmChurch", "frmPreferences", "frmPledgeUtil",
                              "frmYear", "frmAssign", "frmActive", "frmRestore", "frmRptStatements",
                              "frmRptPledgeStatus", "frmRptFunds", "frmRptMemorials", "frmRptTelephone",
                              "frmRptMailingLabels", "frmRptEnvLabels", "frmPWChange", "frmAbout"};

// The others, with what they are opened for.
const QList<QPair<const char*, Opener>>& Special()
{
    static const QList<QPair<const char*, Opener>> windows = {
        {"frmCollections Loose Offering", [](const Books& b) { return OfferingTab(b, 0); }},
        {"frmCollections Contributors", [](const Books& b) { return OfferingTab(b, 1); }},
        {"frmCollections Totals", [](const Books& b) { return OfferingTab(b, 2); }},
        {"frmContReceipt", [](const Books& b) {
             return Task("frmContReceipt", {{"ContributorID", b.smith}, {"CollectionNumber", b.set},
                                            {"CollectionDate", QDate(2025, 6, 8)}});
         }},
        {"frmCollectionDate", [](const Books&) -> QWidget* { return new frmCollectionDate; }},
        {"frmContInfo", [](const Books& b) { return Task("frmContInfo", {{"ContributorID", b.smith}}); }},
        {"frmPledge", [](const Books& b) {
             return Task("frmPledge", {{"PledgeID", b.pledge}, {"ContributorID", b.smith}, {"UseEnvelopes", true}});
         }},
        {"frmPledge new", [](const Books& b) {
             return Task("frmPledge", {{"PledgeID", 0}, {"ContributorID", b.smith}, {"UseEnvelopes", true}});
         }},
        {"frmFundInfo", [](const Books& b) { return Task("frmFundInfo", {{"ID", b.building}}); }},
        {"frmRptNumbers", [](const Books&) {
             return Task("frmRptNumbers", {{"FundID", -2026},
                                           {"Changes", QVariant::fromValue(modGlobal::Plan_Numbers(-2026, 1, true))}});
         }},
        {"frmRptWeeklyReport", [](const Books& b) { return Task("frmRptWeeklyReport", {{"CollectionNumber", b.set}}); }},
        {"frmPickDB", [](const Books&) -> QWidget* { return new frmPickDB; }},
        {"frmPassword", [](const Books&) -> QWidget* { return new frmPassword; }},
        {"frmProgess", [](const Books&) -> QWidget* {
             auto* p = new frmProgess;
             p->Show_Progress(100, QStringLiteral("Loading Contributors and Pledges"));
             return p;
         }},
        {"frmLocateUpdate", [](const Books&) -> QWidget* { return new frmLocateUpdate; }},
    };
    return windows;
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
    QWidget* Open(const QString& window, int points);

    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<TestWindowArea> m_windows;
    std::unique_ptr<QWidget> m_dialog;
    Books m_books;
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
    m_books.set = m_data->AddCollection(QDate(2025, 6, 8), "Pentecost");
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

QWidget* tst_WindowLayouts::Open(const QString& window, int points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    QApplication::setFont(font);
    m_windows = std::make_unique<TestWindowArea>(kMainArea);
    QWidget* w = nullptr;
    for (const char* name : kPlain)
        if (window == QLatin1String(name))
            w = Task(name);
    for (const auto& [name, open] : Special())
        if (window == QLatin1String(name))
            w = open(m_books);
    if (w && w->isWindow()) {
        m_dialog.reset(w);
        w->show();
    }
    QApplication::processEvents();
    return w;
}

void tst_WindowLayouts::everyControlReadsWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("points");
    QStringList names;
    for (const char* name : kPlain)
        names << QString::fromLatin1(name);
    for (const auto& [name, open] : Special())
        names << QString::fromLatin1(name);
    for (const QString& name : names)
        for (int points : kSizes)
            QTest::addRow("%s at %d pt", qPrintable(name), points) << name << points;
}

void tst_WindowLayouts::everyControlReadsWhole()
{
    QFETCH(QString, window);
    QFETCH(int, points);
    QWidget* w = Open(window, points);
    QVERIFY2(w, qPrintable(window));
    const QStringList faults = LayoutCheck::Faults(w);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("\n   "))));
    // The totals show every row at the window's opening size, the grand
    // total (the last row) included.
    if (auto* offering = qobject_cast<frmCollections*>(w); offering && offering->sstCollections->currentIndex() == 2) {
        QvGrid* g = offering->fgTotals;
        const int last = g->Rows() - 2; // the grid's own row of the program's last
        QVERIFY(last > 3);
        QVERIFY(g->rowViewportPosition(last) + g->rowHeight(last) <= g->viewport()->height());
    }
}

QV_WIDGET_TEST_MAIN(tst_WindowLayouts)
#include "tst_window_layouts.moc"

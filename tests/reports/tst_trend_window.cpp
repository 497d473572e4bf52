// The Giving Trends window as a finance committee's treasurer uses it: the
// main fund of the processing year shown at once, another year or fund
// chosen, a point's date and amount on hovering, a chart saved as PNG and
// PDF, the window printed on one page, and new gifts shown without
// reopening it.
#include "reports/TrendCharts.h"
#include "reports/frmRptTrends.h"
#include "support/WindowTest.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QImage>
#include <QLineSeries>
#include <QPrintDialog>
#include <QPrinter>
#include <QStackedBarSeries>
#include <QTemporaryDir>

#include "PdfText.h"
#include "support/TestWindowArea.h"

using namespace modGlobal;

class tst_TrendWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsTheCoreSeriesAndFollowsChoices();
    void hoverSaveAndPrint_data();
    void hoverSaveAndPrint();

private:
    frmRptTrends* Open();

    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<TestWindowArea> m_area;
    QTemporaryDir m_out;
    int m_building = 0, m_ann = 0, m_jan5 = 0;
};

void tst_TrendWindow::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_building = m_data->AddFund("Building Fund");
    m_ann = m_data->AddContributor("Jones", "Ann");
    m_data->AddPledge(m_ann, -2025, 520);
    const int last = m_data->AddCollection(QDate(2024, 3, 3));
    m_jan5 = m_data->AddCollection(QDate(2025, 1, 5));
    const int mar2 = m_data->AddCollection(QDate(2025, 3, 2));
    m_data->AddOffering(m_ann, last, -2024, 15);
    m_data->AddOffering(m_ann, m_jan5, -2025, 20);
    m_data->AddOffering(1, m_jan5, -2025, 8.25);
    m_data->AddOffering(m_ann, mar2, -2025, 30);
    m_data->AddOffering(m_ann, mar2, m_building, 100);
    m_area = std::make_unique<TestWindowArea>(QSize(1200, 800));
}

void tst_TrendWindow::cleanup()
{
    m_area.reset();
    QCOMPARE(m_data->Messages().Pending(), 0);
    m_data.reset();
}

frmRptTrends* tst_TrendWindow::Open()
{
    return qobject_cast<frmRptTrends*>(Windows::Open_Single("frmRptTrends"));
}

void tst_TrendWindow::showsTheCoreSeriesAndFollowsChoices()
{
    frmRptTrends* w = Open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Giving Trends"));
    QCOMPARE(w->cboYear->currentText(), QStringLiteral("2025"));
    QCOMPARE(w->cboFund->currentText(), QStringLiteral("2025 Operating Fund"));
    QCOMPARE(w->chtTrend.size(), 4);

    // What is drawn is the core's series, point by point.
    auto check = [&] {
        const auto all = w->Shown().All();
        for (int i = 0; i < 4; ++i) {
            QChart* chart = w->chtTrend[i]->chart();
            QCOMPARE(chart->title(), all[i]->title);
            const auto drawn = chart->series();
            if (auto* line = qobject_cast<QLineSeries*>(drawn.value(0))) {
                QCOMPARE(drawn.size(), all[i]->series.size());
                for (int k = 0; k < drawn.size(); ++k) {
                    const auto points = static_cast<QLineSeries*>(drawn[k])->points();
                    QCOMPARE(points.size(), all[i]->series[k].values.size());
                    for (int p = 0; p < points.size(); ++p)
                        QCOMPARE(points[p].y(), all[i]->series[k].values[p]);
                }
                Q_UNUSED(line);
            } else {
                const auto sets = static_cast<QAbstractBarSeries*>(drawn.value(0))->barSets();
                QCOMPARE(sets.size(), all[i]->series.size());
                for (int k = 0; k < sets.size(); ++k)
                    for (int p = 0; p < all[i]->series[k].values.size(); ++p)
                        QCOMPARE(sets[k]->at(p), all[i]->series[k].values[p]);
            }
        }
    };
    check();
    QCOMPARE(w->Shown().weekly.series[0].values.value(0), 20.0);
    QCOMPARE(w->Shown().pledges.series[0].values.value(0), 520.0);

    // Another fund, another year: the fund stays chosen.
    w->cboFund->setCurrentIndex(w->cboFund->findText("Building Fund"));
    QCOMPARE(w->Shown().fundID, m_building);
    QVERIFY(w->chtTrend[0]->chart()->title().contains("Building Fund"));
    w->cboYear->setCurrentIndex(w->cboYear->findText("2024"));
    QCOMPARE(w->Shown().year, 2024);
    QCOMPARE(w->cboFund->currentText(), QStringLiteral("Building Fund"));
    check();
    w->cboFund->setCurrentIndex(0);
    QCOMPARE(w->Shown().fundID, -2024);
    QCOMPARE(w->Shown().weekly.series[0].values.value(8), 15.0); // March 3 is in week 9

    // A gift saved elsewhere shows without reopening the window.
    w->cboYear->setCurrentIndex(w->cboYear->findText("2025"));
    m_data->AddOffering(m_ann, m_jan5, -2025, 5);
    QTRY_COMPARE(w->Shown().weekly.series[0].values.value(0), 25.0);
    check();
}

void tst_TrendWindow::hoverSaveAndPrint_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("PNG") << "weekly.png";
    QTest::newRow("PDF") << "weekly.pdf";
}

void tst_TrendWindow::hoverSaveAndPrint()
{
    QFETCH(QString, file);
    frmRptTrends* w = Open();
    QVERIFY(w);

    // Hovering: the point's date and amount, the loose offering apart.
    auto* weekly = qobject_cast<QLineSeries*>(w->chtTrend[0]->chart()->series().value(0));
    QVERIFY(weekly);
    emit weekly->hovered(QPointF(1.1, 20), true);
    QCOMPARE(w->lblPoint->text(), QStringLiteral("2025 gifts, week 1, January 5, 2025: $20.00"));
    auto* loose = qobject_cast<QLineSeries*>(w->chtTrend[0]->chart()->series().value(1));
    emit loose->hovered(QPointF(0.9, 8), true);
    QCOMPARE(w->lblPoint->text(), QStringLiteral("2025 loose, week 1, January 5, 2025: $8.25"));
    auto* funds = qobject_cast<QAbstractBarSeries*>(w->chtTrend[2]->chart()->series().value(0));
    emit funds->barSets().value(1)->hovered(true, 2);
    QCOMPARE(w->lblPoint->text(), QStringLiteral("Building Fund, March 2025: $100.00"));
    auto* givers = qobject_cast<QAbstractBarSeries*>(w->chtTrend[3]->chart()->series().value(0));
    emit givers->barSets().value(0)->hovered(true, 0);
    QCOMPARE(w->lblPoint->text(), QStringLiteral("January 2025: 1 contributor"));

    // Saving through the dialog, as PNG or PDF by the name's ending.
    const QString path = m_out.filePath(file);
    WindowServices::SetModalHook(ChooseFile(path, "dlgSaveChart"));
    QVERIFY(w->Save_Chart(0));
    if (file.endsWith(".png")) {
        const QImage image(path);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > image.height());
    } else {
        QCOMPARE(PdfText::PageCount(path), 1);
        QVERIFY(PdfText::Pages(path).value(0).contains("2025 Operating Fund: weekly, against 2024"));
    }
    // A folder that is not there: the system's reason, nothing written.
    const QString nowhere = m_out.filePath("missing/" + file);
    WindowServices::SetModalHook(ChooseFile(nowhere));
    m_data->Messages().Expect("The chart could not be saved as");
    QVERIFY(!w->Save_Chart(1));
    QVERIFY(!QFile::exists(nowhere));

    // The whole window on one page.
    const QString printed = m_out.filePath("printed-" + file + ".pdf");
    WindowServices::SetModalHook(PrintTo(printed));
    QVERIFY(w->Print_Window());
    QCOMPARE(PdfText::PageCount(printed), 1);
    const QString text = PdfText::Pages(printed).value(0);
    for (const Trends::Chart* c : w->Shown().All())
        QVERIFY2(text.contains(c->title), qPrintable(c->title));
    QVERIFY(text.contains("Giving Trends: 2025 Operating Fund, 2025"));
}

QV_TEST_MAIN(tst_TrendWindow, QApplication)
#include "tst_trend_window.moc"

#pragma once

#include "TrendTables.h"
#include "widgets/frmChild.h"

class QChartView;
class QComboBox;
class QLabel;
class QPainter;
class QPushButton;

// Giving Trends: for a year and a fund, the weekly giving against the year
// before, the pledges and what was paid towards them, giving by fund and
// the number of givers month by month. The window only draws: every
// number comes from Trends::Build.
class frmRptTrends : public frmChild {
    Q_OBJECT
public:
    explicit frmRptTrends(QWidget* parent = nullptr);

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel *lblYear, *lblFund, *lblPoint;
    QComboBox *cboYear, *cboFund;
    QPushButton *cmdPrint, *cmdClose;
    QList<QChartView*> chtTrend;   // chtTrend(0) ... chtTrend(3)
    QList<QPushButton*> cmdSave;   // cmdSave(0) ... cmdSave(3)

    const Trends::Charts& Shown() const { return m_charts; }
    // Asks for a file name and saves chart index as PNG or PDF.
    bool Save_Chart(int index);
    // Prints the four charts on one landscape page.
    bool Print_Window();
    // The printed page: a heading line over the four charts.
    void Paint_Page(QPainter& painter, const QRectF& page);

private:
    void Fill_Years();
    void Fill_Funds();
    void Refresh();
    void Refresh_Later();

    Trends::Charts m_charts;
    bool m_loading = false;
    bool m_refreshQueued = false;
};

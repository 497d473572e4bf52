#pragma once

#include "widgets/Layouts.h"
#include "widgets/frmChild.h"

#include <memory>

class CRViewer91;
class QComboBox;
class Report;

// What every report window shares: it opens at the top-left corner of the
// main window's inner area and fills it; its controls sit in a strip at the
// top, in as many rows as the width needs, and the viewer takes the rest; a loading flag
// keeps control events of the load from building; a building flag turns
// away a build asked for while one runs; each build makes a new report
// object with the hourglass showing, and a window with nothing chosen shows
// the blank report. A report window derives from this class, makes its
// controls in Build_Controls and makes its report in Make_Report.
class frmReportWindow : public frmChild {
    Q_OBJECT
public:
    explicit frmReportWindow(QWidget* parent = nullptr);
    ~frmReportWindow() override;

    void Form_Load() override;
    // Builds the report now, unless a build is running.
    void Build();
    bool Loading() const { return m_loading; }
    // Says so (a beep and the status bar) and returns true when the range
    // ends before it begins; the window then shows no report.
    bool Range_Refused(const QDate& begin, const QDate& end);
    bool Building() const { return m_building; }
    const Report* Current_Report() const { return m_report.get(); }

    // Fills a collection list with the sets of the processing year and the
    // year before, newest first; the set numbered selectID becomes the
    // selection. Returns whether it was listed.
    static bool Fill_Collection_List(QComboBox* list, int selectID);

    CRViewer91* viewer;

protected:
    // Makes the window's own controls and adds them to the strip above
    // the viewer, in the order of their tab order.
    virtual void Build_Controls() = 0;
    // The strip above the viewer; controls added together (a label and its
    // box) stay together on one row.
    Layouts::FlowLayout* Strip() const { return m_strip; }
    void Add_To_Strip(std::initializer_list<QWidget*> together);
    // Fills the window's lists once, while loading.
    virtual void Fill_Lists() {}
    // A new report with its tables, or nullptr for the blank report.
    virtual std::unique_ptr<Report> Make_Report() = 0;
    // The name an export starts from.
    virtual QString Export_Name() const;

    void showEvent(QShowEvent* e) override;

private:
    void Fill_Main_Area();

    std::shared_ptr<Report> m_report;
    Layouts::FlowLayout* m_strip;
    bool m_loading = false;
    bool m_building = false;
    bool m_placed = false;
};

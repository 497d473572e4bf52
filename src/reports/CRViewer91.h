#pragma once

#include <QAbstractScrollArea>
#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QToolButton;
class PartedPages;
class Report;
class ReportDocument;

// Before printing: what does not fit its place even in the smallest font is
// listed ("3 labels do not fit: ..."); false when the user cancels.
bool Confirm_Unfit(const ReportDocument& doc);

// The pages of a report, one under the other, at the viewer's zoom. Only
// the pages in sight are painted, straight from the laid-out page list, so
// a document of thousands of pages opens at once and costs no more memory
// on screen than one of a few pages.
class ReportPageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportPageView(QWidget* parent = nullptr);

    void SetDocument(std::shared_ptr<const ReportDocument> doc);
    // A report of parts, each laid out when one of its pages comes in sight.
    void SetPages(std::shared_ptr<const PartedPages> pages);
    // The whole document shown, or null when it is shown a part at a time.
    const ReportDocument* Document() const { return m_doc.get(); }
    const PartedPages* Parted() const { return m_parted.get(); }
    int PageCount() const;
    QSizeF PageSizeUnits() const;

    // Zoom as a factor of the page's real size (1 = 100 %).
    double Zoom() const { return m_zoom; }
    void SetZoom(double zoom);
    QSize PageSizePixels() const;
    int CurrentPage() const; // the page at the top of the view, 0-based
    void ShowPage(int page);
    // Pages painted by the last paint; the tests and benchmarks read it.
    int LastPaintedPages() const { return m_lastPainted; }

signals:
    void PageChanged(int page);
    void Resized();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    void Shown_Anew();
    int PageTop(int page) const;

    std::shared_ptr<const ReportDocument> m_doc;
    std::shared_ptr<const PartedPages> m_parted;
    double m_zoom = 1.0;
    int m_lastPainted = 0;
    int m_lastReported = -1;
};

// The report viewer every report window carries: page moves, "Page x of
// y", zoom, Print, Export to PDF and Export to CSV, and their keys (PgUp,
// PgDn, Home, End, Ctrl+P, Ctrl++ and Ctrl+-).
class CRViewer91 : public QWidget {
    Q_OBJECT
public:
    enum class Fit { None, Width, WholePage };

    explicit CRViewer91(QWidget* parent = nullptr);
    ~CRViewer91() override;

    // The report to show; ViewReport lays it out and shows its first page.
    void SetReportSource(std::shared_ptr<const Report> report);
    void ViewReport();
    // A document laid out elsewhere (no tables: nothing to export as CSV).
    void SetDocument(std::shared_ptr<const ReportDocument> doc);
    // A report of parts shown a part at a time (everybody's statements).
    void SetPages(std::shared_ptr<const PartedPages> pages);
    const Report* ReportSource() const { return m_report.get(); }
    // Null while a report of parts is shown: see Parted().
    const ReportDocument* Document() const { return view->Document(); }
    const PartedPages* Parted() const { return view->Parted(); }
    // The name exports start from ("Collections Report 57").
    void SetExportName(const QString& name) { m_exportName = name; }

    int PageCount() const { return view->PageCount(); }
    int CurrentPage() const { return view->CurrentPage(); } // 0-based
    void ShowPage(int page);
    void ShowFirstPage() { ShowPage(0); }
    void ShowPreviousPage() { ShowPage(CurrentPage() - 1); }
    void ShowNextPage() { ShowPage(CurrentPage() + 1); }
    void ShowLastPage() { ShowPage(PageCount() - 1); }

    // Zoom in percent, or fitted to the width or the whole page.
    void SetZoomPercent(int percent);
    void SetFit(Fit fit);
    void ZoomIn();
    void ZoomOut();
    int ZoomPercent() const;

    // Through the platform's print dialog; false when cancelled or failed.
    bool PrintReport();
    // Through a file dialog that starts in the folder used last.
    bool ExportPdf();
    bool ExportCsv();

    QToolButton *cmdFirst, *cmdPrevious, *cmdNext, *cmdLast, *cmdPrint, *cmdExportPdf, *cmdExportCsv;
    QLabel* lblPage;
    QComboBox* cboZoom;
    ReportPageView* view;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Refresh_Controls();
    // Title, page size and what does not fit, of either kind of report.
    const ReportDocument* About() const;
    void Apply_Fit();
    void Zoom_Chosen(int index);
    QString Last_Folder() const;
    void Remember_Folder(const QString& path);

    std::shared_ptr<const Report> m_report;
    std::shared_ptr<ReportDocument> m_owned;
    QString m_exportName;
    Fit m_fit = Fit::Width;
};

#include "CRViewer91.h"

#include "Report.h"
#include "ReportDocument.h"
#include "ReportParts.h"
#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "widgets/frmProgess.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kGap = 12; // pixels around and between pages
const int kSteps[] = {50, 75, 100, 125, 150, 200};
} // namespace

ReportPageView::ReportPageView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("picPages"));
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    // A scroll bar that came and went with the zoom would change the width
    // a fitted zoom is computed from.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ReportPageView::SetDocument(std::shared_ptr<const ReportDocument> doc)
{
    m_doc = std::move(doc);
    m_parted.reset();
    Shown_Anew();
}

void ReportPageView::SetPages(std::shared_ptr<const PartedPages> pages)
{
    m_parted = std::move(pages);
    m_doc.reset();
    Shown_Anew();
}

void ReportPageView::Shown_Anew()
{
    m_lastReported = -1;
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit PageChanged(0);
}

int ReportPageView::PageCount() const
{
    return m_doc ? m_doc->PageCount() : m_parted ? m_parted->PageCount() : 0;
}

QSizeF ReportPageView::PageSizeUnits() const
{
    return m_doc      ? m_doc->pageSize
        : m_parted ? m_parted->Summary().pageSize
                      : QSizeF(ReportUnits::Inches(8.5), ReportUnits::Inches(11));
}

QSize ReportPageView::PageSizePixels() const
{
    const QSizeF units = PageSizeUnits();
    const double px = logicalDpiX() / ReportUnits::PerInch * m_zoom;
    return QSize(std::max(1, int(std::lround(units.width() * px))), std::max(1, int(std::lround(units.height() * px))));
}

int ReportPageView::PageTop(int page) const
{
    return kGap + page * (PageSizePixels().height() + kGap);
}

void ReportPageView::SetZoom(double zoom)
{
    zoom = std::clamp(zoom, 0.1, 4.0);
    if (std::abs(zoom - m_zoom) < 1e-6)
        return;
    // The page in sight stays in sight.
    const int page = CurrentPage();
    const int h = PageSizePixels().height() + kGap;
    const double within = h > 0 ? double(verticalScrollBar()->value() - PageTop(page)) / h : 0;
    m_zoom = zoom;
    UpdateScrollBars();
    verticalScrollBar()->setValue(PageTop(page) - kGap + int(within * (PageSizePixels().height() + kGap)));
    viewport()->update();
}

int ReportPageView::CurrentPage() const
{
    if (PageCount() == 0)
        return 0;
    const int h = PageSizePixels().height() + kGap;
    // The page whose area holds the top third of the view.
    const int y = verticalScrollBar()->value() + viewport()->height() / 3;
    return std::clamp(y / h, 0, PageCount() - 1);
}

void ReportPageView::ShowPage(int page)
{
    if (PageCount() == 0)
        return;
    page = std::clamp(page, 0, PageCount() - 1);
    verticalScrollBar()->setValue(PageTop(page) - kGap);
    viewport()->update();
    emit PageChanged(page);
}

void ReportPageView::UpdateScrollBars()
{
    const QSize page = PageSizePixels();
    const qint64 total = qint64(PageCount()) * (page.height() + kGap) + kGap;
    const int height = int(std::min<qint64>(total, std::numeric_limits<int>::max()));
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, page.height() / 20));
    horizontalScrollBar()->setRange(0, std::max(0, page.width() + 2 * kGap - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void ReportPageView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
    emit Resized();
}

void ReportPageView::scrollContentsBy(int, int)
{
    viewport()->update();
    const int page = CurrentPage();
    if (page != m_lastReported) {
        m_lastReported = page;
        emit PageChanged(page);
    }
}

void ReportPageView::paintEvent(QPaintEvent* e)
{
    m_lastPainted = 0;
    if (PageCount() == 0)
        return;
    QPainter p(viewport());
    const QSize size = PageSizePixels();
    const int h = size.height() + kGap;
    const int top = verticalScrollBar()->value();
    const int left = std::max(kGap, (viewport()->width() - size.width()) / 2) - horizontalScrollBar()->value();
    const QRect dirty = e->rect();
    const int first = std::max(0, (top + dirty.top() - kGap) / h);
    const int last = std::min(PageCount() - 1, (top + dirty.bottom()) / h);
    for (int i = first; i <= last; ++i) {
        const QRect page(left, PageTop(i) - top, size.width(), size.height());
        if (!page.intersects(dirty))
            continue;
        p.fillRect(page.translated(3, 3), QColor(0, 0, 0, 80));
        p.fillRect(page, Qt::white);
        p.save();
        p.setClipRect(page.intersected(dirty));
        if (m_doc)
            m_doc->Paint(p, i, QRectF(page));
        else
            m_parted->Paint(p, i, QRectF(page));
        p.restore();
        ++m_lastPainted;
    }
}

CRViewer91::CRViewer91(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CRViewer91"));
    setFocusPolicy(Qt::StrongFocus);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    auto button = [this, bar](QToolButton*& b, const char* name, const QString& text, const QString& tip) {
        b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
    };
    button(cmdFirst, "cmdFirst", QStringLiteral("|<"), QStringLiteral("First page (Home)"));
    button(cmdPrevious, "cmdPrevious", QStringLiteral("<"), QStringLiteral("Previous page (PgUp)"));
    lblPage = new QLabel(this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Page 8888 of 8888")) + 8);
    lblPage->setAlignment(Qt::AlignCenter);
    bar->addWidget(lblPage);
    button(cmdNext, "cmdNext", QStringLiteral(">"), QStringLiteral("Next page (PgDn)"));
    button(cmdLast, "cmdLast", QStringLiteral(">|"), QStringLiteral("Last page (End)"));
    bar->addSpacing(12);
    cboZoom = new QComboBox(this);
    cboZoom->setObjectName(QStringLiteral("cboZoom"));
    cboZoom->setFocusPolicy(Qt::NoFocus);
    cboZoom->addItem(QStringLiteral("Fit Width"));
    cboZoom->addItem(QStringLiteral("Whole Page"));
    for (int s : kSteps)
        cboZoom->addItem(QStringLiteral("%1%").arg(s), s);
    bar->addWidget(cboZoom);
    bar->addSpacing(12);
    button(cmdPrint, "cmdPrint", QStringLiteral("Print..."), QStringLiteral("Print (Ctrl+P)"));
    button(cmdExportPdf, "cmdExportPdf", QStringLiteral("Export to PDF..."),
           QStringLiteral("Save the report as a PDF file"));
    button(cmdExportCsv, "cmdExportCsv", QStringLiteral("Export to CSV..."),
           QStringLiteral("Save every table of the report as a CSV file, as printed"));
    bar->addStretch();

    view = new ReportPageView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(view, 1);

    connect(cmdFirst, &QToolButton::clicked, this, &CRViewer91::ShowFirstPage);
    connect(cmdPrevious, &QToolButton::clicked, this, &CRViewer91::ShowPreviousPage);
    connect(cmdNext, &QToolButton::clicked, this, &CRViewer91::ShowNextPage);
    connect(cmdLast, &QToolButton::clicked, this, &CRViewer91::ShowLastPage);
    connect(cmdPrint, &QToolButton::clicked, this, &CRViewer91::PrintReport);
    connect(cmdExportPdf, &QToolButton::clicked, this, &CRViewer91::ExportPdf);
    connect(cmdExportCsv, &QToolButton::clicked, this, &CRViewer91::ExportCsv);
    connect(cboZoom, &QComboBox::activated, this, &CRViewer91::Zoom_Chosen);
    connect(view, &ReportPageView::PageChanged, this, &CRViewer91::Refresh_Controls);
    connect(view, &ReportPageView::Resized, this, [this] {
        Apply_Fit();
        Refresh_Controls();
    });
    Refresh_Controls();
}

CRViewer91::~CRViewer91() = default;

void CRViewer91::SetReportSource(std::shared_ptr<const Report> report)
{
    m_report = std::move(report);
}

void CRViewer91::ViewReport()
{
    // A report of parts (everybody's statements) is not laid out whole: only
    // the parts in sight are, so thousands of statements open in the memory
    // of a few.
    if (const auto* parts = dynamic_cast<const ReportParts*>(m_report.get()); parts && parts->Part_Count() > 0) {
        // Counting the pages of a large church's statements takes seconds:
        // a progress window shows it, and the program keeps painting.
        constexpr int kPartsForProgress = 500, kStep = 50;
        std::unique_ptr<frmProgess> progress;
        int shown = 0;
        PartProgress step;
        if (parts->Part_Count() >= kPartsForProgress)
            step = [&](int done, int total) {
                if (!progress) {
                    progress = std::make_unique<frmProgess>();
                    progress->Show_Progress(total, QStringLiteral("Counting the pages"));
                }
                if (done - shown >= kStep || done == total) {
                    progress->Increment_Progess(done - shown);
                    shown = done;
                }
            };
        SetPages(std::make_shared<PartedPages>(std::shared_ptr<const ReportParts>(m_report, parts), modGlobal::Today(), step));
        return;
    }
    auto doc = std::make_shared<ReportDocument>(m_report ? m_report->Layout(modGlobal::Today()) : ReportDocument());
    if (doc->pages.empty())
        doc->pages.emplace_back();
    SetDocument(std::move(doc));
}

void CRViewer91::SetDocument(std::shared_ptr<const ReportDocument> doc)
{
    view->SetDocument(std::move(doc));
    Apply_Fit();
    view->ShowPage(0);
    Refresh_Controls();
}

void CRViewer91::SetPages(std::shared_ptr<const PartedPages> pages)
{
    view->SetPages(std::move(pages));
    Apply_Fit();
    view->ShowPage(0);
    Refresh_Controls();
}

const ReportDocument* CRViewer91::About() const
{
    return Document() ? Document() : Parted() ? &Parted()->Summary() : nullptr;
}

void CRViewer91::ShowPage(int page)
{
    view->ShowPage(page);
    Refresh_Controls();
}

void CRViewer91::Refresh_Controls()
{
    const int n = PageCount();
    const int current = CurrentPage();
    lblPage->setText(n ? QStringLiteral("Page %1 of %2").arg(current + 1).arg(n) : QString());
    cmdFirst->setEnabled(current > 0);
    cmdPrevious->setEnabled(current > 0);
    cmdNext->setEnabled(current < n - 1);
    cmdLast->setEnabled(current < n - 1);
    const ReportDocument* doc = Document();
    const bool content = (doc && !(n == 1 && doc->pages.front().items.empty())) || (Parted() && n > 0);
    cmdPrint->setEnabled(content);
    cmdExportPdf->setEnabled(content);
    cmdExportCsv->setEnabled(content && (doc ? !doc->tables.empty() : Parted()->HasTables()));
    const int zoomIndex = m_fit == Fit::Width ? 0 : m_fit == Fit::WholePage ? 1 : cboZoom->findData(ZoomPercent());
    cboZoom->setCurrentIndex(zoomIndex);
    if (zoomIndex < 0)
        cboZoom->setEditText(QStringLiteral("%1%").arg(ZoomPercent()));
}

int CRViewer91::ZoomPercent() const
{
    return int(std::lround(view->Zoom() * 100));
}

void CRViewer91::SetZoomPercent(int percent)
{
    m_fit = Fit::None;
    view->SetZoom(std::clamp(percent, kSteps[0], kSteps[std::size(kSteps) - 1]) / 100.0);
    Refresh_Controls();
}

void CRViewer91::SetFit(Fit fit)
{
    m_fit = fit;
    Apply_Fit();
    Refresh_Controls();
}

void CRViewer91::Apply_Fit()
{
    if (m_fit == Fit::None || !About())
        return;
    const QSizeF page = view->PageSizeUnits() / ReportUnits::PerInch * view->logicalDpiX();
    const QSize room = view->viewport()->size() - QSize(2 * kGap, 2 * kGap);
    double zoom = room.width() / page.width();
    if (m_fit == Fit::WholePage)
        zoom = std::min(zoom, room.height() / page.height());
    view->SetZoom(std::max(zoom, 0.1));
}

void CRViewer91::ZoomIn()
{
    const int now = ZoomPercent();
    for (int s : kSteps)
        if (s > now) {
            SetZoomPercent(s);
            return;
        }
    SetZoomPercent(kSteps[std::size(kSteps) - 1]);
}

void CRViewer91::ZoomOut()
{
    const int now = ZoomPercent();
    for (int i = int(std::size(kSteps)) - 1; i >= 0; --i)
        if (kSteps[i] < now) {
            SetZoomPercent(kSteps[i]);
            return;
        }
    SetZoomPercent(kSteps[0]);
}

void CRViewer91::Zoom_Chosen(int index)
{
    if (index == 0)
        SetFit(Fit::Width);
    else if (index == 1)
        SetFit(Fit::WholePage);
    else
        SetZoomPercent(cboZoom->itemData(index).toInt());
}

void CRViewer91::keyPressEvent(QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_PageUp:
        ShowPreviousPage();
        return;
    case Qt::Key_PageDown:
        ShowNextPage();
        return;
    case Qt::Key_Home:
        ShowFirstPage();
        return;
    case Qt::Key_End:
        ShowLastPage();
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (ctrl) {
            ZoomIn();
            return;
        }
        break;
    case Qt::Key_Minus:
        if (ctrl) {
            ZoomOut();
            return;
        }
        break;
    case Qt::Key_P:
        if (ctrl) {
            PrintReport();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(e);
}

QString CRViewer91::Last_Folder() const
{
    const QString kept = modSettings::Read(QStringLiteral("Reports"), QStringLiteral("ExportFolder"));
    if (!kept.isEmpty() && QDir(kept).exists())
        return kept;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void CRViewer91::Remember_Folder(const QString& folder)
{
    modSettings::Write(QStringLiteral("Reports"), QStringLiteral("ExportFolder"), folder);
}

bool Confirm_Unfit(const ReportDocument& doc)
{
    if (doc.unfit.isEmpty())
        return true;
    const int n = int(doc.unfit.size());
    const QString text = QStringLiteral("%1 %2 not fit: ")
                             .arg(n)
                             .arg(n == 1 ? doc.unfitKind + QStringLiteral(" does") : doc.unfitKind + QStringLiteral("s do"))
        + doc.unfit.join(QStringLiteral("; ")) + QStringLiteral(".\r\n\r\nTheir text runs past the label's edge. Print anyway?");
    return Messages::Show(text, {}, Messages::Icon::Exclamation, Messages::Buttons::OKCancel) == Messages::Answer::OK;
}

bool CRViewer91::PrintReport()
{
    const ReportDocument* doc = About();
    if (!doc || !cmdPrint->isEnabled() || !Confirm_Unfit(*doc))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(doc->title);
    // Qt's default page here is A4; reports are laid out on Letter.
    const QSizeF inches = doc->pageSize / ReportUnits::PerInch;
    printer.setPageSize(QPageSize(inches, QPageSize::Inch));
    printer.setFullPage(true);
    printer.setFromTo(1, PageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    dialog.setMinMax(1, PageCount());
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted)
        return false;
    WindowServices::Hourglass wait;
    int from = 0, to = PageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = printer.toPage() > 0 ? printer.toPage() - 1 : to;
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = CurrentPage();
    }
    if (Parted())
        Parted()->Render(printer, from, to);
    else
        doc->Render(printer, from, to);
    if (printer.printerState() == QPrinter::Error) {
        Messages::Show(QStringLiteral("The report could not be printed."), {}, Messages::Icon::Critical);
        return false;
    }
    return true;
}

bool CRViewer91::ExportPdf()
{
    const ReportDocument* doc = About();
    if (!doc || !cmdExportPdf->isEnabled())
        return false;
    const QString name = (m_exportName.isEmpty() ? doc->title : m_exportName) + QStringLiteral(".pdf");
    QFileDialog dialog(this, QStringLiteral("Export to PDF"), QDir(Last_Folder()).filePath(name),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setObjectName(QStringLiteral("dlgExportPdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString path = dialog.selectedFiles().constFirst();
    Remember_Folder(QFileInfo(path).absolutePath());
    WindowServices::Hourglass wait;
    QString error;
    if (!(Parted() ? Parted()->WritePdf(path, &error) : doc->WritePdf(path, &error))) {
        Messages::Show(QStringLiteral("The report could not be saved as ") + QDir::toNativeSeparators(path)
                           + QStringLiteral(":\r\n") + error,
                       {}, Messages::Icon::Critical);
        return false;
    }
    return true;
}

bool CRViewer91::ExportCsv()
{
    const ReportDocument* doc = About();
    if (!doc || !cmdExportCsv->isEnabled())
        return false;
    QFileDialog dialog(this, QStringLiteral("Export to CSV: choose a folder"), Last_Folder());
    dialog.setObjectName(QStringLiteral("dlgExportCsv"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString folder = dialog.selectedFiles().constFirst();
    Remember_Folder(folder);
    const QString prefix = (m_exportName.isEmpty() ? doc->title : m_exportName) + QStringLiteral(" - ");
    QString error;
    WindowServices::Hourglass wait;
    const bool written = Parted() ? Reports::Export_Csv(Parted()->Tables(), folder, prefix, nullptr, &error)
                                  : Reports::Export_Csv(*doc, folder, prefix, nullptr, &error);
    if (!written) {
        Messages::Show(QStringLiteral("The report's tables could not be saved:\r\n") + error, {}, Messages::Icon::Critical);
        return false;
    }
    return true;
}

#include "frmRptTrends.h"

#include "TrendCharts.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/DbError.h"
#include "storage/clsChurch.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

frmRptTrends::frmRptTrends(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmRptTrends"));
    setWindowTitle(QStringLiteral("Giving Trends"));

    auto* top = new QHBoxLayout;
    lblYear = new QLabel(QStringLiteral("&Year"), this);
    lblYear->setObjectName(QStringLiteral("lblYear"));
    cboYear = new QComboBox(this);
    cboYear->setObjectName(QStringLiteral("cboYear"));
    lblYear->setBuddy(cboYear);
    lblFund = new QLabel(QStringLiteral("&Fund"), this);
    lblFund->setObjectName(QStringLiteral("lblFund"));
    cboFund = new QComboBox(this);
    cboFund->setObjectName(QStringLiteral("cboFund"));
    cboFund->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblFund->setBuddy(cboFund);
    cmdPrint = new QPushButton(QStringLiteral("&Print..."), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    top->addWidget(lblYear);
    top->addWidget(cboYear);
    top->addSpacing(12);
    top->addWidget(lblFund);
    top->addWidget(cboFund);
    top->addStretch(1);
    top->addWidget(cmdPrint);
    top->addWidget(cmdClose);

    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    for (int i = 0; i < 4; ++i) {
        auto* view = new QChartView(this);
        view->setObjectName(QStringLiteral("chtTrend(%1)").arg(i));
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(320, 220);
        // Four buttons of one window, each with a letter of its own.
        static const char* const captions[4] = {"Save &Weekly Chart...", "Save P&ledge Chart...", "Save F&und Chart...",
                                                "Save &Givers Chart..."};
        auto* save = new QPushButton(QString::fromLatin1(captions[i]), this);
        save->setObjectName(QStringLiteral("cmdSave(%1)").arg(i));
        save->setToolTip(QStringLiteral("Save this chart as a PNG picture or a PDF page"));
        connect(save, &QPushButton::clicked, this, [this, i] { Save_Chart(i); });
        auto* cell = new QVBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(view, 1);
        cell->addWidget(save, 0, Qt::AlignRight);
        grid->addLayout(cell, i / 2, i % 2);
        chtTrend << view;
        cmdSave << save;
    }
    lblPoint = new QLabel(QStringLiteral("Rest the mouse on a point or a bar to see its date and amount."), this);
    lblPoint->setObjectName(QStringLiteral("lblPoint"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid, 1);
    layout->addWidget(lblPoint);

    connect(cboYear, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loading)
            return;
        Fill_Funds();
        Refresh();
    });
    connect(cboFund, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            Refresh();
    });
    connect(cmdPrint, &QPushButton::clicked, this, &frmRptTrends::Print_Window);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto* print = new QShortcut(QKeySequence::Print, this);
    print->setContext(Qt::WidgetWithChildrenShortcut);
    connect(print, &QShortcut::activated, this, &frmRptTrends::Print_Window);
    Set_Cancel_Button(cmdClose);
    Set_First_Control(cboYear);
    resize(WindowServices::TwipsSize(13500, 9000).expandedTo(minimumSizeHint()));
}

void frmRptTrends::Form_Load()
{
    m_loading = true;
    Fill_Years();
    Fill_Funds();
    m_loading = false;
    Refresh();
}

void frmRptTrends::Fill_Years()
{
    cboYear->clear();
    for (int y : Trends::Year_List(modGlobal::ProcessingYear))
        cboYear->addItem(QString::number(y), y);
    cboYear->setCurrentIndex(std::max(0, cboYear->findData(modGlobal::ProcessingYear)));
}

// The year's own main fund leads the list; a fund chosen before stays
// chosen when the year changes.
void frmRptTrends::Fill_Funds()
{
    const bool was = m_loading;
    m_loading = true;
    const int chosen = cboFund->currentData().toInt();
    cboFund->clear();
    const int year = cboYear->currentData().toInt();
    for (const Trends::FundItem& f : Trends::Fund_List(year))
        cboFund->addItem(f.text, f.fundID);
    cboFund->setCurrentIndex(chosen > 0 ? std::max(0, cboFund->findData(chosen)) : 0);
    m_loading = was;
}

void frmRptTrends::Refresh()
{
    m_refreshQueued = false;
    const int year = cboYear->currentData().toInt();
    if (year == 0)
        return;
    WindowServices::Hourglass wait;
    try {
        m_charts = Trends::Build(year, cboFund->currentData().toInt());
    } catch (const DbError& e) {
        Messages::Show(e.Message(), {}, Messages::Icon::Critical);
        return;
    }
    const auto all = m_charts.All();
    for (int i = 0; i < chtTrend.size(); ++i) {
        QChart* chart = TrendCharts::Make(*all[i], [this](const QString& text) {
            if (!text.isEmpty()) {
                lblPoint->setText(text);
                QToolTip::showText(QCursor::pos(), text, this);
            } else {
                QToolTip::hideText();
            }
        });
        QChart* old = chtTrend[i]->chart();
        chtTrend[i]->setChart(chart);
        delete old;
    }
}

void frmRptTrends::Refresh_Later()
{
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshQueued)
            Refresh();
    });
}

void frmRptTrends::Handle_DBChange(int table, bool, bool, bool, int, int)
{
    switch (table) {
    case dbFunds:
        Fill_Funds();
        Refresh_Later();
        break;
    case dbCollection:
    case dbOffering:
    case dbPledges:
        Refresh_Later();
        break;
    default:
        break;
    }
}

bool frmRptTrends::Save_Chart(int index)
{
    if (index < 0 || index >= chtTrend.size() || !chtTrend[index]->chart())
        return false;
    const Trends::Chart* c = m_charts.All()[index];
    const QString name = QStringLiteral("%1 %2 %3.png").arg(m_charts.year).arg(m_charts.fundName, c->name);
    QFileDialog dialog(this, QStringLiteral("Save Chart"),
                       QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name),
                       QStringLiteral("PNG pictures (*.png);;PDF files (*.pdf)"));
    dialog.setObjectName(QStringLiteral("dlgSaveChart"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains(QLatin1String("pdf")) ? QStringLiteral("pdf") : QStringLiteral("png"));
    });
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString path = dialog.selectedFiles().constFirst();
    WindowServices::Hourglass wait;
    QString error;
    if (!TrendCharts::Save(chtTrend[index]->chart(), path, &error)) {
        Messages::Show(QStringLiteral("The chart could not be saved as ") + QDir::toNativeSeparators(path)
                           + QStringLiteral(":\r\n") + error,
                       {}, Messages::Icon::Critical);
        return false;
    }
    return true;
}

void frmRptTrends::Paint_Page(QPainter& painter, const QRectF& page)
{
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));
    const double line = page.height() / 24;
    QFont heading(QStringLiteral("DejaVu Sans"));
    heading.setPixelSize(std::max(1, int(line * 0.55)));
    heading.setBold(true);
    painter.setFont(heading);
    const QRectF head(page.left(), page.top(), page.width(), line);
    painter.drawText(head, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Giving Trends: %1, %2").arg(m_charts.fundName).arg(m_charts.year));
    heading.setBold(false);
    painter.setFont(heading);
    painter.drawText(head, Qt::AlignRight | Qt::AlignVCenter,
                     church.ChurchName() + QStringLiteral("    ") + modGlobal::LongDate(modGlobal::Today()));
    const double top = page.top() + line * 1.2;
    const QSizeF cell(page.width() / 2, (page.bottom() - top) / 2);
    for (int i = 0; i < chtTrend.size(); ++i) {
        if (QChart* chart = chtTrend[i]->chart()) {
            const QRectF target(page.left() + (i % 2) * cell.width(), top + (i / 2) * cell.height(), cell.width(),
                                cell.height());
            TrendCharts::Render(chart, painter, target.adjusted(4, 4, -4, -4));
        }
    }
}

bool frmRptTrends::Print_Window()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    // Qt's default page here is A4; the program prints on Letter.
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted)
        return false;
    WindowServices::Hourglass wait;
    QPainter painter;
    if (!painter.begin(&printer)) {
        Messages::Show(QStringLiteral("The charts could not be printed."), {}, Messages::Icon::Critical);
        return false;
    }
    Paint_Page(painter, printer.pageLayout().paintRectPixels(printer.resolution()).translated(
                            -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft()));
    painter.end();
    if (printer.printerState() == QPrinter::Error) {
        Messages::Show(QStringLiteral("The charts could not be printed."), {}, Messages::Icon::Critical);
        return false;
    }
    return true;
}

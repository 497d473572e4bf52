#include "LabelSheetControls.h"

#include "CRViewer91.h"
#include "LabelSettings.h"
#include "ListingReports.h"
#include "ListingTables.h"
#include "core/Messages.h"
#include "widgets/WindowServices.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
// A few sheets describe themselves with a long list of uses, which would
// make the list wider than the window: the list names their first uses
// and shows the whole description as the item's tip.
QString Shown_Title(const LabelTemplate& t)
{
    constexpr int kLongest = 48;
    const QString title = t.Title();
    if (title.size() <= kLongest)
        return title;
    int cut = title.lastIndexOf(QStringLiteral(", "), kLongest);
    if (cut <= t.Name().size())
        cut = kLongest;
    return title.left(cut) + QChar(0x2026);
}
} // namespace

LabelSheetControls::LabelSheetControls(QWidget* window, CRViewer91* viewer, const QString& settingsKey,
                                       Layouts::FlowLayout* strip)
    : QObject(window), m_window(window), m_strip(strip), m_viewer(viewer), m_key(settingsKey), m_sheets(LabelTemplates::Installed())
{
    lblSheet = Layouts::Label(window, "lblSheet", QStringLiteral("La&bel sheet"));
    cboSheet = Layouts::Combo(window, "cboSheet");
    cboSheet->setEditable(false);
    lblSheet->setBuddy(cboSheet);
    // Sheets whose templates ask for the impossible are not offered; the
    // list's tip says which and where, so that the file can be mended.
    if (!LabelTemplates::Refused().isEmpty())
        cboSheet->setToolTip(QStringLiteral("Label sheets left out:\n") + LabelTemplates::Refused().join(QLatin1Char('\n')));
    const QString kept = LabelSettings::Sheet(m_key).Name();
    {
        const QSignalBlocker quiet(cboSheet);
        for (const LabelTemplate& t : m_sheets) {
            cboSheet->addItem(Shown_Title(t), t.Name());
            cboSheet->setItemData(cboSheet->count() - 1, t.Title(), Qt::ToolTipRole);
            if (t.Name() == kept)
                cboSheet->setCurrentIndex(cboSheet->count() - 1);
        }
    }

    lblOffset = Layouts::Label(window, "lblOffset", QStringLiteral("Printer &offset (points)"));
    const QPointF offset = LabelSettings::Offset();
    auto spin = [window](const char* name, double value) {
        auto* box = new QDoubleSpinBox(window);
        box->setObjectName(QLatin1String(name));
        box->setRange(-LabelSettings::kMaxOffset, LabelSettings::kMaxOffset);
        box->setDecimals(1);
        box->setSingleStep(0.5);
        box->setValue(value);
        box->setKeyboardTracking(false);
        return box;
    };
    txtOffsetX = spin("txtOffsetX", offset.x());
    txtOffsetX->setToolTip(QStringLiteral("Moves every label to the right (to the left when negative)"));
    txtOffsetY = spin("txtOffsetY", offset.y());
    txtOffsetY->setToolTip(QStringLiteral("Moves every label down (up when negative)"));
    lblOffset->setBuddy(txtOffsetX);
    cmdPrintLabels = Layouts::Button(window, "cmdPrintLabels", QStringLiteral("&Print Labels"));
    m_strip->addLayout(Layouts::Row({lblSheet, cboSheet}));
    m_strip->addLayout(Layouts::Row({lblOffset, txtOffsetX, txtOffsetY}));
    m_strip->addWidget(cmdPrintLabels);

    connect(cboSheet, &QComboBox::currentIndexChanged, this, &LabelSheetControls::Sheet_Chosen);
    connect(txtOffsetX, &QDoubleSpinBox::valueChanged, this, &LabelSheetControls::Offset_Changed);
    connect(txtOffsetY, &QDoubleSpinBox::valueChanged, this, &LabelSheetControls::Offset_Changed);
    connect(cmdPrintLabels, &QPushButton::clicked, this, &LabelSheetControls::Print_Labels);
}

void LabelSheetControls::Add_Skip_Box(const QString& caption)
{
    lblSkip = Layouts::Label(m_window, "lblSkip", caption);
    txtSkip = Layouts::Box(m_window, "txtSkip");
    Layouts::FitText(txtSkip, QStringLiteral("999"));
    m_strip->addLayout(Layouts::Row({lblSkip, txtSkip}));
    lblSkip->setBuddy(txtSkip);
    WindowServices::SelectAllOnFocus(m_window);
    connect(txtSkip, &QLineEdit::editingFinished, this, [this] {
        txtSkip->setText(QString::number(Listings::Skip_Count(txtSkip->text())));
        emit Changed();
    });
}

int LabelSheetControls::Skip() const
{
    return txtSkip ? Listings::Skip_Count(txtSkip->text()) : 0;
}

LabelTemplate LabelSheetControls::Sheet() const
{
    const int i = cboSheet->currentIndex();
    if (i != m_loadedIndex) {
        const auto loaded = i >= 0 && i < m_sheets.size() ? LabelTemplates::Load(m_sheets.at(i)) : std::nullopt;
        m_loaded = loaded ? *loaded : LabelTemplates::Avery5160();
        m_loadedIndex = i;
    }
    return m_loaded;
}

QPointF LabelSheetControls::Offset() const
{
    return QPointF(txtOffsetX->value(), txtOffsetY->value());
}

void LabelSheetControls::Apply(LabelReport& report) const
{
    report.SetSheet(Sheet());
    report.SetOffset(Offset());
}

void LabelSheetControls::Sheet_Chosen(int index)
{
    if (index < 0)
        return;
    if (!LabelSettings::Keep_Sheet(m_key, cboSheet->itemData(index).toString()))
        Messages::Show(QStringLiteral("The label sheet could not be kept in the settings file."), {},
                       Messages::Icon::Exclamation);
    emit Changed();
}

void LabelSheetControls::Offset_Changed()
{
    if (!LabelSettings::Keep_Offset(Offset()))
        Messages::Show(QStringLiteral("The printer offset could not be kept in the settings file."), {},
                       Messages::Icon::Exclamation);
    emit Changed();
}

bool LabelSheetControls::Print_Labels()
{
    const ReportDocument* doc = m_viewer->Document();
    if (!doc || doc->PageCount() < 1 || doc->pageSize.isEmpty() || !Confirm_Unfit(*doc))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(doc->title);
    printer.setPageSize(QPageSize(doc->pageSize / ReportUnits::PerInch, QPageSize::Inch));
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, m_viewer);
    dialog.setObjectName(QStringLiteral("dlgPrintLabels"));
    dialog.setMinMax(1, doc->PageCount());
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted)
        return false;
    WindowServices::Hourglass wait;
    int from = 0, to = doc->PageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = printer.toPage() > 0 ? printer.toPage() - 1 : to;
    }
    LabelReport::Render_Actual_Size(*doc, printer, from, to);
    if (printer.printerState() == QPrinter::Error) {
        Messages::Show(QStringLiteral("The labels could not be printed."), {}, Messages::Icon::Critical);
        return false;
    }
    return true;
}

#include "TrendCharts.h"

#include "core/Helpers.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <memory>

namespace TrendCharts {

namespace {
const QColor kThisYear(0x1f, 0x5f, 0xa8);
const QColor kLastYear(0x9a, 0x9a, 0x9a);
const QColor kTowards(0x2e, 0x8b, 0x57);
const QList<QColor> kFundColours{QColor(0x1f, 0x5f, 0xa8), QColor(0xe0, 0x8a, 0x1e), QColor(0x2e, 0x8b, 0x57),
                                 QColor(0x8e, 0x44, 0xad), QColor(0xc0, 0x39, 0x2b), QColor(0x16, 0xa0, 0x85),
                                 QColor(0x7f, 0x8c, 0x8d), QColor(0xd4, 0xac, 0x0d), QColor(0x34, 0x49, 0x5e),
                                 QColor(0xe5, 0x7f, 0xa6), QColor(0x6b, 0x8e, 0x23), QColor(0x5d, 0xad, 0xe2),
                                 QColor(0xa0, 0x52, 0x2d), QColor(0x48, 0x3d, 0x8b), QColor(0xbc, 0x8f, 0x8f)};
const QColor kLoose(0xb0, 0x8d, 0x57);

// The size a chart is drawn at for a file: a landscape half page, the way
// the window shows it.
const QSizeF kFileSize(900, 560);

QString Amount_Axis_Format()
{
    return QStringLiteral("$%.0f");
}

// Axis ranges that include zero and end on a round number, so that a
// correction below zero shows below the line.
void Fit(QValueAxis* axis, double low, double high)
{
    low = std::min(0.0, low);
    high = std::max(high, low + 1);
    axis->setRange(low, high);
    axis->applyNiceNumbers();
}

QFont Font(int points, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"), points);
    f.setBold(bold);
    return f;
}

QChart* New_Chart(const Trends::Chart& c)
{
    auto* chart = new QChart;
    chart->setTitle(c.title);
    chart->setTitleFont(Font(10, true));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(Font(8));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    // Axis amounts with thousands separators, the same on every machine.
    chart->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    chart->setLocalizeNumbers(true);
    // The funds are many and their names long: they are listed beside the
    // bars rather than cut short beneath them.
    if (!c.counts && c.category == QLatin1String("Month"))
        chart->legend()->setAlignment(Qt::AlignRight);
    return chart;
}

QValueAxis* Value_Axis(const QString& format, bool counts)
{
    auto* axis = new QValueAxis;
    // Localized numbers take only the %f forms.
    axis->setLabelFormat(counts ? QStringLiteral("%.0f") : format);
    axis->setLabelsFont(Font(8));
    return axis;
}

// Weekly series: lines against the week of the year; the running totals
// against their own axis on the right.
void Fill_Lines(QChart* chart, const Trends::Chart& c, const std::function<void(const QString&)>& onHover)
{
    auto* weeks = new QValueAxis;
    weeks->setRange(1, c.categories.size());
    weeks->setTickCount(14);
    weeks->setLabelFormat(QStringLiteral("%.0f"));
    weeks->setTitleText(QStringLiteral("Week of the year"));
    weeks->setTitleFont(Font(8));
    weeks->setLabelsFont(Font(8));
    chart->addAxis(weeks, Qt::AlignBottom);
    QValueAxis* left = Value_Axis(Amount_Axis_Format(), c.counts);
    chart->addAxis(left, Qt::AlignLeft);
    QValueAxis* right = nullptr;
    double lowL = 0, highL = 0, lowR = 0, highR = 0;
    const QString firstGroup = c.series.isEmpty() ? QString() : c.series.first().group;
    for (int k = 0; k < c.series.size(); ++k) {
        const Trends::Series& s = c.series[k];
        auto* line = new QLineSeries;
        line->setName(s.name);
        for (int i = 0; i < s.values.size(); ++i)
            line->append(i + 1, s.values[i]);
        QColor colour = s.group == firstGroup ? kThisYear : kLastYear;
        if (c.name == QLatin1String("pledges"))
            colour = k == 0 ? kLastYear.darker(130) : kTowards;
        QPen pen(colour, s.secondAxis ? 3.0 : 1.8);
        if (s.name.endsWith(QLatin1String(" loose")))
            pen = QPen(colour.lighter(130), 1.4, Qt::DashLine);
        if (c.name == QLatin1String("pledges") && k == 0)
            pen.setStyle(Qt::DashLine);
        line->setPen(pen);
        chart->addSeries(line);
        line->attachAxis(weeks);
        QValueAxis* axis = left;
        if (s.secondAxis) {
            if (!right) {
                right = Value_Axis(Amount_Axis_Format(), false);
                right->setTitleText(QStringLiteral("To date"));
                right->setTitleFont(Font(8));
                chart->addAxis(right, Qt::AlignRight);
            }
            axis = right;
        }
        line->attachAxis(axis);
        double& low = s.secondAxis ? lowR : lowL;
        double& high = s.secondAxis ? highR : highL;
        for (double v : s.values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
        if (onHover)
            QObject::connect(line, &QLineSeries::hovered, line, [c, k, onHover](const QPointF& p, bool state) {
                onHover(state ? Point_Text(c, k, qRound(p.x()) - 1) : QString());
            });
    }
    Fit(left, lowL, highL);
    if (right)
        Fit(right, lowR, highR);
}

// Monthly series: bars per month, stacked for the funds (their heights add
// up to the month's giving), side by side for the two years' givers.
void Fill_Bars(QChart* chart, const Trends::Chart& c, const std::function<void(const QString&)>& onHover)
{
    const bool stacked = !c.counts;
    QAbstractBarSeries* bars = stacked ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                       : static_cast<QAbstractBarSeries*>(new QBarSeries);
    double low = 0, high = 0;
    QList<double> up(c.categories.size(), 0.0), down(c.categories.size(), 0.0);
    for (int k = 0; k < c.series.size(); ++k) {
        const Trends::Series& s = c.series[k];
        auto* set = new QBarSet(s.name);
        for (int i = 0; i < c.categories.size(); ++i) {
            const double v = s.values.value(i);
            *set << v;
            if (stacked) {
                (v >= 0 ? up[i] : down[i]) += v;
            } else {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        QColor colour = c.counts ? (k == 0 ? kThisYear : kLastYear) : kFundColours[k % kFundColours.size()];
        if (stacked && s.name == QLatin1String("Loose Offering"))
            colour = kLoose;
        set->setColor(colour);
        set->setBorderColor(colour.darker(120));
        bars->append(set);
        if (onHover)
            QObject::connect(set, &QBarSet::hovered, set, [c, k, onHover](bool state, int index) {
                onHover(state ? Point_Text(c, k, index) : QString());
            });
    }
    for (int i = 0; i < up.size(); ++i) {
        low = std::min(low, down[i]);
        high = std::max(high, up[i]);
    }
    chart->addSeries(bars);
    auto* months = new QBarCategoryAxis;
    months->append(c.categories);
    months->setLabelsFont(Font(8));
    chart->addAxis(months, Qt::AlignBottom);
    bars->attachAxis(months);
    QValueAxis* axis = Value_Axis(Amount_Axis_Format(), c.counts);
    chart->addAxis(axis, Qt::AlignLeft);
    bars->attachAxis(axis);
    Fit(axis, low, high);
    if (c.counts)
        axis->setTickType(QValueAxis::TicksDynamic), axis->setTickInterval(std::max(1.0, std::ceil(axis->max() / 6)));
}
} // namespace

QString Point_Text(const Trends::Chart& chart, int series, int index)
{
    if (series < 0 || series >= chart.series.size())
        return {};
    const Trends::Series& s = chart.series[series];
    if (index < 0 || index >= s.values.size())
        return {};
    const QDate d = s.dates[index];
    const double v = s.values[index];
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    if (chart.counts)
        return QStringLiteral("%1 %2: %3 contributor%4")
            .arg(english.monthName(d.month()))
            .arg(d.year())
            .arg(qRound(v))
            .arg(qRound(v) == 1 ? QString() : QStringLiteral("s"));
    const QString amount = modGlobal::FormatAmount(v);
    if (chart.category == QLatin1String("Month"))
        return QStringLiteral("%1, %2 %3: %4").arg(s.name, english.monthName(d.month())).arg(d.year()).arg(amount);
    return QStringLiteral("%1, week %2, %3: %4").arg(s.name).arg(index + 1).arg(modGlobal::LongDate(d), amount);
}

QChart* Make(const Trends::Chart& c, std::function<void(const QString&)> onHover)
{
    QChart* chart = New_Chart(c);
    if (c.category == QLatin1String("Week"))
        Fill_Lines(chart, c, onHover);
    else
        Fill_Bars(chart, c, onHover);
    return chart;
}

void Render(QChart* chart, QPainter& painter, const QRectF& target)
{
    // A chart shown in a view is drawn from its own scene; a chart made for
    // a file gets one for the moment.
    QGraphicsScene* scene = chart->scene();
    std::unique_ptr<QGraphicsScene> own;
    if (!scene) {
        own = std::make_unique<QGraphicsScene>();
        own->addItem(chart);
        chart->resize(kFileSize);
        scene = own.get();
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene->render(&painter, target, chart->sceneBoundingRect(), Qt::KeepAspectRatio);
    painter.restore();
    if (own)
        own->removeItem(chart);
}

bool Save(QChart* chart, const QString& path, QString* error)
{
    // Made in memory and written in one go, so that a failed save leaves
    // no half-written file behind.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
        pdf.setTitle(chart->title());
        pdf.setResolution(300);
        QPainter painter(&pdf);
        const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        Render(chart, painter, QRectF(QPointF(0, 0), page.size()));
    } else {
        const QSizeF size = chart->scene() ? chart->size() : kFileSize;
        QImage image((size * 2).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            Render(chart, painter, QRectF(QPointF(0, 0), image.size()));
        }
        image.save(&buffer, "PNG");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace TrendCharts

#include "ListingReports.h"

#include "PageComposer.h"
#include "TableSection.h"
#include "core/Helpers.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

using namespace modGlobal;
using F = TableColumn::Format;

namespace {
const ReportTable kEmpty;

// The order of the rows by their SortField, without regard to case or
// accents; rows with equal keys keep the table's order.
std::vector<int> Sorted_Rows(const ReportTable& t)
{
    std::vector<int> order(size_t(t.RowCount()));
    std::vector<QString> keys(order.size());
    for (int r = 0; r < t.RowCount(); ++r) {
        order[size_t(r)] = r;
        keys[size_t(r)] = Reports::Sort_Text(t.Text(r, QStringLiteral("SortField")));
    }
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    return order;
}

// The church's name and the report's title line at the top of every page.
void Title_Header(PageComposer& composer, const ReportStyle::Fonts& f, const QString& church, const QString& line)
{
    ReportDocument* doc = &composer.Document();
    const double width = composer.ContentWidth();
    composer.SetPageHeader([doc, width, f, church, line](const PageInfo&) {
        Band b(doc, width);
        double y = b.Text(0, 0, width, church, f.title, Qt::AlignHCenter);
        if (!line.isEmpty())
            y += 40 + b.Text(0, y + 40, width, line, f.subtitle, Qt::AlignHCenter);
        b.SetHeight(y + 160);
        return b;
    });
}
} // namespace

ReportDocument rptFunds::Layout(const QDate& printed) const
{
    ReportDocument doc;
    const ReportTable* t = Table(1);
    const ReportTable& rows = t ? *t : kEmpty;
    const QString line = rows.RowCount() > 0 ? rows.Text(0, QStringLiteral("HeaderLine")) : QString();
    PageComposer composer(doc);
    // The title line heads every page; the footer's third of the width takes
    // the short title.
    const ReportStyle::Fonts f = ReportStyle::Start(composer, Title(), printed);
    Title_Header(composer, f, rows.RowCount() > 0 ? rows.Text(0, QStringLiteral("ChurchName")) : QString(), line);

    std::vector<TableColumn> columns = {
        {QStringLiteral("Date"), QStringLiteral("Date"), 1500, F::Date, false, false, {}},
        {QStringLiteral("ColNum"), QStringLiteral("Collection"), 1200, F::Number, false, false, {}},
        {QStringLiteral("Name"), QStringLiteral("Name"), composer.ContentWidth() - 4200, F::Text, false, false, {}},
        {QStringLiteral("Amount"), QStringLiteral("Amount"), 1500, F::Money, true, false, {}},
    };
    TableSection table(composer, columns, f.body, f.bold);
    table.Export_As(QStringLiteral("Gifts"));
    TableGroup byDate;
    byDate.key = [](const ReportTable& r, int row) { return r.Value(row, QStringLiteral("Date")).toString(); };
    byDate.footerLabel = [](const ReportTable& r, int row) {
        const QVariant d = r.Value(row, QStringLiteral("Date"));
        return d.isValid() ? QStringLiteral("Total for ") + ShortDate(d.toDate()) : QString();
    };
    // The line of a report without gifts carries only the title: the list
    // stays empty and the total reads $0.00.
    table.Run(rows, {byDate}, QStringLiteral("Total"), {},
              [&rows](int row) { return rows.Value(row, QStringLiteral("Date")).isValid(); });
    composer.Finish();
    return doc;
}

ReportDocument rptTelephone::Layout(const QDate& printed) const
{
    ReportDocument doc;
    const ReportTable* t = Table(1);
    const ReportTable& rows = t ? *t : kEmpty;
    PageComposer composer(doc);
    const ReportStyle::Fonts f = ReportStyle::Start(composer, Title(), printed);
    Title_Header(composer, f, rows.RowCount() > 0 ? rows.Text(0, QStringLiteral("ChurchName")) : QString(), Title());
    std::vector<TableColumn> columns = {
        {QStringLiteral("Name"), QStringLiteral("Name"), 2800, F::Text, false, false, {}},
        {QStringLiteral("Address"), QStringLiteral("Address"), composer.ContentWidth() - 4700, F::Text, false, false, {}},
        {QStringLiteral("Telephone"), QStringLiteral("Telephone"), 1900, F::Text, false, false, {}},
    };
    TableSection table(composer, columns, f.body, f.bold);
    table.Export_As(QStringLiteral("Directory"));
    table.Run(rows, {}, QString(), [](const ReportTable& r, int row) {
        return Reports::Sort_Text(r.Text(row, QStringLiteral("SortField")));
    });
    composer.Finish();
    return doc;
}

LabelGeometry LabelReport::Geometry() const
{
    using ReportUnits::PerPoint;
    LabelGeometry g;
    g.name = m_sheet.Name();
    g.page = m_sheet.page * PerPoint;
    g.width = m_sheet.label.width() * PerPoint;
    g.height = m_sheet.label.height() * PerPoint;
    for (const QPointF& p : m_sheet.positions)
        g.cells.push_back((p + m_offset) * PerPoint);
    return g;
}

void LabelReport::Render_Actual_Size(const ReportDocument& doc, QPagedPaintDevice& device, int from, int to)
{
    if (to < 0 || to >= doc.PageCount())
        to = doc.PageCount() - 1;
    QPainter p(&device);
    const QRectF actual(0, 0, doc.pageSize.width() / ReportUnits::PerInch * device.logicalDpiX(),
                        doc.pageSize.height() / ReportUnits::PerInch * device.logicalDpiY());
    for (int i = std::max(0, from); i <= to; ++i) {
        if (i > std::max(0, from))
            device.newPage();
        doc.Paint(p, i, actual);
    }
}

ReportDocument LabelReport::Lay_Labels(const QDate& printed, const std::function<bool(const ReportTable&, int)>& blank,
                                       const std::function<QString(const ReportTable&, int)>& text,
                                       const QStringList& headings,
                                       const std::function<QStringList(const ReportTable&, int)>& cells,
                                       const std::function<QString(const ReportTable&, int)>& lead) const
{
    ReportDocument doc;
    doc.title = Title();
    doc.printed = printed;
    const int font = doc.Font(ReportFont{QStringLiteral("DejaVu Sans"), 10});
    const int leadFont = doc.Font(ReportFont{QStringLiteral("DejaVu Sans"), 24, true});
    const ReportTable* t = Table(1);
    const LabelGeometry g = Geometry();
    // Small labels get less room around their text.
    const double padding = std::min(ReportUnits::Inches(0.1), std::min(g.width, g.height) / 10);
    LabelSheet sheet(doc, g, padding);
    PrintedTable& printedTable = doc.Printed_Table(QStringLiteral("Labels"), headings);
    if (t)
        for (int r : Sorted_Rows(*t)) {
            if (blank(*t, r)) {
                sheet.Skip_Label();
                continue;
            }
            bool fits = true;
            const QString label = text(*t, r);
            if (lead)
                sheet.Add_Label(lead(*t, r), leadFont, label, font, &fits);
            else
                sheet.Add_Label(label, font, &fits);
            if (!fits)
                doc.unfit << QString(label).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).section(QLatin1Char('\n'), 0, 0);
            printedTable.rows.push_back(cells(*t, r));
        }
    if (doc.pages.empty())
        doc.pages.emplace_back();
    return doc;
}

ReportDocument rptMemorials::Layout(const QDate& printed) const
{
    return Lay_Labels(
        printed, [](const ReportTable& t, int r) { return t.Text(r, QStringLiteral("NameAddr")) == QStringLiteral("."); },
        [](const ReportTable& t, int r) { return t.Text(r, QStringLiteral("NameAddr")); },
        {QStringLiteral("Name"), QStringLiteral("Address")}, [](const ReportTable& t, int r) {
            QStringList lines = t.Text(r, QStringLiteral("NameAddr")).split(QStringLiteral("\r\n"));
            const QString name = lines.takeFirst();
            return QStringList{name, lines.join(QStringLiteral(", "))};
        });
}

ReportDocument rptEnvLabels::Layout(const QDate& printed) const
{
    return Lay_Labels(
        printed,
        [](const ReportTable& t, int r) {
            return t.Text(r, QStringLiteral("SortField")) == QStringLiteral("A")
                && t.Text(r, QStringLiteral("FirstNames")) == QStringLiteral(".");
        },
        [](const ReportTable& t, int r) {
            return NameJoin(t.Text(r, QStringLiteral("LastName")), t.Text(r, QStringLiteral("FirstNames")), true);
        },
        {QStringLiteral("Envelope"), QStringLiteral("Name")}, [](const ReportTable& t, int r) {
            const QVariant number = t.Value(r, QStringLiteral("EnvNum"));
            return QStringList{number.isValid() ? number.toString() : QString(),
                               NameJoin(t.Text(r, QStringLiteral("LastName")), t.Text(r, QStringLiteral("FirstNames")), true)};
        },
        [](const ReportTable& t, int r) {
            const QVariant number = t.Value(r, QStringLiteral("EnvNum"));
            return number.isValid() ? number.toString() : QString();
        });
}

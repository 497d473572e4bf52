#include "TableSection.h"

#include "core/Helpers.h"

#include <algorithm>
#include <cmath>
#include <numeric>

TableSection::TableSection(PageComposer& composer, std::vector<TableColumn> columns, int font, int boldFont)
    : m_composer(composer), m_columns(std::move(columns)), m_font(font), m_bold(boldFont)
{
}

namespace {
int Align(const TableColumn& c)
{
    return (c.format == TableColumn::Format::Money || c.format == TableColumn::Format::Number) ? int(Qt::AlignRight)
                                                                                              : int(Qt::AlignLeft);
}
} // namespace

QString TableSection::CellText(const TableColumn& c, const ReportTable& t, int row, bool detail)
{
    if (c.cell)
        return c.cell(t, row);
    if (c.field.isEmpty())
        return {};
    const QVariant v = t.Value(row, c.field);
    if (!v.isValid())
        return {};
    switch (c.format) {
    case TableColumn::Format::Money: {
        const double d = v.toDouble();
        if (detail && c.blankZero && modGlobal::AmountIsZero(d))
            return {};
        return modGlobal::FormatAmount(d);
    }
    case TableColumn::Format::Date:
        return modGlobal::ShortDate(v.toDate());
    default:
        return v.toString();
    }
}

void TableSection::Export_As(const QString& name, const QStringList& leadHeadings, const QStringList& leadCells)
{
    m_exportName = name;
    m_leadHeadings = leadHeadings;
    m_leadCells = leadCells;
    m_printed = -1;
}

PrintedTable& TableSection::Printed() const
{
    ReportDocument& doc = m_composer.Document();
    // Found once: a statement run keeps a hundred thousand lines.
    if (m_printed < 0 || size_t(m_printed) >= doc.tables.size()) {
        QStringList headings = m_leadHeadings;
        for (const TableColumn& c : m_columns)
            headings << c.title.simplified();
        const PrintedTable& t = doc.Printed_Table(m_exportName.isEmpty() ? doc.title : m_exportName, headings);
        m_printed = int(&t - doc.tables.data());
    }
    return doc.tables[size_t(m_printed)];
}

void TableSection::Record_Totals(const QString& label, const std::vector<double>& sums) const
{
    QStringList cells = m_leadCells;
    for (size_t i = 0; i < m_columns.size(); ++i)
        cells << (m_columns[i].total ? QString::number(modGlobal::RoundCents(sums[i]), 'f', 2) : QString());
    // The label stands where a reader looks first on the line.
    const int first = int(m_leadCells.size());
    if (first < cells.size() && cells[first].isEmpty())
        cells[first] = label;
    else
        cells.insert(first, label);
    Printed().rows.push_back(cells);
}

Band TableSection::Heading() const
{
    Band b = m_composer.NewBand();
    const ReportDocument& doc = m_composer.Document();
    std::vector<QString> titles;
    // Titles of different line counts share one bottom line.
    double tallest = 0;
    for (const TableColumn& c : m_columns) {
        QString title = c.title;
        title.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        title = doc.Break_Long_Words(m_bold, title, c.width - 2 * m_pad);
        tallest = std::max(tallest, doc.Measure(m_bold, title, c.width - 2 * m_pad, Align(c) | Qt::TextWordWrap).height());
        titles.push_back(title);
    }
    double x = 0;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const TableColumn& c = m_columns[i];
        const double h = doc.Measure(m_bold, titles[i], c.width - 2 * m_pad, Align(c) | Qt::TextWordWrap).height();
        b.Text(x + m_pad, tallest - std::ceil(h), c.width - 2 * m_pad, titles[i], m_bold, Align(c) | Qt::AlignBottom);
        x += c.width;
    }
    b.Line(0, tallest + 30, x, tallest + 30, 8);
    b.SetHeight(tallest + 60);
    return b;
}

Band TableSection::Row(const ReportTable& t, int row, bool shaded, bool record) const
{
    Band b = m_composer.NewBand();
    double x = 0;
    QStringList cells = record ? m_leadCells : QStringList();
    for (const TableColumn& c : m_columns) {
        const QString text = CellText(c, t, row, true);
        // Amounts stay on one line; text wraps within its column.
        if (!text.isEmpty())
            b.Text(x + m_pad, 0, c.width - 2 * m_pad, text, m_font, Align(c), c.format != TableColumn::Format::Text);
        x += c.width;
        // The export has amounts as plain numbers a spreadsheet sums.
        if (record)
            cells << (c.format == TableColumn::Format::Money && !c.cell && !text.isEmpty()
                          ? QString::number(modGlobal::RoundCents(t.Double(row, c.field)), 'f', 2)
                          : text.simplified());
    }
    if (record)
        Printed().rows.push_back(cells);
    b.SetHeight(m_composer.Document().Measure(m_font, QStringLiteral("0")).height() + 20);
    if (shaded)
        b.Underlay(QRectF(0, -10, x, b.Height()), QColor(236, 236, 236));
    return b;
}

Band TableSection::Totals(const QString& label, const std::vector<double>& sums, bool grand) const
{
    Band b = m_composer.NewBand();
    const int font = m_bold;
    double x = 0, firstMoney = -1, lastMoney = 0;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const TableColumn& c = m_columns[i];
        if (c.total) {
            if (firstMoney < 0)
                firstMoney = x;
            lastMoney = x + c.width;
            b.Text(x + m_pad, 40, c.width - 2 * m_pad, modGlobal::FormatAmount(modGlobal::RoundCents(sums[i])), font,
                   Qt::AlignRight, true);
        }
        x += c.width;
    }
    if (firstMoney < 0)
        firstMoney = x;
    b.Text(0, 40, std::max(0.0, firstMoney - m_pad), label, font, Qt::AlignRight);
    // A rule over the money columns; a double rule under the report's total.
    b.Line(firstMoney, 10, lastMoney, 10, 6);
    if (grand) {
        const double y = b.Height() + 20;
        b.Line(firstMoney, y, lastMoney, y, 6);
        b.Line(firstMoney, y + 24, lastMoney, y + 24, 6);
    }
    b.SetHeight(b.Height() + 60);
    return b;
}

std::vector<double> TableSection::Run(const ReportTable& t, const std::vector<TableGroup>& groups,
                                      const QString& grandTotalLabel,
                                      std::function<QString(const ReportTable&, int)> sortKey,
                                      std::function<bool(int)> filter)
{
    std::vector<int> order;
    for (int r = 0; r < t.RowCount(); ++r)
        if (!filter || filter(r))
            order.push_back(r);
    if (sortKey) {
        std::vector<QString> keys(size_t(t.RowCount()));
        for (int r : order)
            keys[size_t(r)] = sortKey(t, r);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    }

    const size_t n = m_columns.size();
    std::vector<double> grand(n, 0.0);
    std::vector<std::vector<double>> sums(groups.size(), std::vector<double>(n, 0.0));
    std::vector<QString> keys(groups.size());
    std::vector<int> firstRow(groups.size(), -1);
    const double rowHeight = order.empty() ? 0 : Row(t, order.front()).Height();

    auto closeFrom = [&](size_t level) {
        for (size_t g = groups.size(); g-- > level;) {
            if (firstRow[g] < 0)
                continue;
            if (groups[g].footerLabel) {
                const QString label = groups[g].footerLabel(t, firstRow[g]);
                if (!label.isEmpty()) {
                    m_composer.Add(Totals(label, sums[g], false));
                    Record_Totals(label, sums[g]);
                }
            }
            std::fill(sums[g].begin(), sums[g].end(), 0.0);
            firstRow[g] = -1;
        }
    };

    m_composer.Begin_Repeated_Heading(Heading(), rowHeight);
    Printed(); // a table without lines still prints its headings
    bool started = false;
    int placed = 0;
    for (int r : order) {
        size_t changed = groups.size();
        for (size_t g = 0; g < groups.size(); ++g) {
            const QString k = groups[g].key(t, r);
            if (firstRow[g] < 0 || k != keys[g]) {
                changed = g;
                break;
            }
        }
        if (changed < groups.size()) {
            closeFrom(changed);
            for (size_t g = changed; g < groups.size(); ++g) {
                keys[g] = groups[g].key(t, r);
                firstRow[g] = r;
                if (groups[g].newPage && started) {
                    if (groups[g].restartNumbering)
                        m_composer.Restart_Numbering();
                    else
                        m_composer.NewPage();
                }
                if (groups[g].header)
                    m_composer.Add(groups[g].header(m_composer, t, r), rowHeight);
            }
        }
        started = true;
        m_composer.Add(Row(t, r, (placed++ % 2) == 1, true));
        for (size_t i = 0; i < n; ++i) {
            if (!m_columns[i].total || m_columns[i].field.isEmpty())
                continue;
            const double v = t.Double(r, m_columns[i].field);
            grand[i] += v;
            for (auto& s : sums)
                s[i] += v;
        }
    }
    closeFrom(0);
    m_composer.SetRepeatedHeading(std::nullopt);
    if (!grandTotalLabel.isEmpty()) {
        m_composer.Add(Totals(grandTotalLabel, grand, true));
        Record_Totals(grandTotalLabel, grand);
    }
    return grand;
}

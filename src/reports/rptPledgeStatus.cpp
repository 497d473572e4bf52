#include "rptPledgeStatus.h"

#include "PageComposer.h"
#include "TableSection.h"

ReportDocument rptPledgeStatus::Layout(const QDate& printed) const
{
    ReportDocument doc;
    doc.title = Title();
    doc.printed = printed;
    const ReportStyle::Fonts f = ReportStyle::Add_Fonts(doc);
    PageComposer composer(doc);
    ReportStyle::Standard_Footer(composer, f);
    const double width = composer.ContentWidth();
    const ReportTable empty;
    const ReportTable& t = Table(1) ? *Table(1) : empty;

    const QString church = t.IsEmpty() ? QString() : t.Text(0, QStringLiteral("ChurchName"));
    const QString header = t.IsEmpty() ? QString() : t.Text(0, QStringLiteral("HeaderLine"));
    composer.SetPageHeader([&doc, width, f, church, header](const PageInfo&) {
        Band b(&doc, width);
        double y = b.Text(0, 0, width, church, f.title, Qt::AlignHCenter);
        y += 40;
        y += b.Text(0, y, width, header, f.subtitle, Qt::AlignHCenter);
        b.SetHeight(y + 160);
        return b;
    });

    // Names only when the report was made with them.
    bool names = false;
    for (int r = 0; r < t.RowCount() && !names; ++r)
        names = t.Value(r, QStringLiteral("Name")).isValid();
    using F = TableColumn::Format;
    auto envelope = [](const ReportTable& tt, int r) {
        const qint64 env = tt.Integer(r, QStringLiteral("EnvNum"));
        return env == 0 ? QString() : QString::number(env);
    };
    std::vector<TableColumn> columns;
    const double money = names ? 1050 : 1400;
    if (names)
        columns.push_back({QStringLiteral("Name"), QStringLiteral("Name"), width - 900 - 5 * money, F::Text, false, false, {}});
    columns.push_back({QStringLiteral("EnvNum"), QStringLiteral("Envelope"), names ? 900 : width - 5 * money, F::Number, false, false,
                       envelope});
    columns.push_back({QStringLiteral("Pledge"), QStringLiteral("Pledged"), money, F::Money, true, false, {}});
    columns.push_back({QStringLiteral("PrePaid"), QStringLiteral("Paid Before\nthe Period"), money, F::Money, true, false, {}});
    columns.push_back({QStringLiteral("PaidNow"), QStringLiteral("Paid in\nthe Period"), money, F::Money, true, false, {}});
    columns.push_back({QStringLiteral("Remaining"), QStringLiteral("Remaining"), money, F::Money, true, false, {}});
    columns.push_back({QStringLiteral("Overpaid"), QStringLiteral("Overpaid"), money, F::Money, true, false, {}});
    TableSection table(composer, columns, f.body, f.bold);
    table.Export_As(QStringLiteral("Pledges"));
    table.Run(t, {}, QStringLiteral("Totals"),
              [](const ReportTable& tt, int r) { return Reports::Sort_Text(tt.Text(r, QStringLiteral("SortField"))); });
    composer.Finish();
    return doc;
}

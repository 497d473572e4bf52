#include "rptChangedNumbers.h"

#include "reports/PageComposer.h"
#include "reports/TableSection.h"

ReportDocument rptChangedNumbers::Layout(const QDate& printed) const
{
    ReportDocument doc;
    PageComposer composer(doc);
    const ReportStyle::Fonts f = ReportStyle::Start(composer, Title(), printed);

    const ReportTable empty;
    const ReportTable* t = Table(1);
    if (!t)
        t = &empty;
    const QString fund = t->RowCount() > 0 ? t->Text(0, QStringLiteral("Fund")) : QString();
    const double width = composer.ContentWidth();
    const QString title = Title();
    composer.SetPageHeader([&doc, width, f, title, fund](const PageInfo&) {
        Band b(&doc, width);
        double y = b.Text(0, 0, width, title, f.title, Qt::AlignHCenter);
        y += b.Text(0, y + 40, width, fund, f.subtitle, Qt::AlignHCenter) + 40;
        b.SetHeight(y + 160);
        return b;
    });

    using F = TableColumn::Format;
    std::vector<TableColumn> columns = {
        {QStringLiteral("Name"), QStringLiteral("Contributor"), 3800, F::Text, false, false, {}},
        {QStringLiteral("Kind"), QStringLiteral("Number"), 1300, F::Text, false, false, {}},
        {QStringLiteral("OldNumber"), QStringLiteral("Old\nNumber"), 1200, F::Number, false, false, {}},
        {QStringLiteral("NewNumber"), QStringLiteral("New\nNumber"), 1200, F::Number, false, false, {}},
    };
    TableSection table(composer, columns, f.body, f.bold);
    table.Run(*t);
    composer.Finish();
    return doc;
}

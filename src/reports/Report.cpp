#include "Report.h"
#include "ReportParts.h"

#include "PageComposer.h"
#include "TableSection.h"
#include "rptDeposit.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"

#include <QDir>
#include <QSaveFile>
#include <algorithm>

using namespace modGlobal;

const ReportTable* Report::Table(int n) const
{
    auto it = m_tables.find(n);
    return it == m_tables.end() ? nullptr : &it->second;
}

std::vector<const ReportTable*> Report::AllTables() const
{
    std::vector<const ReportTable*> all;
    for (const auto& [n, t] : m_tables)
        all.push_back(&t);
    return all;
}

namespace ReportStyle {

Fonts Add_Fonts(ReportDocument& doc)
{
    Fonts f;
    f.body = doc.Font({QStringLiteral("DejaVu Sans"), 8.5});
    f.bold = doc.Font({QStringLiteral("DejaVu Sans"), 8.5, true});
    f.small = doc.Font({QStringLiteral("DejaVu Sans"), 8});
    f.italic = doc.Font({QStringLiteral("DejaVu Sans"), 8.5, false, true});
    f.title = doc.Font({QStringLiteral("DejaVu Serif"), 15, true});
    f.subtitle = doc.Font({QStringLiteral("DejaVu Serif"), 11});
    return f;
}

QString Page_Text(int number, int count)
{
    return QStringLiteral("Page %1 of %2").arg(number).arg(count);
}

void Standard_Footer(PageComposer& composer, const Fonts& f)
{
    ReportDocument* doc = &composer.Document();
    const double width = composer.ContentWidth();
    composer.SetPageFooter([doc, width, f](const PageInfo& info) {
        Band b(doc, width);
        b.Line(0, 0, width, 0, 4);
        const double third = width / 3;
        b.Text(0, 60, third, QStringLiteral("Printed ") + LongDate(doc->printed), f.small, Qt::AlignLeft, true);
        b.Text(third, 60, third, doc->title, f.small, Qt::AlignHCenter, true);
        // While the page is laid out its count is not known yet; the footer
        // is only measured then.
        b.Text(2 * third, 60, third, Page_Text(info.number, std::max(info.count, info.number)), f.small,
               Qt::AlignRight, true);
        return b;
    });
}

Fonts Start(PageComposer& composer, const QString& title, const QDate& printed)
{
    ReportDocument& doc = composer.Document();
    doc.title = title;
    doc.printed = printed;
    const Fonts f = Add_Fonts(doc);
    Standard_Footer(composer, f);
    return f;
}

} // namespace ReportStyle

ReportDocument rptBlank::Layout(const QDate& printed) const
{
    ReportDocument doc;
    doc.printed = printed;
    doc.pages.emplace_back();
    return doc;
}

namespace {
// The subreport carries only its table.
class rptFundTotals : public Report {
public:
    rptFundTotals() : Report(QStringLiteral("Subreport1")) {}
    QString Title() const override { return QStringLiteral("Totals by Fund"); }
    ReportDocument Layout(const QDate&) const override { return {}; }
};

const QString kNl = QStringLiteral("\n");

QString Lines(QString s)
{
    return s.replace(QStringLiteral("\r\n"), kNl);
}
} // namespace

rptWeeklyReport::rptWeeklyReport() : Report(QStringLiteral("rptWeeklyReport")), m_subreport(std::make_unique<rptFundTotals>()) {}

void rptWeeklyReport::Bind(WeeklyReport::Tables tables)
{
    SetDataSource(1, std::move(tables.header));
    SetDataSource(2, std::move(tables.detail));
    m_subreport->SetDataSource(1, std::move(tables.fundTotals));
    SetDataSource(3, std::move(tables.count));
}

std::vector<const ReportTable*> rptWeeklyReport::AllTables() const
{
    std::vector<const ReportTable*> all = Report::AllTables();
    for (const ReportTable* t : m_subreport->AllTables())
        all.push_back(t);
    return all;
}

ReportDocument rptWeeklyReport::Layout(const QDate& printed) const
{
    ReportDocument doc;
    PageComposer composer(doc);
    const ReportStyle::Fonts f = ReportStyle::Start(composer, Title(), printed);

    const ReportTable empty;
    const ReportTable* header = Table(1);
    const ReportTable* detail = Table(2);
    const ReportTable* totals = m_subreport->Table(1);
    auto headerText = [header](const QString& field) {
        return header && header->RowCount() > 0 ? header->Text(0, field) : QString();
    };

    // Church and collection on every page: the name large, then the
    // collection line and its notation.
    const QStringList info = Lines(headerText(QStringLiteral("ChurchInfo"))).split(kNl);
    const double width = composer.ContentWidth();
    composer.SetPageHeader([&doc, info, width, f](const PageInfo&) {
        Band b(&doc, width);
        double y = 0;
        y += b.Text(0, y, width, info.value(0), f.title, Qt::AlignHCenter);
        y += 40;
        for (int i = 1; i < info.size(); ++i)
            if (!info[i].trimmed().isEmpty())
                y += b.Text(0, y, width, info[i], f.subtitle, Qt::AlignHCenter);
        b.SetHeight(y + 160);
        return b;
    });

    // With names hidden a line shows the envelope number, and "*" after the
    // contributor's ID where there is no envelope for the year.
    bool byEnvelope = false;
    bool anyStar = false;
    if (detail)
        for (int r = 0; r < detail->RowCount(); ++r) {
            if (detail->Integer(r, QStringLiteral("LOFlag")) == 1 && detail->Value(r, QStringLiteral("EnvNum")).isValid())
                byEnvelope = true;
            if (detail->Text(r, QStringLiteral("Contributor")) == QStringLiteral("*"))
                anyStar = true;
        }
    auto who = [](const ReportTable& t, int r) {
        const QVariant env = t.Value(r, QStringLiteral("EnvNum"));
        const QString name = t.Text(r, QStringLiteral("Contributor"));
        if (t.Integer(r, QStringLiteral("LOFlag")) == 0 || !env.isValid())
            return name;
        return name.isEmpty() ? env.toString() : env.toString() + QLatin1Char(' ') + name;
    };
    using F = TableColumn::Format;
    std::vector<TableColumn> columns = {
        {QString(), byEnvelope ? QStringLiteral("Envelope") : QStringLiteral("Contributor"), byEnvelope ? 1500 : 2300, F::Text, false, false,
         who},
        {QStringLiteral("MainPledged"), Lines(headerText(QStringLiteral("MainPledged"))), 1000, F::Money, true, true, {}},
        {QStringLiteral("MainUnpledged"), Lines(headerText(QStringLiteral("MainUnPledged"))), 1000, F::Money, true, true,
         {}},
        {QStringLiteral("SecondFund"), Lines(headerText(QStringLiteral("SecondFund"))), 1000, F::Money, true, true, {}},
        {QStringLiteral("ThirdFund"), Lines(headerText(QStringLiteral("ThirdFund"))), 1000, F::Money, true, true, {}},
        {QStringLiteral("OtherDesc"), QStringLiteral("\n\n\nOther Fund"), byEnvelope ? 2500 : 1700, F::Text, false, false, {}},
        {QStringLiteral("OtherFund"), QStringLiteral("\n\n\nOther"), 1000, F::Money, true, true, {}},
    };
    // A fund column with neither a heading nor money says nothing: its
    // room goes to the other fund's name.
    for (const QString& field : {QStringLiteral("ThirdFund"), QStringLiteral("SecondFund")}) {
        const auto it = std::find_if(columns.begin(), columns.end(), [&](const TableColumn& c) { return c.field == field; });
        bool money = false;
        for (int r = 0; detail && r < detail->RowCount() && !money; ++r)
            money = !AmountIsZero(detail->Double(r, field));
        if (it == columns.end() || money || !it->title.trimmed().isEmpty())
            continue;
        const double freed = it->width;
        columns.erase(it);
        for (TableColumn& c : columns)
            if (c.field == QStringLiteral("OtherDesc"))
                c.width += freed;
    }
    TableSection table(composer, columns, f.body, f.bold);
    table.Export_As(QStringLiteral("Contributions"));

    // The loose offering first, then the contributors by envelope number or
    // name; a contributor's lines stay together in their order.
    TableGroup byKind;
    byKind.key = [](const ReportTable& t, int r) { return t.Value(r, QStringLiteral("LOFlag")).toString(); };
    byKind.header = [f](PageComposer& c, const ReportTable& t, int r) {
        Band b = c.NewBand();
        if (t.Integer(r, QStringLiteral("LOFlag")) == 1) {
            b.Text(50, 60, b.Width() - 100, QStringLiteral("Contributors"), f.bold);
            b.SetHeight(b.Height() + 30);
        }
        return b;
    };
    byKind.footerLabel = [](const ReportTable& t, int r) {
        return t.Integer(r, QStringLiteral("LOFlag")) == 1 ? QStringLiteral("Total Contributors") : QString();
    };
    auto sortKey = [byEnvelope](const ReportTable& t, int r) {
        const QString kind = t.Value(r, QStringLiteral("LOFlag")).toString();
        const QString order = byEnvelope ? QStringLiteral("%1").arg(t.Integer(r, QStringLiteral("EnvNum")), 12, 10, QLatin1Char('0'))
                                         : Reports::Sort_Text(t.Text(r, QStringLiteral("Contributor")));
        return kind + QLatin1Char('|') + order + QLatin1Char('|')
            + QStringLiteral("%1").arg(t.Integer(r, QStringLiteral("ID")), 12, 10, QLatin1Char('0'));
    };
    table.Run(detail ? *detail : empty, {byKind}, QStringLiteral("Total"), sortKey);
    if (anyStar) {
        Band note = composer.NewBand();
        note.Text(0, 40, width, QStringLiteral("* No envelope number for the year: the contributor's ID is shown."),
                  f.italic);
        composer.Add(note);
    }

    // The totals by fund, under their own heading.
    composer.Skip(200);
    Band heading = composer.NewBand();
    heading.Text(0, 0, width, QStringLiteral("Totals by Fund"), f.subtitle);
    std::vector<TableColumn> fundColumns = {
        {QStringLiteral("FundName"), QStringLiteral("Fund"), 3500, F::Text, false, false, {}},
        {QStringLiteral("Amount"), QStringLiteral("Amount"), 1400, F::Money, true, false, {}},
    };
    TableSection funds(composer, fundColumns, f.body, f.bold);
    funds.Export_As(QStringLiteral("Totals by Fund"));
    composer.Add(heading, 600);
    // The main fund's years first, the earlier year first, then the funds
    // by name, as the offering window's Totals tab lists them.
    auto fundOrder = [](const ReportTable& t, int r) {
        const qint64 id = t.Integer(r, QStringLiteral("FundID"));
        return id < 0 ? QStringLiteral("0%1").arg(-id, 8, 10, QLatin1Char('0'))
                      : QStringLiteral("1") + Reports::Sort_Text(t.Text(r, QStringLiteral("FundName")));
    };
    funds.Run(totals ? *totals : empty, {}, QStringLiteral("Total Amount Collected"), fundOrder);

    // The count sheet: what the counters found beside what was entered.
    if (const ReportTable* count = Table(3); count && count->RowCount() > 0) {
        composer.Skip(200);
        Band countHeading = composer.NewBand();
        countHeading.Text(0, 0, width, QStringLiteral("Count Sheet"), f.subtitle);
        TableSection sheet(composer,
                           {{QStringLiteral("Item"), QStringLiteral("Count"), 3500, F::Text, false, false, {}},
                            {QStringLiteral("Amount"), QStringLiteral("Amount"), 1400, F::Money, false, false, {}}},
                           f.body, f.bold);
        sheet.Export_As(QStringLiteral("Count Sheet"));
        composer.Add(countHeading, 600);
        sheet.Run(*count);
    }
    composer.Finish();
    return doc;
}

namespace Reports {

QString Sort_Text(const QString& key)
{
    QString out;
    const QString decomposed = key.normalized(QString::NormalizationForm_KD);
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.toCaseFolded();
}

std::unique_ptr<Report> Create(const QString& name)
{
    if (name == QStringLiteral("rptBlank"))
        return std::make_unique<rptBlank>();
    if (name == QStringLiteral("rptWeeklyReport"))
        return std::make_unique<rptWeeklyReport>();
    if (name == QStringLiteral("rptDeposit"))
        return std::make_unique<rptDeposit>();
    return nullptr;
}

namespace {
// A cell that a spreadsheet would read as a formula (=, +, - or @ first,
// and no number) gets an apostrophe in front, which spreadsheets take as
// "this is text".
QString Guarded(const QString& cell)
{
    if (cell.isEmpty() || !QStringLiteral("=+-@").contains(cell.front()))
        return cell;
    bool number = false;
    cell.toDouble(&number);
    return number ? cell : QLatin1Char('\'') + cell;
}

QByteArray CsvField(const QString& s)
{
    QByteArray utf8 = Guarded(s).toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') && !utf8.contains('\r') && !utf8.startsWith('\''))
        return utf8;
    utf8.replace("\"", "\"\"");
    return '"' + utf8 + '"';
}

QByteArray CsvLine(const QStringList& cells)
{
    QByteArray out;
    for (int i = 0; i < cells.size(); ++i) {
        if (i)
            out += ',';
        out += CsvField(cells[i]);
    }
    return out + "\r\n";
}

// A table's name as part of a file name: no folder separators or other
// characters a file system refuses.
QString File_Part(const QString& name)
{
    QString out;
    for (const QChar c : name)
        out += QStringLiteral("\\/:*?\"<>|").contains(c) ? QLatin1Char('-') : c;
    return out.trimmed();
}
} // namespace

QByteArray Csv(const PrintedTable& table)
{
    QByteArray out = CsvLine(table.headings);
    for (const QStringList& row : table.rows)
        out += CsvLine(row);
    return out;
}

bool Export_Csv(const ReportDocument& doc, const QString& folder, const QString& prefix, QStringList* written, QString* error)
{
    QStringList used;
    for (const PrintedTable& t : doc.tables) {
        // The same table printed with other headings (another statement's
        // funds) goes to a file of its own.
        QString base = prefix + File_Part(t.name);
        for (int n = 2; used.contains(base, Qt::CaseInsensitive); ++n)
            base = prefix + File_Part(t.name) + QStringLiteral(" (%1)").arg(n);
        used << base;
        const QString path = QDir(folder).filePath(base + QStringLiteral(".csv"));
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(Csv(t)) < 0 || !f.commit()) {
            if (error)
                *error = path + QStringLiteral(": ") + f.errorString();
            return false;
        }
        if (written)
            *written << path;
    }
    return true;
}

bool Export_Csv(const Report& report, const QString& folder, const QString& prefix, QStringList* written, QString* error)
{
    // A report of parts (everybody's statements) gives its tables a part at
    // a time, never laid out whole.
    if (const auto* parts = dynamic_cast<const ReportParts*>(&report); parts && parts->Part_Count() > 0)
        return Export_Csv(Tables_Of_Parts(*parts, modGlobal::Today()), folder, prefix, written, error);
    return Export_Csv(report.Layout(modGlobal::Today()), folder, prefix, written, error);
}

} // namespace Reports

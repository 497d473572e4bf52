#pragma once

#include "ReportDocument.h"
#include "ReportTable.h"
#include "WeeklyReportTables.h"

#include <QDate>
#include <map>
#include <memory>
#include <vector>

class PageComposer;

// A report layout: it takes its tables by table number (from 1), as the
// report windows hand them over, and lays them out into a document. Each
// layout of the program is a class derived from this one; sorting, grouping
// and totals happen in the layout.
class Report {
public:
    explicit Report(const QString& name) : m_name(name) {}
    virtual ~Report() = default;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    QString Name() const { return m_name; }
    // The window's caption names what the report shows; the title every
    // page carries.
    virtual QString Title() const = 0;

    // The report's database given a table as table n (from 1).
    void SetDataSource(int n, ReportTable table) { m_tables[n] = std::move(table); }
    const ReportTable* Table(int n) const;
    // Every table of the report, those of its subreports included, in the
    // order a CSV export writes them.
    virtual std::vector<const ReportTable*> AllTables() const;

    // Lays the report out for a printing date.
    virtual ReportDocument Layout(const QDate& printed) const = 0;

protected:
    std::map<int, ReportTable> m_tables;

private:
    QString m_name;
};

// The look every report shares: its fonts, page header and footer.
namespace ReportStyle {
struct Fonts {
    int body, bold, small, title, subtitle, italic;
};
Fonts Add_Fonts(ReportDocument& doc);
// The footer every page carries: printing date, title, "Page x of y".
void Standard_Footer(PageComposer& composer, const Fonts& f);
QString Page_Text(int number, int count); // "Page 3 of 12"
// The start of every report layout: the document's title and printing
// date, its fonts, and the standard footer on the composer's pages.
Fonts Start(PageComposer& composer, const QString& title, const QDate& printed);
} // namespace ReportStyle

// An empty report: what a window shows while nothing is chosen.
class rptBlank : public Report {
public:
    rptBlank() : Report(QStringLiteral("rptBlank")) {}
    QString Title() const override { return {}; }
    ReportDocument Layout(const QDate& printed) const override;
};

// The weekly collection report: table 1 the header row, table 2 the
// detail lines, and the fund totals as the one table of its subreport.
class rptWeeklyReport : public Report {
public:
    rptWeeklyReport();
    QString Title() const override { return QStringLiteral("Collections Report"); }
    // The subreport of fund totals; its table is its data source 1.
    Report& Subreport1() { return *m_subreport; }
    const Report& Subreport1() const { return *m_subreport; }
    // Header as table 1, detail as table 2, fund totals to the subreport.
    void Bind(WeeklyReport::Tables tables);
    std::vector<const ReportTable*> AllTables() const override;
    ReportDocument Layout(const QDate& printed) const override;

private:
    std::unique_ptr<Report> m_subreport;
};

namespace Reports {
// A sort key that orders names as a reader looks them up: without regard
// to case or accents ("van der Berg" between "Smith" and "Zimmermann",
// "Ångström" among the A's).
QString Sort_Text(const QString& key);
// A new report object by layout name; nullptr for an unknown name.
std::unique_ptr<Report> Create(const QString& name);
// What a report prints as CSV files in a folder, one file per printed table
// named prefix + table name + ".csv" (RFC 4180, UTF-8, a header row of the
// headings as printed); false with the reason on the first failure.
bool Export_Csv(const ReportDocument& doc, const QString& folder, const QString& prefix, QStringList* written = nullptr,
                QString* error = nullptr);
// The same for a report laid out for today.
bool Export_Csv(const Report& report, const QString& folder, const QString& prefix, QStringList* written = nullptr,
                QString* error = nullptr);
// One printed table as CSV text.
QByteArray Csv(const PrintedTable& table);
} // namespace Reports

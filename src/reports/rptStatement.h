#pragma once

#include "PageComposer.h"
#include "Report.h"
#include "ReportParts.h"
#include "StatementTables.h"

#include <QHash>
#include <QRectF>
#include <vector>

// The contribution statements: table 1 the gift lines, table 2 one summary
// per contributor. Each statement starts on a page of its own with its own
// "Page 1 of n", the statements in sort-key order; the contributor's name
// and address stand where a #10 window envelope shows them when the page is
// folded in three. Each statement is a part of its own: the viewer and the
// PDF of everybody lay out only the statements they are showing or
// writing.
class rptStatement : public Report, public ReportParts {
public:
    rptStatement() : Report(QStringLiteral("rptStatement")) {}
    QString Title() const override { return QStringLiteral("Contribution Statement"); }
    // Gift lines as table 1, summaries as table 2.
    void Bind(Statements::Tables tables);

    // Rows of table 2 in the order the statements print: by sort key, the
    // same key kept apart by contributor.
    std::vector<int> Statement_Order() const;
    ReportDocument Layout(const QDate& printed) const override;
    // Only the statements of these summary rows, in this order; safe on
    // several threads at once after Index_Lines.
    // measuresFrom: a statement laid out before, whose measures are taken
    // over.
    ReportDocument Layout_Statements(const QDate& printed, const std::vector<int>& summaryRows,
                                     const ReportDocument* measuresFrom = nullptr) const;
    void Index_Lines() const { Lines_Of(0); }
    // Every statement into one PDF file, laid out and written one statement
    // at a time, so that memory does not grow with the number of statements;
    // the file is whole or not there. pages: how many were written.
    bool Write_Pdf(const QString& path, const QDate& printed, int* pages = nullptr, QString* error = nullptr) const;

    // The statements as parts, in the order they print.
    void Prepare_Parts() const override;
    int Part_Count() const override;
    ReportDocument Layout_Part(const QDate& printed, int part, const ReportDocument* measuresFrom = nullptr) const override;
    ReportDocument Layout_Blank(const QDate& printed) const override { return Layout_Statements(printed, {}); }

    // The area of the page (units from its top-left corner) that a #10
    // window envelope shows, however the folded page slides in it.
    static QRectF Envelope_Window();
    // Puts a name and address into that window of a band (window in the
    // band's coordinates); returns the font scale used.
    static double Place_Address(Band& band, const QRectF& window, const QString& text, int font);

private:
    const std::vector<int>& Lines_Of(qint64 contributor) const;

    mutable QHash<qint64, std::vector<int>> m_linesOf;
    mutable bool m_indexed = false;
    mutable std::vector<int> m_order; // summary rows in printing order
    mutable bool m_ordered = false;
};

// Writes a PDF file per statement into a folder, named by envelope number
// and name. ok(done, total) is asked after each file; false stops the run
// there (a file is written whole or not at all). A file that cannot be
// written is listed and the run goes on. Returns the number of files
// written and, for each failure, which file and why.
struct StatementFiles {
    int written = 0;
    bool cancelled = false;
    QStringList failed; // "path: reason"
    QString error;      // the failures, one per line
    QStringList files;
};
StatementFiles Write_Statement_Pdfs(const rptStatement& report, const QString& folder, int mainFund, const QDate& printed,
                                    const std::function<bool(int done, int total)>& ok = {});

#pragma once

#include "ReportDocument.h"

#include <QDate>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// A report made of parts, each on pages of its own (a statement per
// contributor): shown, printed and written a part at a time, so that the
// memory it takes goes with one part, not with the whole run.
class ReportParts {
public:
    virtual ~ReportParts() = default;
    // Readies the parts to be laid out on several threads at once.
    virtual void Prepare_Parts() const = 0;
    virtual int Part_Count() const = 0;
    // measuresFrom: a part laid out before on the same thread, whose
    // measures are taken over.
    virtual ReportDocument Layout_Part(const QDate& printed, int part, const ReportDocument* measuresFrom = nullptr) const = 0;
    // The report of no parts, as it prints.
    virtual ReportDocument Layout_Blank(const QDate& printed) const = 0;
};

// Where each part's pages start: every part laid out once on every core,
// its pages counted and let go. What a reader is told before printing
// (texts that do not fit) is kept in summary, a document of no pages.
struct PartIndex {
    std::vector<int> starts; // the first page of each part
    int pages = 0;
    bool tables = false;     // any printed table to export
    ReportDocument summary;  // title, page size, what does not fit
    int Part_Of(int page) const;
};
// Told on the calling thread after each part is counted: done of total.
using PartProgress = std::function<void(int done, int total)>;
PartIndex Index_Parts(const ReportParts& report, const QDate& printed, const PartProgress& progress = {});

// Every part into one PDF file, laid out and made into pages on every core
// while this thread writes them in order; the file is whole or not there.
// With no parts, the blank report. pages: how many were written.
bool Write_Parts_Pdf(const ReportParts& report, const QString& title, const QString& path, const QDate& printed,
                     int* pages = nullptr, QString* error = nullptr);

// Every part's printed tables in order, in a document of no pages (what the
// CSV export writes), a part laid out at a time.
ReportDocument Tables_Of_Parts(const ReportParts& report, const QDate& printed);

// The pages of a report of parts as one document to show and print: a part
// is laid out when one of its pages is wanted, the last few kept.
class PartedPages {
public:
    PartedPages(std::shared_ptr<const ReportParts> parts, const QDate& printed, const PartProgress& progress = {});

    int PageCount() const { return m_index.pages; }
    const ReportDocument& Summary() const { return m_index.summary; }
    bool HasTables() const { return m_index.tables; }
    void Paint(QPainter& painter, int page, const QRectF& target) const;
    // Pages from..to (0-based, inclusive) on a paged device (a printer).
    void Render(QPagedPaintDevice& device, int from, int to) const;
    bool WritePdf(const QString& path, QString* error = nullptr) const;
    // Every part's printed tables in order, in a document of no pages.
    ReportDocument Tables() const;

private:
    const ReportDocument& Part(int part) const;

    std::shared_ptr<const ReportParts> m_parts;
    QDate m_printed;
    PartIndex m_index;
    mutable std::deque<std::pair<int, std::shared_ptr<const ReportDocument>>> m_recent;
    mutable ReportDocument m_measures;
};

#include "ReportParts.h"

#include "OrderedRun.h"
#include "PdfFile.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>

namespace {
// Each thread keeps the measures of the texts it met in the parts it laid
// out before: the dates, amounts and headings of one statement are those of
// the next.
class Measures {
public:
    Measures() : m_kept(size_t(std::max(1, QThread::idealThreadCount()))) {}
    ReportDocument Layout(const ReportParts& report, const QDate& printed, int part, int worker)
    {
        ReportDocument& mine = m_kept[size_t(worker)];
        ReportDocument doc = report.Layout_Part(printed, part, &mine);
        mine = ReportDocument::Measures_Of(doc);
        return doc;
    }

private:
    std::vector<ReportDocument> m_kept;
};
} // namespace

int PartIndex::Part_Of(int page) const
{
    const auto after = std::upper_bound(starts.begin(), starts.end(), page);
    return std::max(0, int(after - starts.begin()) - 1);
}

PartIndex Index_Parts(const ReportParts& report, const QDate& printed, const PartProgress& progress)
{
    report.Prepare_Parts();
    PartIndex index;
    const int total = report.Part_Count();
    index.starts.reserve(size_t(total));
    Measures measures;
    struct Counted {
        int pages = 0;
        bool tables = false;
        ReportDocument summary;
    };
    Ordered_Run<Counted>(
        total,
        [&](int part, int worker) {
            const ReportDocument doc = measures.Layout(report, printed, part, worker);
            Counted c{doc.PageCount(), !doc.tables.empty(), {}};
            c.summary.title = doc.title;
            c.summary.pageSize = doc.pageSize;
            c.summary.printed = doc.printed;
            c.summary.unfitKind = doc.unfitKind;
            c.summary.unfit = doc.unfit;
            return c;
        },
        [&](int part, Counted& c) {
            index.starts.push_back(index.pages);
            index.pages += c.pages;
            index.tables = index.tables || c.tables;
            if (part == 0)
                index.summary = std::move(c.summary);
            else
                index.summary.unfit += c.summary.unfit;
            if (progress)
                progress(part + 1, total);
            return true;
        },
        [](Counted&) {});
    return index;
}

bool Write_Parts_Pdf(const ReportParts& report, const QString& title, const QString& path, const QDate& printed, int* pages,
                     QString* error)
{
    report.Prepare_Parts();
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    int count = 0;
    if (written) {
        // The other threads compress the pages they make.
        PdfFile::Stream stream(file, title, false);
        const int total = report.Part_Count();
        if (total == 0) {
            const ReportDocument doc = report.Layout_Blank(printed);
            written = stream.Add(doc);
            count = doc.PageCount();
        } else {
            Measures measures;
            Ordered_Run<PdfFile::Pages>(
                total, [&](int part, int worker) { return PdfFile::Make_Pages(measures.Layout(report, printed, part, worker)); },
                [&](int, PdfFile::Pages& made) {
                    written = stream.Add(made);
                    count += made.Count();
                    return written;
                },
                [](PdfFile::Pages&) {});
        }
        written = written && stream.Finish(error);
    }
    if (!written || !file.commit()) {
        if (error && (file.error() != QFileDevice::NoError || error->isEmpty()))
            *error = file.errorString();
        return false;
    }
    if (pages)
        *pages = count;
    return true;
}

PartedPages::PartedPages(std::shared_ptr<const ReportParts> parts, const QDate& printed, const PartProgress& progress)
    : m_parts(std::move(parts)), m_printed(printed), m_index(Index_Parts(*m_parts, printed, progress))
{
}

const ReportDocument& PartedPages::Part(int part) const
{
    for (const auto& [n, doc] : m_recent)
        if (n == part)
            return *doc;
    // A screenful shows a few parts; paging back and forth keeps them.
    constexpr size_t kKept = 8;
    auto doc = std::make_shared<ReportDocument>(m_parts->Layout_Part(m_printed, part, &m_measures));
    m_measures = ReportDocument::Measures_Of(*doc);
    if (m_recent.size() >= kKept)
        m_recent.pop_back();
    m_recent.emplace_front(part, std::move(doc));
    return *m_recent.front().second;
}

void PartedPages::Paint(QPainter& painter, int page, const QRectF& target) const
{
    if (page < 0 || page >= PageCount())
        return;
    const int part = m_index.Part_Of(page);
    const ReportDocument& doc = Part(part);
    doc.Paint(painter, page - m_index.starts[size_t(part)], target);
}

void PartedPages::Render(QPagedPaintDevice& device, int from, int to) const
{
    if (to < 0 || to >= PageCount())
        to = PageCount() - 1;
    QPainter p(&device);
    const QRectF full = ReportDocument::Paper_Rect(device, m_index.summary.pageSize);
    for (int i = std::max(0, from); i <= to; ++i) {
        if (i > std::max(0, from))
            device.newPage();
        Paint(p, i, full);
    }
}

bool PartedPages::WritePdf(const QString& path, QString* error) const
{
    return Write_Parts_Pdf(*m_parts, m_index.summary.title, path, m_printed, nullptr, error);
}

ReportDocument PartedPages::Tables() const
{
    ReportDocument all = Tables_Of_Parts(*m_parts, m_printed);
    all.title = m_index.summary.title;
    return all;
}

ReportDocument Tables_Of_Parts(const ReportParts& report, const QDate& printed)
{
    report.Prepare_Parts();
    ReportDocument all;
    Measures measures;
    Ordered_Run<ReportDocument>(
        report.Part_Count(),
        [&](int part, int worker) {
            ReportDocument doc = measures.Layout(report, printed, part, worker);
            doc.pages.clear();
            return doc;
        },
        [&](int, ReportDocument& doc) {
            all.Append(std::move(doc));
            return true;
        },
        [](ReportDocument&) {});
    return all;
}

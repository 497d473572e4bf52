#include "rptStatement.h"

#include "OrderedRun.h"
#include "PdfFile.h"

#include "PageComposer.h"
#include "TableSection.h"
#include "core/Helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <optional>
#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace modGlobal;
using namespace ReportUnits;

namespace {
const QString kNl = QStringLiteral("\n");
constexpr double kMargin = 600;

QString Lines(QString s)
{
    return s.replace(QStringLiteral("\r\n"), kNl);
}

} // namespace

void rptStatement::Bind(Statements::Tables tables)
{
    SetDataSource(1, std::move(tables.lines));
    SetDataSource(2, std::move(tables.summaries));
    m_indexed = false;
    m_ordered = false;
}

void rptStatement::Prepare_Parts() const
{
    Index_Lines();
    if (!m_ordered) {
        m_order = Statement_Order();
        m_ordered = true;
    }
}

int rptStatement::Part_Count() const
{
    Prepare_Parts();
    return int(m_order.size());
}

ReportDocument rptStatement::Layout_Part(const QDate& printed, int part, const ReportDocument* measuresFrom) const
{
    return Layout_Statements(printed, {m_order.at(size_t(part))}, measuresFrom);
}

QRectF rptStatement::Envelope_Window()
{
    // A #10 envelope (9.5 x 4.125 in) has its window 7/8 in from the left
    // and 1/2 in from the bottom, 4.5 x 1.125 in. The page folded in three
    // is 11/3 in high and 8.5 in wide, so it slides 0.46 in up and down and
    // 1 in sideways: what stays in the window in every position is this
    // area.
    const double envelopeHeight = 4.125, folded = 11.0 / 3.0;
    const double windowTop = envelopeHeight - 0.5 - 1.125;
    const double slide = envelopeHeight - folded;
    const double top = windowTop, bottom = windowTop + 1.125 - slide;
    return QRectF(Inches(0.875), Inches(top), Inches(4.375 - 0.875), Inches(bottom - top));
}

double rptStatement::Place_Address(Band& band, const QRectF& window, const QString& text, int font)
{
    const ReportDocument& doc = *band.Document();
    // An eighth of an inch inside the window where the lines allow it: as
    // large as fits from 10 points down to 8; lines still too long wrap.
    const double clear = Inches(0.125);
    const QRectF inner = window.adjusted(clear, clear, -clear, -clear);
    const double minScale = 8.0 / doc.Fonts().at(size_t(font)).pointSize;
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    double scale = 1.0;
    QString shown;
    QSizeF size;
    for (;; scale = std::max(minScale, scale - 0.05)) {
        // Lines too many for the window at this size need no measuring:
        // most addresses go down a size or three.
        if (scale > minScale && doc.Least_Height(font, text, scale) > inner.height())
            continue;
        shown = doc.Break_Long_Words(font, text, inner.width(), scale);
        size = doc.Measure(font, shown, inner.width(), flags, scale);
        if (size.height() <= inner.height() || scale <= minScale)
            break;
    }
    // Centred up and down: the same room above and below, whichever way the
    // page slides.
    const double h = std::ceil(size.height());
    band.Put_Text(QRectF(inner.left(), window.center().y() - h / 2, inner.width(), h), shown, font, flags, scale);
    return scale;
}

const std::vector<int>& rptStatement::Lines_Of(qint64 contributor) const
{
    if (!m_indexed) {
        m_linesOf.clear();
        if (const ReportTable* lines = Table(1))
            for (int r = 0; r < lines->RowCount(); ++r)
                m_linesOf[lines->Integer(r, QStringLiteral("ContributorID"))].push_back(r);
        m_indexed = true;
    }
    static const std::vector<int> none;
    auto it = m_linesOf.constFind(contributor);
    return it == m_linesOf.constEnd() ? none : it.value();
}

std::vector<int> rptStatement::Statement_Order() const
{
    std::vector<int> order;
    const ReportTable* s = Table(2);
    if (!s)
        return order;
    order.resize(size_t(s->RowCount()));
    std::iota(order.begin(), order.end(), 0);
    std::vector<QString> keys(order.size());
    std::vector<qint64> ids(order.size());
    for (int r : order) {
        keys[size_t(r)] = Reports::Sort_Text(s->Text(r, QStringLiteral("SortField")));
        ids[size_t(r)] = s->Integer(r, QStringLiteral("ContributorID"));
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return keys[size_t(a)] != keys[size_t(b)] ? keys[size_t(a)] < keys[size_t(b)] : ids[size_t(a)] < ids[size_t(b)];
    });
    return order;
}

ReportDocument rptStatement::Layout(const QDate& printed) const
{
    // A church's statements are laid out in parts on every core and put
    // together in order; each thread keeps the measures of the texts it met.
    constexpr size_t kPart = 8;
    const std::vector<int> order = Statement_Order();
    if (order.size() <= kPart)
        return Layout_Statements(printed, order);
    Index_Lines();
    std::vector<ReportDocument> measures(size_t(std::max(1, QThread::idealThreadCount())));
    ReportDocument whole;
    bool first = true;
    Ordered_Run<ReportDocument>(
        int((order.size() + kPart - 1) / kPart),
        [&](int part, int worker) {
            const auto from = order.begin() + long(size_t(part) * kPart);
            const std::vector<int> rows(from, order.begin() + long(std::min(order.size(), size_t(part + 1) * kPart)));
            ReportDocument& mine = measures[size_t(worker)];
            ReportDocument doc = Layout_Statements(printed, rows, &mine);
            mine = ReportDocument::Measures_Of(doc);
            return doc;
        },
        [&](int, ReportDocument& doc) {
            if (first)
                whole = std::move(doc);
            else
                whole.Append(std::move(doc));
            first = false;
            return true;
        },
        [](ReportDocument&) {});
    return whole;
}

namespace {
// Thousands of statement pages make the PDF writer take and give back the
// same large buffers page after page; by default the C library hands each
// one back to the system and asks for it again, which doubled the time of a
// whole church's run. Buffers below 256 MB are kept for reuse instead.
void Keep_Large_Buffers()
{
#ifdef __GLIBC__
    static const bool once = [] {
        mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
        return true;
    }();
    Q_UNUSED(once);
#endif
}
} // namespace

bool rptStatement::Write_Pdf(const QString& path, const QDate& printed, int* pages, QString* error) const
{
    return Write_Parts_Pdf(*this, Title(), path, printed, pages, error);
}

ReportDocument rptStatement::Layout_Statements(const QDate& printed, const std::vector<int>& summaryRows,
                                               const ReportDocument* measuresFrom) const
{
    Keep_Large_Buffers();
    ReportDocument doc;
    doc.title = Title();
    doc.printed = printed;
    const ReportStyle::Fonts f = ReportStyle::Add_Fonts(doc);
    const int address = doc.Font({QStringLiteral("DejaVu Sans"), 10});
    if (measuresFrom)
        doc.Take_Measures(*measuresFrom);
    PageComposer composer(doc, QMarginsF(kMargin, kMargin, kMargin, kMargin));
    ReportStyle::Standard_Footer(composer, f);
    const double width = composer.ContentWidth();
    const double left = composer.Left();
    const ReportTable empty;
    const ReportTable& lines = Table(1) ? *Table(1) : empty;
    const ReportTable* sp = Table(2);
    if (!sp || summaryRows.empty()) {
        composer.Finish();
        return doc;
    }
    const ReportTable& s = *sp;

    // Pages after a statement's first carry the church and the contributor.
    int current = -1;
    composer.SetPageHeader([&](const PageInfo& info) {
        Band b(&doc, width);
        if (info.number == 1 || current < 0)
            return b;
        const QString who = Lines(s.Text(current, QStringLiteral("ContributorInfo"))).section(kNl, 0, 0);
        const QString church = Lines(s.Text(current, QStringLiteral("ChurchInfo"))).section(kNl, 0, 0);
        double y = b.Text(0, 0, width / 2, church, f.bold, Qt::AlignLeft, true);
        b.Text(width / 2, 0, width / 2, who + QStringLiteral(" (continued)"), f.bold, Qt::AlignRight, true);
        y += b.Text(0, y + 20, width, s.Text(current, QStringLiteral("HeaderLine")), f.small) + 20;
        b.Line(0, y + 40, width, y + 40, 4);
        b.SetHeight(y + 160);
        return b;
    });

    const QRectF window = Envelope_Window();
    bool first = true;
    for (int r : summaryRows) {
        current = r;
        if (!first)
            composer.Restart_Numbering();
        first = false;
        const qint64 id = s.Integer(r, QStringLiteral("ContributorID"));

        // The first page: church top left, the statement's title top right,
        // the contributor in the envelope's window, then the gifts.
        Band top = composer.NewBand();
        const QStringList church = Lines(s.Text(r, QStringLiteral("ChurchInfo"))).split(kNl);
        double y = top.Text(0, 0, width * 0.55, church.value(0), f.title);
        for (int i = 1; i < church.size(); ++i)
            if (!church[i].trimmed().isEmpty())
                y += top.Text(0, y, width * 0.55, church[i], f.body);
        const double rightX = width * 0.55;
        const double ry = top.Text(rightX, 0, width - rightX, QStringLiteral("Contribution Statement"), f.subtitle, Qt::AlignRight);
        // The range on a line of its own, above the envelope's window.
        top.Text(0, std::max(y, ry) + 200, width, s.Text(r, QStringLiteral("HeaderLine")), f.bold, Qt::AlignHCenter);
        // The first page has no page header: the band's top is the margin.
        Place_Address(top, window.translated(-left, -kMargin), Lines(s.Text(r, QStringLiteral("ContributorInfo"))), address);
        top.SetHeight(Inches(3.0));
        composer.Add(top);

        using F = TableColumn::Format;
        std::vector<TableColumn> columns = {
            {QStringLiteral("ContDate"), QStringLiteral("Date"), 1300, F::Date, false, false, {}},
            {QStringLiteral("MainAmount"), Lines(s.Text(r, QStringLiteral("MainFund"))), 1350, F::Money, true, true, {}},
            {QStringLiteral("SecondAmount"), Lines(s.Text(r, QStringLiteral("SecondFund"))), 1350, F::Money, true, true, {}},
            {QStringLiteral("ThirdAmount"), Lines(s.Text(r, QStringLiteral("ThirdFund"))), 1350, F::Money, true, true, {}},
            {QStringLiteral("OtherAmount"), QStringLiteral("Other"), 1250, F::Money, true, true, {}},
            {QStringLiteral("OtherDesc"), QStringLiteral("Other Fund or Comment"), width - 6600, F::Text, false, false, {}},
        };
        // A column without a single gift in it has no total to print; one
        // that has no heading either is left out, its room going to the
        // other fund's name.
        for (size_t i = columns.size(); i-- > 0;) {
            TableColumn& c = columns[i];
            if (!c.total)
                continue;
            bool any = false;
            for (int line : Lines_Of(id))
                any = any || !AmountIsZero(lines.Double(line, c.field));
            c.total = any;
            if (!any && c.title.trimmed().isEmpty()) {
                columns.back().width += c.width;
                columns.erase(columns.begin() + long(i));
            }
        }
        TableSection table(composer, columns, f.body, f.bold);
        const QString who = Lines(s.Text(r, QStringLiteral("ContributorInfo"))).section(kNl, 0, 0);
        table.Export_As(QStringLiteral("Gifts"), {QStringLiteral("Contributor")}, {who});
        const std::vector<int>& mine = Lines_Of(id);
        const bool none = mine.size() <= 1
            && (mine.empty() || !lines.Value(mine.front(), QStringLiteral("ContDate")).isValid());
        if (none) {
            Band b = composer.NewBand();
            b.Text(0, 0, width, QStringLiteral("No contributions were received in this period."), f.italic);
            b.SetHeight(b.Height() + 120);
            composer.Add(b);
        } else {
            const Band heading = table.Heading();
            const double rowHeight = table.Row(lines, mine.front()).Height();
            composer.Begin_Repeated_Heading(heading, rowHeight);
            int placed = 0;
            for (int line : mine) {
                composer.Add(table.Row(lines, line, (placed++ % 2) == 1, true));
            }
            composer.SetRepeatedHeading(std::nullopt);
        }

        // Totals of the period, the pledge position and the tax statement
        // stay together.
        Band close = composer.NewBand();
        double cy = 0;
        if (!none) {
            const std::vector<double> sums = {0, s.Double(r, QStringLiteral("YTDMain")), s.Double(r, QStringLiteral("YTDSecond")),
                                              s.Double(r, QStringLiteral("YTDThird")), s.Double(r, QStringLiteral("YTDOther")), 0};
            const Band totals = table.Totals(QStringLiteral("Totals"), sums, false);
            table.Record_Totals(QStringLiteral("Totals"), sums);
            close.Append(totals, 0);
            cy = totals.Height();
        }
        cy += 80;
        close.Text(0, cy, 5300, QStringLiteral("Total Contributions for the Period"), f.bold, Qt::AlignRight);
        cy += close.Text(5400, cy, 1200, FormatAmount(RoundCents(s.Double(r, QStringLiteral("YTDTotal")))), f.bold, Qt::AlignRight, true);
        cy += 240;

        // A fund without pledge or payment has no line: "$0.00" pledged
        // to a fund the contributor never gave to says nothing.
        std::vector<QString> funds;
        for (const QString& prefix : {QStringLiteral("Main"), QStringLiteral("Second")}) {
            bool any = false;
            for (const char* field : {"Pledged", "PrePaid", "PaidNow"})
                any = any || !AmountIsZero(s.Double(r, prefix + QLatin1String(field)));
            if (any && !s.Text(r, prefix + QStringLiteral("Title")).isEmpty())
                funds.push_back(prefix);
        }
        if (!funds.empty()) {
            const double cw[] = {3000, 1400, 1500, 1500, 1400};
            double hx = 0, tallest = 0;
            const QStringList heads = {QStringLiteral("Pledge"), QStringLiteral("Pledged"), QStringLiteral("Paid Before\nthe Period"),
                                       QStringLiteral("Paid in\nthe Period"), QStringLiteral("Remaining")};
            for (int i = 0; i < heads.size(); ++i) {
                const int align = i == 0 ? int(Qt::AlignLeft) : int(Qt::AlignRight);
                tallest = std::max(tallest, doc.Measure(f.bold, heads[i], cw[i] - 100, align).height());
            }
            for (int i = 0; i < heads.size(); ++i) {
                const int align = i == 0 ? int(Qt::AlignLeft) : int(Qt::AlignRight);
                const double h = doc.Measure(f.bold, heads[i], cw[i] - 100, align).height();
                close.Text(hx + 50, cy + tallest - h, cw[i] - 100, heads[i], f.bold, align);
                hx += cw[i];
            }
            cy += tallest + 30;
            close.Line(0, cy, hx, cy, 6);
            cy += 40;
            QStringList pledgeHeads = {QStringLiteral("Contributor")};
            for (const QString& h : heads)
                pledgeHeads << h.simplified();
            PrintedTable& pledges = doc.Printed_Table(QStringLiteral("Pledges"), pledgeHeads);
            for (const QString& prefix : funds) {
                const QString title = s.Text(r, prefix + QStringLiteral("Title"));
                const double values[] = {s.Double(r, prefix + QStringLiteral("Pledged")), s.Double(r, prefix + QStringLiteral("PrePaid")),
                                         s.Double(r, prefix + QStringLiteral("PaidNow")), s.Double(r, prefix + QStringLiteral("Remaining"))};
                // A long fund name wraps; its amounts stand on its first line.
                const double h = close.Text(50, cy, cw[0] - 100, title, f.body, Qt::AlignLeft);
                double x = cw[0];
                for (int i = 0; i < 4; ++i) {
                    close.Text(x + 50, cy, cw[i + 1] - 100, FormatAmount(RoundCents(values[i])), f.body, Qt::AlignRight, true);
                    x += cw[i + 1];
                }
                cy += std::max(h, doc.Measure(f.body, QStringLiteral("0")).height()) + 30;
                QStringList cells = {who, title};
                for (double v : values)
                    cells << QString::number(RoundCents(v), 'f', 2);
                pledges.rows.push_back(cells);
            }
        }
        cy += 200;
        const QString irs = s.Text(r, QStringLiteral("IRS")).trimmed();
        if (!irs.isEmpty())
            cy += close.Text(0, cy, width, irs, f.italic);
        close.SetHeight(cy + 60);
        composer.Add(close);
    }
    composer.Finish();
    return doc;
}

StatementFiles Write_Statement_Pdfs(const rptStatement& report, const QString& folder, int mainFund, const QDate& printed,
                                    const std::function<bool(int, int)>& ok)
{
    StatementFiles result;
    const ReportTable* s = report.Table(2);
    if (!s)
        return result;
    const QHash<int, QString> names = Statements::File_Names(*s, mainFund);
    const std::vector<int> order = report.Statement_Order();
    const int total = int(order.size());
    const QDir dir(folder);
    report.Index_Lines();

    // Every core lays out statements and writes each into a temporary file
    // beside its place; this thread gives the files their names in order
    // and asks after each whether to go on, so that a cancelled run leaves
    // the files named so far and nothing else.
    struct Made {
        QString temp, error;
    };
    Ordered_Run<Made>(
        total,
        [&](int i, int) {
            Made m;
            try {
                const ReportDocument doc = report.Layout_Statements(printed, {order[size_t(i)]});
                QTemporaryFile file(dir.filePath(QStringLiteral(".statement-XXXXXX.part")));
                file.setAutoRemove(false);
                if (!file.open())
                    m.error = file.errorString();
                else if (!PdfFile::Write(doc, file, &m.error))
                    file.remove();
                else
                    m.temp = file.fileName();
            } catch (const std::exception& e) {
                m.error = QString::fromLocal8Bit(e.what());
            }
            return m;
        },
        [&](int i, Made& m) {
            const int id = int(s->Integer(order[size_t(i)], QStringLiteral("ContributorID")));
            const QString path = dir.filePath(names.value(id) + QStringLiteral(".pdf"));
            QString error = std::exchange(m.error, {});
            // A rename puts the whole file in the place of any older one at once.
            if (error.isEmpty() && std::rename(QFile::encodeName(m.temp).constData(), QFile::encodeName(path).constData()) != 0) {
                error = QString::fromLocal8Bit(std::strerror(errno));
                QFile::remove(m.temp);
            }
            m.temp.clear();
            if (error.isEmpty()) {
                result.files << path;
                ++result.written;
            } else {
                // One file the disk refuses does not stop everybody else's.
                result.failed << QDir::toNativeSeparators(path) + QStringLiteral(": ") + error;
                result.error = result.failed.join(QStringLiteral("\r\n"));
            }
            if (ok && !ok(i + 1, total) && i + 1 < total) {
                result.cancelled = true;
                return false;
            }
            return true;
        },
        // Files made ahead of a cancel are not the reader's.
        [](Made& m) {
            if (!m.temp.isEmpty())
                QFile::remove(m.temp);
        });
    return result;
}

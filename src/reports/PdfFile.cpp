#include "PdfFile.h"

#include "OrderedRun.h"

#include "ReportDocument.h"

#include <QCryptographicHash>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QMutex>
#include <QRawFont>
#include <QSaveFile>
#include <QTextLayout>
#include <QtEndian>
#include <hb-subset.h>
#include <hb.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

namespace {

// ---------------------------------------------------------------- numbers

// Appends v with at most `decimals` decimals and no trailing zeros.
void Num(QByteArray& out, double v, int decimals = 2)
{
    char buf[48];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    char* end = r.ptr;
    if (decimals > 0) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    if (end - buf == 2 && buf[0] == '-' && buf[1] == '0')
        out.append('0');
    else
        out.append(buf, end - buf);
}

void Int(QByteArray& out, qint64 v)
{
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr - buf);
}

void Hex4(QByteArray& out, quint32 v)
{
    static const char digits[] = "0123456789ABCDEF";
    const char s[4] = {digits[(v >> 12) & 15], digits[(v >> 8) & 15], digits[(v >> 4) & 15], digits[v & 15]};
    out.append(s, 4);
}

// Each thread keeps its compressors: setting one up costs as much as
// compressing a page.
class Deflater {
public:
    ~Deflater()
    {
        for (auto& [level, stream] : m_streams)
            deflateEnd(&stream);
    }
    QByteArray Pack(const QByteArray& data, int level)
    {
        auto found = m_streams.find(level);
        if (found == m_streams.end()) {
            found = m_streams.emplace(level, z_stream{}).first;
            if (deflateInit(&found->second, level) != Z_OK) {
                m_streams.erase(found);
                return {};
            }
        } else if (deflateReset(&found->second) != Z_OK) {
            return {};
        }
        z_stream& z = found->second;
        QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
        z.avail_in = uInt(data.size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        if (deflate(&z, Z_FINISH) != Z_STREAM_END)
            return {};
        out.resize(qsizetype(z.total_out));
        return out;
    }

private:
    std::map<int, z_stream> m_streams;
};

QByteArray Deflate(const QByteArray& data, int level)
{
    thread_local Deflater deflater;
    return deflater.Pack(data, level);
}

// ------------------------------------------------------------------ fonts

// A font file as Qt found it, kept once for the whole program: its tables
// made into a font file again for the subsetter, and the metrics the PDF
// describes it with.
struct Face {
    int id = 0;
    QByteArray psName;
    bool cff = false;
    hb_face_t* hb = nullptr;
    int unitsPerEm = 1000;
    int ascent = 800, descent = -200, bbox[4] = {0, -200, 1000, 800};
    std::vector<quint16> advances; // design units, by glyph
    std::vector<quint32> common;   // glyphs of the letters every report uses

    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face() { hb_face_destroy(hb); }

    double Width1000(quint32 glyph) const
    {
        if (advances.empty())
            return 0;
        // In tenths, so that a line's glyphs need few adjustments.
        const quint16 a = glyph < advances.size() ? advances[glyph] : advances.back();
        return std::round(a * 10000.0 / unitsPerEm) / 10;
    }
};

quint16 U16(const QByteArray& t, int at)
{
    return at + 2 <= t.size() ? qFromBigEndian<quint16>(t.constData() + at) : 0;
}
qint16 S16(const QByteArray& t, int at)
{
    return qint16(U16(t, at));
}

// The font file rebuilt from its tables: the subsetter reads a whole file.
QByteArray Sfnt(const QRawFont& raw, bool* cff)
{
    static const char* const tags[] = {"CFF ", "OS/2", "cmap", "cvt ", "fpgm", "gasp", "glyf", "head",
                                       "hhea", "hmtx", "loca", "maxp", "name", "post", "prep"};
    std::vector<std::pair<QByteArray, QByteArray>> tables;
    for (const char* tag : tags) {
        QByteArray data = raw.fontTable(tag);
        if (!data.isEmpty())
            tables.emplace_back(QByteArray(tag), std::move(data));
    }
    *cff = std::any_of(tables.begin(), tables.end(), [](const auto& t) { return t.first == "CFF "; });
    const quint16 n = quint16(tables.size());
    quint16 power = 1, log2 = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log2;
    }
    QByteArray out;
    auto u16 = [&](quint16 v) { out.append(char(v >> 8)).append(char(v & 0xff)); };
    auto u32 = [&](quint32 v) { u16(quint16(v >> 16)), u16(quint16(v & 0xffff)); };
    u32(*cff ? 0x4F54544F : 0x00010000);
    u16(n);
    u16(quint16(power * 16));
    u16(log2);
    u16(quint16(n * 16 - power * 16));
    quint32 offset = 12 + 16 * n;
    for (const auto& [tag, data] : tables) {
        quint32 sum = 0;
        for (int i = 0; i < data.size(); i += 4) {
            quint32 word = 0;
            for (int k = 0; k < 4; ++k)
                word = (word << 8) | (i + k < data.size() ? quint8(data[i + k]) : 0);
            sum += word;
        }
        out.append(tag);
        u32(sum);
        u32(offset);
        u32(quint32(data.size()));
        offset += (quint32(data.size()) + 3) & ~3u;
    }
    for (const auto& t : tables) {
        out.append(t.second);
        out.append(QByteArray((4 - t.second.size() % 4) % 4, '\0'));
    }
    return out;
}

class Faces {
public:
    static Faces& Shared()
    {
        static Faces faces;
        return faces;
    }

    const Face* Of(const QRawFont& raw)
    {
        const QString key = raw.familyName() + QLatin1Char('\n') + raw.styleName() + QLatin1Char('\n')
            + QString::number(raw.weight()) + QLatin1Char('\n') + QString::number(int(raw.style()));
        std::lock_guard lock(m_mutex);
        auto found = m_byKey.find(key);
        if (found != m_byKey.end())
            return found->second.get();
        auto face = std::make_unique<Face>();
        face->id = int(m_byKey.size());
        QByteArray name = (raw.familyName() + QLatin1Char('-') + raw.styleName()).toLatin1();
        name.replace(' ', "");
        face->psName = name.isEmpty() ? QByteArray("Font") : name;
        const QByteArray sfnt = Sfnt(raw, &face->cff);
        hb_blob_t* blob = hb_blob_create_or_fail(sfnt.constData(), unsigned(sfnt.size()), HB_MEMORY_MODE_DUPLICATE, nullptr, nullptr);
        face->hb = blob ? hb_face_create(blob, 0) : hb_face_get_empty();
        hb_blob_destroy(blob);
        const QByteArray head = raw.fontTable("head"), hhea = raw.fontTable("hhea"), hmtx = raw.fontTable("hmtx");
        if (U16(head, 18) > 0)
            face->unitsPerEm = U16(head, 18);
        const double em = 1000.0 / face->unitsPerEm;
        for (int i = 0; i < 4; ++i)
            face->bbox[i] = int(std::lround(S16(head, 36 + 2 * i) * em));
        face->ascent = int(std::lround(S16(hhea, 4) * em));
        face->descent = int(std::lround(S16(hhea, 6) * em));
        const int metrics = U16(hhea, 34);
        for (int g = 0; g < metrics && 4 * g + 2 <= hmtx.size(); ++g)
            face->advances.push_back(U16(hmtx, 4 * g));
        QString letters;
        for (char16_t c = 0x20; c < 0x7f; ++c)
            letters += QChar(c);
        for (char16_t c = 0xa0; c <= 0xff; ++c)
            letters += QChar(c);
        for (quint32 g : raw.glyphIndexesForString(letters))
            if (g)
                face->common.push_back(g);
        return m_byKey.emplace(key, std::move(face)).first->second.get();
    }

    // The font program for these glyphs, compressed, and its length before;
    // kept for the next file that needs the same ones.
    struct Program {
        QByteArray packed;
        qsizetype length = 0;
    };
    Program Subset(const Face& face, const std::vector<quint32>& glyphs)
    {
        QByteArray key = QByteArray::number(face.id) + ':';
        for (quint32 g : glyphs)
            key += QByteArray::number(g) + ',';
        {
            std::lock_guard lock(m_mutex);
            auto found = m_subsets.find(key);
            if (found != m_subsets.end())
                return found->second;
        }
        QByteArray bytes;
        if (hb_subset_input_t* input = hb_subset_input_create_or_fail()) {
            hb_set_t* set = hb_subset_input_glyph_set(input);
            hb_set_add(set, 0);
            for (quint32 g : glyphs)
                hb_set_add(set, g);
            hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
            // A font inside a PDF file is found by its dictionary, not its
            // names: the glyph names alone would be most of the bytes.
            hb_set_t* drop = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
            hb_set_add(drop, HB_TAG('p', 'o', 's', 't'));
            hb_set_add(drop, HB_TAG('n', 'a', 'm', 'e'));
            if (hb_face_t* subset = hb_subset_or_fail(face.hb, input)) {
                hb_blob_t* blob = hb_face_reference_blob(subset);
                unsigned length = 0;
                const char* data = hb_blob_get_data(blob, &length);
                bytes = QByteArray(data, qsizetype(length));
                hb_blob_destroy(blob);
                hb_face_destroy(subset);
            }
            hb_subset_input_destroy(input);
        }
        const Program program{Deflate(bytes, 6), bytes.size()};
        std::lock_guard lock(m_mutex);
        if (m_subsets.size() > 64)
            m_subsets.clear();
        m_subsets.emplace(key, program);
        return program;
    }

    void Forget()
    {
        std::lock_guard lock(m_mutex);
        m_subsets.clear();
    }

private:
    std::mutex m_mutex;
    std::map<QString, std::unique_ptr<Face>> m_byKey;
    std::map<QByteArray, Program> m_subsets;
};

// ---------------------------------------------------------------- shaping

// One font's glyphs of a line, the text each stands for, and the operators
// that show them from the text's top-left corner (baseline).
struct GlyphRun {
    const Face* face = nullptr;
    double size = 0; // font size in units
    std::vector<quint32> glyphs;
    std::vector<QString> texts;
    double lineAdvance = 0; // of the line the run is on, for aligning it
    // The run's show operators, made once however often it is written: each
    // placed where its first glyph stands, then its glyphs with what their
    // widths leave to adjust.
    struct Show {
        QPointF at;
        QByteArray ops;
    };
    std::vector<Show> shows;
};

// A text's lines laid out from the top-left corner; where they go in a
// rectangle (aligned right, centred, at the bottom) is worked out as they
// are written, so that an amount shaped once serves every column it is in.
struct Shaped {
    std::vector<GlyphRun> runs;
    double height = 0;
    QPointF Offset(const GlyphRun& run, const QSizeF& box, int flags) const
    {
        const double advance = run.lineAdvance;
        double x = 0, y = 0;
        if (flags & Qt::AlignRight)
            x = box.width() - advance;
        else if (flags & Qt::AlignHCenter)
            x = (box.width() - advance) / 2;
        if (flags & Qt::AlignBottom)
            y = box.height() - height;
        else if (flags & Qt::AlignVCenter)
            y = -std::round(-(box.height() - height) / 2);
        return {x, y};
    }
};

// A ligature the font has a character for ("ff" drawn as U+FB00) reads
// back as that character, as readers expect of a ligature glyph.
QString Ligature(const QRawFont& raw, quint32 glyph, const QString& letters)
{
    for (char16_t c = 0xFB00; c <= 0xFB06; ++c) {
        const QString lig(QChar{c});
        if (lig.normalized(QString::NormalizationForm_KC) == letters && raw.glyphIndexesForString(lig).value(0) == glyph)
            return lig;
    }
    return letters;
}

// Which characters each glyph of a run stands for: a glyph that is the
// font's own for the next character takes that character; any other (a
// ligature) takes the characters up to the one the next glyph is for.
void Map_Texts(GlyphRun& run, const QRawFont& raw, const QString& text, int& at)
{
    const int n = int(run.glyphs.size());
    run.texts.resize(size_t(n));
    auto charLength = [&](int i) { return i + 1 < text.size() && text[i].isHighSurrogate() ? 2 : 1; };
    auto nominal = [&](int i) {
        const QList<quint32> g = raw.glyphIndexesForString(text.mid(i, charLength(i)));
        return g.isEmpty() ? 0u : g.first();
    };
    for (int k = 0; k < n && at < text.size(); ++k) {
        if (run.glyphs[size_t(k)] == nominal(at) || k + 1 == n) {
            const int len = k + 1 == n && run.glyphs[size_t(k)] != nominal(at) ? int(text.size()) - at : charLength(at);
            run.texts[size_t(k)] = text.mid(at, len);
            at += len;
            continue;
        }
        int end = at + charLength(at);
        while (end < text.size() && nominal(end) != run.glyphs[size_t(k + 1)])
            end += charLength(end);
        run.texts[size_t(k)] = Ligature(raw, run.glyphs[size_t(k)], text.mid(at, end - at));
        at = end;
    }
}

// One show operator per line: the glyph widths of the font give most of the
// spacing, small adjustments the rest.
void Make_Shows(GlyphRun& run, const QList<QPointF>& positions)
{
    size_t i = 0;
    while (i < run.glyphs.size()) {
        const QPointF start = positions[qsizetype(i)];
        QByteArray c("[<");
        double pen = start.x();
        size_t k = i;
        for (; k < run.glyphs.size(); ++k) {
            if (k > i) {
                const QPointF at = positions[qsizetype(k)];
                if (std::abs(at.y() - start.y()) > 0.01)
                    break;
                // Half a thousandth of the font's size is a hundredth of a
                // point at most: far below what any reader shows.
                const double gap = (at.x() - pen) * 1000.0 / run.size;
                if (std::abs(gap) >= 0.5) {
                    char buf[32];
                    auto r = std::to_chars(buf, buf + sizeof buf, -gap, std::chars_format::fixed, 1);
                    c.append('>').append(buf, r.ptr - buf).append('<');
                    pen += std::round(gap * 10) / 10 * run.size / 1000.0;
                }
            }
            Hex4(c, run.glyphs[k]);
            pen += run.face->Width1000(run.glyphs[k]) * run.size / 1000.0;
        }
        c.append(">] TJ\n");
        run.shows.push_back({start, std::move(c)});
        i = k;
    }
}

// The text laid out as the painter lays out a text drawn into a rectangle
// with these flags, on a page of the report's resolution.
Shaped Shape(const QFont& font, const QString& source, double width, int flags)
{
    Shaped shaped;
    QString text = source;
    for (QChar& c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
        else if (c == QLatin1Char('\n'))
            c = QChar::LineSeparator;
    }
    if (text.isEmpty())
        return shaped;
    const bool wrap = flags & (Qt::TextWordWrap | Qt::TextWrapAnywhere);
    const QPaintDevice* device = ReportDocument::MeasureDevice();
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment((flags & Qt::AlignJustify) ? Qt::AlignJustify : Qt::AlignLeft);
    if (flags & Qt::TextWrapAnywhere)
        option.setWrapMode(QTextOption::WrapAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const double leading = QFontMetricsF(font, device).leading();
    const double lineWidth = wrap ? std::max(0.0, width) : double(0x01000000);
    double height = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        height += leading;
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    shaped.height = height;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const QString lineText = text.mid(line.textStart(), line.textLength());
        int at = 0;
        for (const QGlyphRun& g : line.glyphRuns()) {
            const QRawFont raw = g.rawFont();
            GlyphRun run;
            run.face = Faces::Shared().Of(raw);
            run.size = raw.pixelSize();
            const QList<quint32> glyphs = g.glyphIndexes();
            const QList<QPointF> positions = g.positions();
            run.glyphs.assign(glyphs.begin(), glyphs.end());
            run.lineAdvance = line.horizontalAdvance();
            Map_Texts(run, raw, lineText, at);
            Make_Shows(run, positions);
            shaped.runs.push_back(std::move(run));
        }
    }
    return shaped;
}

// Each distinct text is shaped once per thread; a run of many files keeps
// the dates, amounts and headings they share.
struct ShapeKey {
    QString family;
    double size;
    bool bold, italic;
    QString text;
    double width; // where it wraps; 0 when it does not
    int flags;    // those that shape: wrapping, justifying
    bool operator==(const ShapeKey& o) const
    {
        return size == o.size && bold == o.bold && italic == o.italic && width == o.width && flags == o.flags
            && family == o.family && text == o.text;
    }
};
size_t qHash(const ShapeKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.family, k.size, k.bold, k.italic, k.text, k.width, k.flags);
}

// Two generations: when the young one is full the old one goes, so that the
// dates, amounts and headings in use stay while the names and addresses of
// statements written long ago leave; a whole church's run then keeps a few
// megabytes of shapes, not a shape of every text it ever wrote.
struct ShapeCache {
    static constexpr qsizetype kGeneration = 4096;
    QHash<ShapeKey, Shaped> young, old;
    std::map<std::tuple<QString, double, bool, bool>, QFont> fonts;

    const Shaped& Keep(const ShapeKey& key, Shaped shaped)
    {
        if (young.size() >= kGeneration) {
            old = std::move(young);
            young = {};
        }
        return *young.emplace(key, std::move(shaped));
    }
};
thread_local ShapeCache t_cache;

// The reference holds until the next call on the same thread.
const Shaped& Shaped_Text(const ReportFont& style, double scale, const PageItem& it)
{
    const double size = style.pointSize * scale;
    const int shaping = it.flags & (Qt::TextWordWrap | Qt::TextWrapAnywhere | Qt::AlignJustify);
    const double width = (shaping & (Qt::TextWordWrap | Qt::TextWrapAnywhere)) ? it.rect.normalized().width() : 0;
    ShapeKey key{style.family, size, style.bold, style.italic, it.text, width, shaping};
    auto found = t_cache.young.constFind(key);
    if (found != t_cache.young.constEnd())
        return *found;
    auto aged = t_cache.old.find(key);
    if (aged != t_cache.old.end()) {
        Shaped shaped = std::move(*aged);
        t_cache.old.erase(aged);
        return t_cache.Keep(key, std::move(shaped));
    }
    auto font = t_cache.fonts.find({style.family, size, style.bold, style.italic});
    if (font == t_cache.fonts.end())
        font = t_cache.fonts.emplace(std::make_tuple(style.family, size, style.bold, style.italic), ReportDocument::MeasureFont(style, scale)).first;
    return t_cache.Keep(key, Shape(font->second, it.text, width, shaping));
}

// -------------------------------------------------------------- the file

// Compresses page streams on a thread of its own while the next page is
// being made.
class Compressor {
public:
    Compressor() : m_thread([this] { Loop(); }) {}
    ~Compressor()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void Put(QByteArray page)
    {
        std::lock_guard lock(m_mutex);
        m_in.push_back(std::move(page));
        m_wake.notify_all();
    }
    QByteArray Take()
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return !m_out.empty(); });
        QByteArray page = std::move(m_out.front());
        m_out.pop_front();
        return page;
    }

private:
    void Loop()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return m_done || !m_in.empty(); });
            if (m_in.empty())
                return;
            QByteArray page = std::move(m_in.front());
            m_in.pop_front();
            lock.unlock();
            QByteArray packed = Deflate(page, 1);
            lock.lock();
            m_out.push_back(std::move(packed));
            m_ready.notify_all();
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_wake, m_ready;
    std::deque<QByteArray> m_in, m_out;
    bool m_done = false;
    std::thread m_thread;
};

// Whether a second thread is worth its start: a file of a page or two is
// done before the thread would be.
constexpr int kPagesForCompressor = 8;

struct UsedFont {
    int resource = 0; // /F<resource>
    int object = 0;   // its Type0 dictionary
    std::map<quint32, QString> glyphs;
};

class Writer {
public:
    Writer(QIODevice& file) : m_file(file) {}

    int NewObject()
    {
        m_offsets.push_back(-1);
        return int(m_offsets.size());
    }
    void Begin(int object)
    {
        m_offsets[size_t(object - 1)] = m_written + m_buffer.size();
        Int(m_buffer, object);
        m_buffer.append(" 0 obj\n");
    }
    void End()
    {
        m_buffer.append("\nendobj\n");
        if (m_buffer.size() > (1 << 18))
            Flush();
    }
    void Object(int object, const QByteArray& body)
    {
        Begin(object);
        m_buffer.append(body);
        End();
    }
    void Stream(int object, const QByteArray& data, const QByteArray& extra = {})
    {
        Begin(object);
        m_buffer.append("<</Length ");
        Int(m_buffer, data.size());
        m_buffer.append(" /Filter /FlateDecode").append(extra).append(">>\nstream\n");
        m_buffer.append(data);
        m_buffer.append("\nendstream");
        End();
    }
    QByteArray& Raw() { return m_buffer; }
    bool Flush()
    {
        if (!m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size())
            m_failed = true;
        m_written += m_buffer.size();
        m_buffer.clear();
        return !m_failed;
    }
    bool Failed() const { return m_failed; }
    qint64 Offset() const { return m_written + m_buffer.size(); }
    const std::vector<qint64>& Offsets() const { return m_offsets; }

private:
    QIODevice& m_file;
    QByteArray m_buffer;
    qint64 m_written = 0;
    std::vector<qint64> m_offsets;
    bool m_failed = false;
};

QByteArray Text_String(const QString& s)
{
    QByteArray out("<FEFF");
    for (QChar c : s)
        Hex4(out, c.unicode());
    return out + '>';
}

QByteArray MediaBox(const QSizeF& size)
{
    const QSizeF points = size * (72.0 / ReportUnits::PerInch);
    QByteArray box("/MediaBox [0 0 ");
    Num(box, points.width(), 3);
    box.append(' ');
    Num(box, points.height(), 3);
    box.append(']');
    return box;
}

// The glyphs some pages show and the text each stands for. A glyph is
// looked up in the map once per batch of pages: after that its bit says it
// is noted, which a line's every letter tests.
struct FaceUse {
    std::map<quint32, QString> glyphs;
    std::vector<quint64> noted;
};
using GlyphUse = std::map<const Face*, FaceUse>;

void Point(QByteArray& c, const QPointF& p)
{
    Num(c, p.x());
    c.append(' ');
    Num(c, p.y());
}

// A run placed at origin, noting the glyphs it shows.
void Text(QByteArray& c, const GlyphRun& run, const QPointF& origin, GlyphUse& used, std::pair<const Face*, double>& font)
{
    if (run.glyphs.empty())
        return;
    FaceUse& use = used[run.face];
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
        const quint32 g = run.glyphs[i];
        if (g / 64 >= use.noted.size())
            use.noted.resize(g / 64 + 1);
        quint64& word = use.noted[g / 64];
        const quint64 bit = quint64(1) << (g % 64);
        if (word & bit)
            continue;
        QString& text = use.glyphs[g];
        if (text.isEmpty())
            text = run.texts[i];
        if (!text.isEmpty())
            word |= bit;
    }
    // Text state lasts from one text object to the next.
    if (font.first != run.face || font.second != run.size) {
        c.append("/F");
        Int(c, run.face->id);
        c.append(' ');
        Num(c, run.size, 3);
        c.append(" Tf\n");
        font = {run.face, run.size};
    }
    for (const GlyphRun::Show& show : run.shows) {
        c.append("1 0 0 -1 ");
        Point(c, origin + show.at);
        c.append(" Tm ");
        c.append(show.ops);
    }
}

// A page's content stream, noting the glyphs it shows; pure, so that
// pages are made on any thread.
QByteArray Page_Content(const ReportDocument& doc, const ReportPage& page, GlyphUse& used)
{
    QByteArray c;
    c.reserve(8192);
    const double height = doc.pageSize.height();
    c.append("0.06 0 0 -0.06 0 ");
    Num(c, height * 72.0 / ReportUnits::PerInch, 3);
    c.append(" cm\n");
    const QRectF visible(QPointF(0, 0), doc.pageSize);
    QRgb fill = qRgb(0, 0, 0);
    std::pair<const Face*, double> font{nullptr, 0};
    for (const PageItem& it : page.items) {
        const double reach = std::max<double>(it.pen, 1.0);
        if (!visible.intersects(it.rect.normalized().adjusted(-reach, -reach, reach, reach)))
            continue;
        switch (it.kind) {
        case PageItem::Text: {
            const Shaped& s = Shaped_Text(doc.Fonts().at(it.font), it.scale, it);
            if (s.runs.empty())
                break;
            if (fill != qRgb(0, 0, 0)) {
                c.append("0 g\n");
                fill = qRgb(0, 0, 0);
            }
            c.append("BT\n");
            const QRectF box = it.rect.normalized();
            for (const GlyphRun& run : s.runs)
                Text(c, run, box.topLeft() + s.Offset(run, box.size(), it.flags), used, font);
            c.append("ET\n");
            break;
        }
        case PageItem::Line:
            Num(c, it.pen);
            c.append(" w 0 J ");
            Point(c, it.rect.topLeft());
            c.append(" m ");
            Point(c, it.rect.bottomRight());
            c.append(" l S\n");
            break;
        case PageItem::Box: {
            const bool filled = it.fill.isValid() && it.fill.alpha() > 0;
            if (!filled && it.pen <= 0)
                break;
            if (filled && it.fill.rgb() != fill) {
                fill = it.fill.rgb();
                Num(c, qRed(fill) / 255.0, 3);
                c.append(' ');
                Num(c, qGreen(fill) / 255.0, 3);
                c.append(' ');
                Num(c, qBlue(fill) / 255.0, 3);
                c.append(" rg\n");
            }
            if (it.pen > 0) {
                Num(c, it.pen);
                c.append(" w 2 J 2 j ");
            }
            const QRectF r = it.rect;
            Point(c, r.topLeft());
            c.append(' ');
            Num(c, r.width());
            c.append(' ');
            Num(c, r.height());
            c.append(filled && it.pen > 0 ? " re B\n" : filled ? " re f\n" : " re S\n");
            break;
        }
        }
    }
    return c;
}

class PageMaker {
public:
    explicit PageMaker(Writer& w) : m_w(w) {}

    UsedFont& Font(const Face* face)
    {
        auto found = m_fonts.find(face);
        if (found != m_fonts.end())
            return found->second;
        UsedFont& f = m_fonts[face];
        // Named by the face, so that pages made on other threads name it alike.
        f.resource = face->id;
        f.object = m_w.NewObject();
        return f;
    }

    QByteArray Content(const ReportDocument& doc, const ReportPage& page)
    {
        GlyphUse used;
        QByteArray c = Page_Content(doc, page, used);
        Note(used);
        return c;
    }

    // The glyphs pages made elsewhere show, for the fonts' subsets and maps.
    void Note(const GlyphUse& used)
    {
        for (const auto& [face, use] : used) {
            UsedFont& font = Font(face);
            for (const auto& [glyph, text] : use.glyphs) {
                QString& have = font.glyphs[glyph];
                if (have.isEmpty())
                    have = text;
            }
        }
    }


    const std::map<const Face*, UsedFont>& Fonts() const { return m_fonts; }

private:
    Writer& m_w;
    std::map<const Face*, UsedFont> m_fonts;
};

QByteArray Subset_Tag(const QByteArray& font, const std::vector<quint32>& glyphs)
{
    QCryptographicHash h(QCryptographicHash::Md5);
    h.addData(font);
    h.addData(QByteArrayView(reinterpret_cast<const char*>(glyphs.data()), qsizetype(glyphs.size() * sizeof(quint32))));
    const QByteArray d = h.result();
    QByteArray tag(6, 'A');
    for (int i = 0; i < 6; ++i)
        tag[i] = char('A' + quint8(d[i]) % 26);
    return tag;
}

void Write_Font(Writer& w, const Face& face, const UsedFont& used)
{
    // The letters every report uses go into every subset, so that a run of
    // small files mostly asks for a subset made already.
    std::set<quint32> all(face.common.begin(), face.common.end());
    for (const auto& g : used.glyphs)
        all.insert(g.first);
    const std::vector<quint32> glyphs(all.begin(), all.end());
    const Faces::Program program = Faces::Shared().Subset(face, glyphs);
    const QByteArray name = Subset_Tag(face.psName, glyphs) + '+' + face.psName;
    const int cid = w.NewObject(), descriptor = w.NewObject(), file = w.NewObject(), toUnicode = w.NewObject();

    QByteArray b("<</Type /Font /Subtype /Type0 /BaseFont /");
    b.append(name).append(" /Encoding /Identity-H /DescendantFonts [");
    Int(b, cid);
    b.append(" 0 R] /ToUnicode ");
    Int(b, toUnicode);
    b.append(" 0 R>>");
    w.Object(used.object, b);

    b = "<</Type /Font /Subtype /";
    b.append(face.cff ? "CIDFontType0" : "CIDFontType2").append(" /BaseFont /").append(name);
    b.append(" /CIDSystemInfo <</Registry (Adobe) /Ordering (Identity) /Supplement 0>> /FontDescriptor ");
    Int(b, descriptor);
    b.append(" 0 R /DW 1000 /W [");
    quint32 previous = 0;
    bool open = false;
    for (const auto& g : used.glyphs) {
        if (!open || g.first != previous + 1) {
            if (open)
                b.append("] ");
            Int(b, g.first);
            b.append(" [");
            open = true;
        } else {
            b.append(' ');
        }
        Num(b, face.Width1000(g.first));
        previous = g.first;
    }
    if (open)
        b.append(']');
    b.append("]");
    if (!face.cff)
        b.append(" /CIDToGIDMap /Identity");
    b.append(">>");
    w.Object(cid, b);

    b = "<</Type /FontDescriptor /FontName /";
    b.append(name).append(" /Flags 4 /FontBBox [");
    for (int i = 0; i < 4; ++i) {
        Int(b, face.bbox[i]);
        b.append(i < 3 ? " " : "");
    }
    b.append("] /ItalicAngle 0 /Ascent ");
    Int(b, face.ascent);
    b.append(" /Descent ");
    Int(b, face.descent);
    b.append(" /CapHeight ");
    Int(b, face.ascent);
    b.append(" /StemV 80 /");
    b.append(face.cff ? "FontFile3 " : "FontFile2 ");
    Int(b, file);
    b.append(" 0 R>>");
    w.Object(descriptor, b);

    w.Stream(file, program.packed, face.cff ? QByteArray(" /Subtype /OpenType") : QByteArray(" /Length1 ") + QByteArray::number(program.length));

    QByteArray cmap("/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                    "/CIDSystemInfo <</Registry (Adobe) /Ordering (UCS) /Supplement 0>> def\n"
                    "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                    "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n");
    std::vector<std::pair<quint32, QString>> mapped;
    for (const auto& g : used.glyphs)
        if (!g.second.isEmpty())
            mapped.push_back(g);
    for (size_t i = 0; i < mapped.size(); i += 100) {
        const size_t n = std::min<size_t>(100, mapped.size() - i);
        Int(cmap, qint64(n));
        cmap.append(" beginbfchar\n");
        for (size_t k = i; k < i + n; ++k) {
            cmap.append('<');
            Hex4(cmap, mapped[k].first);
            cmap.append("> <");
            for (QChar ch : mapped[k].second)
                Hex4(cmap, ch.unicode());
            cmap.append(">\n");
        }
        cmap.append("endbfchar\n");
    }
    cmap.append("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n");
    w.Stream(toUnicode, Deflate(cmap, 6));
}

} // namespace

namespace PdfFile {

bool Write(const ReportDocument& doc, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !Write(doc, file, error)) {
        if (error && file.error() != QFileDevice::NoError)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

struct Stream::Private {
    explicit Private(QIODevice& out) : file(out), w(out), maker(w) {}
    QIODevice& file;
    Writer w;
    PageMaker maker;
    QString title;
    int catalog = 0, pages = 0, info = 0, resources = 0;
    std::vector<int> kids;
    std::unique_ptr<Compressor> compressor;
    std::deque<QByteArray> boxes; // media boxes of the pages being compressed
    QSizeF lastSize{ReportUnits::Inches(8.5), ReportUnits::Inches(11)};

    void Write_Page(const QByteArray& box, const QByteArray& packed)
    {
        const int page = w.NewObject(), content = w.NewObject();
        kids.push_back(page);
        QByteArray b("<</Type /Page /Parent 2 0 R ");
        b.append(box).append(" /Resources 4 0 R /Contents ");
        Int(b, content);
        b.append(" 0 R>>");
        w.Object(page, b);
        w.Stream(content, packed);
    }
    void Take()
    {
        Write_Page(boxes.front(), compressor->Take());
        boxes.pop_front();
    }
};

Stream::Stream(QIODevice& out, const QString& title, bool manyPages) : d(std::make_unique<Private>(out))
{
    d->title = title;
    d->catalog = d->w.NewObject();
    d->pages = d->w.NewObject();
    d->info = d->w.NewObject();
    d->resources = d->w.NewObject();
    d->w.Raw().append("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    // The next page is made while the one before is compressed; a file of
    // a page or two is done before a thread would have started.
    if (manyPages)
        d->compressor = std::make_unique<Compressor>();
}

Stream::~Stream()
{
    if (d->compressor)
        while (!d->boxes.empty())
            d->Take();
}

bool Stream::Add(const ReportDocument& doc)
{
    const QByteArray box = MediaBox(doc.pageSize);
    d->lastSize = doc.pageSize;
    for (const ReportPage& page : doc.pages) {
        if (d->w.Failed())
            return false;
        if (!d->compressor) {
            d->Write_Page(box, Deflate(d->maker.Content(doc, page), 1));
            continue;
        }
        d->compressor->Put(d->maker.Content(doc, page));
        d->boxes.push_back(box);
        // A few pages ahead at most, so memory stays that of a few pages.
        if (d->boxes.size() > 2)
            d->Take();
    }
    return !d->w.Failed();
}

struct Pages::Data {
    std::vector<std::pair<QByteArray, QByteArray>> pages; // media box, packed content
    GlyphUse used;
    QSizeF size;
};

Pages::Pages() = default;
Pages::~Pages() = default;
Pages::Pages(Pages&&) noexcept = default;
Pages& Pages::operator=(Pages&&) noexcept = default;

int Pages::Count() const
{
    return d ? int(d->pages.size()) : 0;
}

Pages Make_Pages(const ReportDocument& doc, int from, int count)
{
    Pages made;
    made.d = std::make_unique<Pages::Data>();
    made.d->size = doc.pageSize;
    const QByteArray box = MediaBox(doc.pageSize);
    from = std::clamp(from, 0, doc.PageCount());
    const int to = count < 0 ? doc.PageCount() : std::min(doc.PageCount(), from + count);
    made.d->pages.reserve(size_t(to - from));
    for (int p = from; p < to; ++p)
        made.d->pages.emplace_back(box, Deflate(Page_Content(doc, doc.pages[size_t(p)], made.d->used), 1));
    return made;
}

bool Stream::Add(const Pages& made)
{
    if (!made.d)
        return !d->w.Failed();
    // Pages given to the compressor before go first.
    if (d->compressor)
        while (!d->boxes.empty())
            d->Take();
    for (const auto& [box, packed] : made.d->pages) {
        if (d->w.Failed())
            return false;
        d->Write_Page(box, packed);
    }
    d->maker.Note(made.d->used);
    d->lastSize = made.d->size;
    return !d->w.Failed();
}

bool Stream::Finish(QString* error)
{
    auto fail = [&] {
        if (error)
            *error = d->file.errorString();
        return false;
    };
    if (d->compressor)
        while (!d->boxes.empty())
            d->Take();
    if (d->kids.empty())
        d->Write_Page(MediaBox(d->lastSize), Deflate(QByteArray(), 1));
    Writer& w = d->w;
    if (w.Failed())
        return fail();

    QByteArray fonts("<</Font <<");
    for (const auto& [face, used] : d->maker.Fonts()) {
        Write_Font(w, *face, used);
        fonts.append("/F");
        Int(fonts, used.resource);
        fonts.append(' ');
        Int(fonts, used.object);
        fonts.append(" 0 R ");
    }
    fonts.append(">> /ProcSet [/PDF /Text]>>");
    w.Object(d->resources, fonts);

    QByteArray b("<</Type /Pages /Kids [");
    for (int k : d->kids) {
        Int(b, k);
        b.append(" 0 R ");
    }
    b.append("] /Count ");
    Int(b, qint64(d->kids.size()));
    b.append(">>");
    w.Object(d->pages, b);
    w.Object(d->catalog, "<</Type /Catalog /Pages 2 0 R>>");
    w.Object(d->info, "<</Title " + Text_String(d->title) + " /Creator " + Text_String(QStringLiteral("Quorvane")) + " /Producer "
                          + Text_String(QStringLiteral("Quorvane")) + ">>");

    const qint64 xref = w.Offset();
    QByteArray& out = w.Raw();
    out.append("xref\n0 ");
    Int(out, qint64(w.Offsets().size()) + 1);
    out.append("\n0000000000 65535 f \n");
    for (qint64 offset : w.Offsets()) {
        char line[24];
        std::snprintf(line, sizeof line, "%010lld 00000 n \n", static_cast<long long>(offset));
        out.append(line, 20);
    }
    out.append("trailer\n<</Size ");
    Int(out, qint64(w.Offsets().size()) + 1);
    out.append(" /Root 1 0 R /Info 3 0 R>>\nstartxref\n");
    Int(out, xref);
    out.append("\n%%EOF\n");
    if (!w.Flush())
        return fail();
    return true;
}

bool Write(const ReportDocument& doc, QIODevice& file, QString* error)
{
    // A long document has its pages made on every core, some pages at a
    // time, while this thread writes them in order.
    constexpr int kPart = 8;
    const bool parts = doc.PageCount() >= 4 * kPart && QThread::idealThreadCount() > 1;
    Stream stream(file, doc.title, !parts && doc.PageCount() >= kPagesForCompressor);
    bool written = true;
    if (parts)
        Ordered_Run<Pages>(
            (doc.PageCount() + kPart - 1) / kPart, [&](int part, int) { return Make_Pages(doc, part * kPart, kPart); },
            [&](int, Pages& made) { return written = stream.Add(made); }, [](Pages&) {});
    else
        written = stream.Add(doc);
    if (!written) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return stream.Finish(error);
}

void Forget_Caches()
{
    t_cache.young.clear();
    t_cache.old.clear();
    t_cache.fonts.clear();
    Faces::Shared().Forget();
}

} // namespace PdfFile

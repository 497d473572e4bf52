#include "LegacyImport.h"

#include "core/Connection.h"
#include "core/DbError.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "CountTables.h"
#include "core/modDBConnection.h"
#include "core/Helpers.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

// glib first: the reader's header leans on it.
#include <glib.h>
#include <mdbtools.h>
#include <sqlite3.h>

using modGlobal::TableIndex;

namespace LegacyImport {

namespace {

// The low bits of a row's slot on a data page hold its offset, the high
// bits the deleted and lookup flags.
constexpr int kRowOffsetMask = 0x1fff;
constexpr qint64 kProgressEvery = 1000;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

enum class Kind { Integer, Double, Bool, Date, Text };

Kind KindOf(const QString& typeName)
{
    using namespace modDBConnection;
    if (typeName == TypeBoolean())
        return Kind::Bool;
    if (typeName == TypeDouble())
        return Kind::Double;
    if (typeName == TypeDate())
        return Kind::Date;
    if (typeName.startsWith(QLatin1String("TEXT")))
        return Kind::Text;
    return Kind::Integer;
}

bool IsWholeNumberType(int t)
{
    return t == MDB_BYTE || t == MDB_INT || t == MDB_LONGINT;
}

bool IsNumberType(int t)
{
    return IsWholeNumberType(t) || t == MDB_MONEY || t == MDB_FLOAT || t == MDB_DOUBLE || t == MDB_NUMERIC;
}

// Which kinds of old column can fill which new one.
bool Readable(int sourceType, Kind kind)
{
    switch (kind) {
    case Kind::Integer:
    case Kind::Double:
        return IsNumberType(sourceType);
    case Kind::Bool:
        return sourceType == MDB_BOOL || IsWholeNumberType(sourceType);
    case Kind::Date:
        return sourceType == MDB_DATETIME;
    case Kind::Text:
        return sourceType == MDB_TEXT || sourceType == MDB_MEMO;
    }
    return false;
}

int FixedSize(int sourceType)
{
    switch (sourceType) {
    case MDB_BYTE: return 1;
    case MDB_INT: return 2;
    case MDB_LONGINT:
    case MDB_FLOAT: return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME: return 8;
    default: return 0;
    }
}

// The old file's dates count days from 30 December 1899; the fraction is
// the time of day, which the books never used.
QDate JetDate(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return QDate();
    return QDate(1899, 12, 30).addDays(qint64(std::trunc(value)));
}

struct MdbCloser {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableCloser {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableCloser>;

// One INSERT prepared once and run for every row.
class Insert {
public:
    Insert(Connection& db, const QString& sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db.Handle(), utf8.constData(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(db.Handle())), sql);
        m_db = db.Handle();
    }
    ~Insert() { sqlite3_finalize(m_stmt); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    void Null(int i) { sqlite3_bind_null(m_stmt, i + 1); }
    void Int(int i, qint64 v) { sqlite3_bind_int64(m_stmt, i + 1, v); }
    void Double(int i, double v) { sqlite3_bind_double(m_stmt, i + 1, v); }
    void Text(int i, const QByteArray& utf8) { sqlite3_bind_text(m_stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT); }
    // Runs the row; the engine's message when it was refused.
    QString Run()
    {
        const int rc = sqlite3_step(m_stmt);
        const QString error = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        return error;
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

struct TargetColumn {
    QString name;
    Kind kind;
    MdbColumn* source = nullptr; // nullptr: not in the old file, written as Null
};

struct SourceTable {
    TableIndex index;
    QString name;
    TablePtr def;
    std::vector<TargetColumn> columns; // the key column first
};

class Importer {
public:
    Importer(const QString& oldFile, const QString& newFile, const Progress& progress)
        : m_old(oldFile), m_new(newFile), m_progress(progress)
    {
    }

    Result Run();

private:
    [[noreturn]] void Fail(const QString& text) const { throw ImportError(text); }
    QString OldName() const { return Native(m_old); }

    void CheckFiles();
    void OpenOldFile();
    QByteArray Page(quint32 number);
    QString MapDamage(quint32 pointer, const QString& what);
    QString DefinitionDamage(quint32 page);
    [[noreturn]] void Damaged(const QString& table, const QString& what) const;
    void ReadTableDefinitions();
    void CopyRows(Connection& db, SourceTable& table);
    bool ReadValue(const MdbField& f, const TargetColumn& c, Insert& insert, int i, QString* shown, QString* problem);
    void CorrectKeys(Connection& db);
    void Report(bool force);

    QString m_old, m_new;
    Progress m_progress;
    QFile m_file; // the old file, for checking its pages before the reader uses them
    quint32 m_pages = 0;
    MdbPtr m_mdb;
    std::vector<SourceTable> m_tables;
    Result m_result;
    qint64 m_total = 0, m_done = 0, m_lastReport = -1;
};

void Importer::CheckFiles()
{
    const QFileInfo target(m_new);
    if (target.exists() || target.isSymLink())
        Fail(QStringLiteral("The file %1 already exists. The books are imported into a new file only, so that no "
                            "data file is ever overwritten.")
                 .arg(Native(m_new)));

    QFile old(m_old);
    if (!old.exists())
        Fail(QStringLiteral("The file %1 could not be found.").arg(OldName()));
    if (!old.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("The file %1 could not be read: %2").arg(OldName(), old.errorString()));
    // Page 0 names the engine; byte 0x14 its version (0 is Access 97, with
    // pages of 2 KB; later versions use 4 KB pages).
    const QByteArray head = old.read(0x18);
    const QByteArray signature = head.mid(4, 15);
    if (head.size() < 0x18 || head.at(0) != 0
        || (signature != QByteArrayLiteral("Standard Jet DB") && signature != QByteArrayLiteral("Standard ACE DB")))
        Fail(QStringLiteral("%1 is not a data file of the older program: it is not an Access (Jet) database.")
                 .arg(OldName()));
    const qint64 pageSize = head.at(0x14) == 0 ? 2048 : 4096;
    if (old.size() % pageSize != 0 || old.size() < 2 * pageSize)
        Fail(QStringLiteral("%1 is incomplete: it ends in the middle of a page. It was probably cut short when it was "
                            "copied; please copy it again from the old computer.")
                 .arg(OldName()));
    if (old.size() / pageSize > qint64(0xffffff))
        Fail(QStringLiteral("%1 is larger than any data file of the older program can be.").arg(OldName()));
    m_file.setFileName(m_old);
    if (!m_file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("The file %1 could not be read: %2").arg(OldName(), m_file.errorString()));
    m_pages = quint32(old.size() / pageSize);
}

// The reader trusts the numbers in a table's definition and its usage map:
// a column number beyond the columns, or a page beyond the end of the file,
// sends it reading outside its buffers or over the whole file. Every such
// number is checked here, on the file's own bytes, before the reader uses it.
namespace {
quint32 U8(const QByteArray& b, qint64 at)
{
    return at >= 0 && at < b.size() ? quint8(b.at(at)) : 0;
}
quint32 U16(const QByteArray& b, qint64 at)
{
    return U8(b, at) | U8(b, at + 1) << 8;
}
quint32 U32(const QByteArray& b, qint64 at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}
constexpr quint8 kDataPage = 0x01, kDefinitionPage = 0x02, kUsagePage = 0x05;
} // namespace

QByteArray Importer::Page(quint32 number)
{
    const qint64 size = m_mdb->fmt->pg_size;
    if (number >= m_pages || !m_file.seek(qint64(number) * size))
        return {};
    QByteArray page = m_file.read(size);
    return page.size() == size ? page : QByteArray();
}

void Importer::Damaged(const QString& table, const QString& what) const
{
    Fail(DamagedPrefix() + QStringLiteral("the table %1 in %2 %3. Nothing was imported.").arg(table, OldName(), what));
}

// pointer: the row of a map (low byte) on its page (the other three).
QString Importer::MapDamage(quint32 pointer, const QString& what)
{
    const qint64 size = m_mdb->fmt->pg_size;
    const int rowCount = m_mdb->fmt->row_count_offset;
    const QByteArray page = Page(pointer >> 8);
    if (page.isEmpty())
        return QStringLiteral("has its %1 on page %2, beyond the end of the file").arg(what).arg(pointer >> 8);
    const int row = int(pointer & 0xff);
    const int rows = int(U16(page, rowCount));
    if (U8(page, 0) != kDataPage || row >= rows || rowCount + 2 + 2 * rows > size)
        return QStringLiteral("has lost its %1").arg(what);
    const qint64 start = U16(page, rowCount + 2 + 2 * row) & kRowOffsetMask;
    const qint64 end = row == 0 ? size : U16(page, rowCount + 2 + 2 * (row - 1)) & kRowOffsetMask;
    if (start < rowCount + 2 + 2 * rows || end > size || end <= start)
        return QStringLiteral("has a damaged %1").arg(what);
    // The pages a map names must lie in the file: the highest set bit counts.
    auto beyond = [this](const QByteArray& bits, qint64 from, qint64 to, quint64 firstPage) {
        for (qint64 at = to - 1; at >= from; --at)
            if (const quint32 byte = U8(bits, at))
                return firstPage + quint64(at - from) * 8 + quint64(31 - __builtin_clz(byte)) >= m_pages;
        return false;
    };
    const QString outside =
        QStringLiteral("has a %1 that points beyond the end of the file (the file may have been cut short)").arg(what);
    switch (U8(page, start)) {
    case 0: // a bitmap of the pages from a first page on
        if (end - start < 5)
            return QStringLiteral("has a damaged %1").arg(what);
        return beyond(page, start + 5, end, U32(page, start + 1)) ? outside : QString();
    case 1: { // the numbers of bitmap pages, each covering the pages of its place
        const quint64 perPage = quint64(size - 4) * 8;
        for (qint64 i = 0; start + 1 + 4 * i + 4 <= end; ++i) {
            const quint32 mapPage = U32(page, start + 1 + 4 * i);
            if (mapPage == 0)
                continue;
            const QByteArray bits = Page(mapPage);
            if (bits.isEmpty())
                return outside;
            if (U8(bits, 0) != kUsagePage)
                return QStringLiteral("has a damaged %1").arg(what);
            if (beyond(bits, 4, size, quint64(i) * perPage))
                return outside;
        }
        return {};
    }
    default: return QStringLiteral("has a %1 of an unknown kind").arg(what);
    }
}

QString Importer::DefinitionDamage(quint32 number)
{
    const MdbFormatConstants* fmt = m_mdb->fmt;
    const qint64 size = fmt->pg_size;
    const QByteArray page = Page(number);
    if (page.isEmpty())
        return QStringLiteral("has its definition on page %1, beyond the end of the file").arg(number);
    if (U8(page, 0) != kDefinitionPage)
        return QStringLiteral("has lost its definition");
    const quint32 next = U32(page, 4);
    if (next != 0 && next >= m_pages)
        return QStringLiteral("has a definition that goes on beyond the end of the file");
    const quint32 columns = U16(page, fmt->tab_num_cols_offset);
    if (columns == 0 || columns > MDB_MAX_COLS)
        return QStringLiteral("has a definition with %1 columns").arg(columns);
    const quint32 indexes = U32(page, fmt->tab_num_ridxs_offset);
    const qint64 first = fmt->tab_cols_start_offset + qint64(indexes) * fmt->tab_ridx_entry_size;
    // A definition on one page holds all its column entries; one that goes
    // on is checked once the reader has joined its pages (below).
    if (next == 0) {
        if (indexes > quint32(size) || first + qint64(columns) * fmt->tab_col_entry_size > size)
            return QStringLiteral("has a definition whose columns run past its page");
        for (quint32 c = 0; c < columns; ++c) {
            const quint32 n = U16(page, first + qint64(c) * fmt->tab_col_entry_size + fmt->col_num_offset);
            if (n >= columns)
                return QStringLiteral("has a column numbered %1 of %2 columns").arg(n).arg(columns);
        }
    }
    for (const auto& [offset, what] : {std::pair{fmt->tab_usage_map_offset, QStringLiteral("usage map")},
                                       std::pair{fmt->tab_free_map_offset, QStringLiteral("map of free space")}}) {
        const QString damage = MapDamage(U32(page, offset), what);
        if (!damage.isEmpty())
            return damage;
    }
    return {};
}

void Importer::OpenOldFile()
{
    const QByteArray path = QFile::encodeName(m_old);
    m_mdb.reset(mdb_open(path.constData(), MDB_NOFLAGS));
    if (!m_mdb)
        Fail(QStringLiteral("%1 could not be read as an Access (Jet) database. It may be damaged, or written by a "
                            "version of Access that this import does not read.")
                 .arg(OldName()));
    if (!mdb_read_catalog(m_mdb.get(), MDB_TABLE))
        Fail(QStringLiteral("The list of tables in %1 could not be read. The file may be damaged.").arg(OldName()));
}

void Importer::ReadTableDefinitions()
{
    for (TableIndex t : ImportOrder()) {
        const QString name = Schema::TableName(t);
        MdbCatalogEntry* entry = nullptr;
        for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_mdb->catalog, i));
            if (e->object_type == MDB_TABLE && name.compare(QString::fromUtf8(e->object_name), Qt::CaseInsensitive) == 0) {
                entry = e;
                break;
            }
        }
        if (!entry)
            Fail(QStringLiteral("The table %1 is missing from %2, so it is not a data file of the older program.")
                     .arg(name, OldName()));
        const QString damage = DefinitionDamage(quint32(entry->table_pg));
        if (!damage.isEmpty())
            Damaged(name, damage);
        SourceTable table{t, name, TablePtr(mdb_read_table(entry)), {}};
        if (!table.def || !mdb_read_columns(table.def.get()))
            Fail(QStringLiteral("The table %1 in %2 could not be read. The file may be damaged.").arg(name, OldName()));
        // The joined definition, when it spans pages, is checked as read.
        if (table.def->num_cols > MDB_MAX_COLS || table.def->columns->len != table.def->num_cols)
            Damaged(name, QStringLiteral("has a definition with %1 columns").arg(table.def->num_cols));
        for (unsigned i = 0; i < table.def->columns->len; ++i) {
            const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table.def->columns, i));
            if (col->col_num < 0 || unsigned(col->col_num) >= table.def->num_cols)
                Damaged(name, QStringLiteral("has a column numbered %1 of %2 columns").arg(col->col_num).arg(table.def->num_cols));
        }

        const QString key = t == modGlobal::tiKeyGen ? QStringLiteral("TableName") : QStringLiteral("ID");
        table.columns.push_back({key, t == modGlobal::tiKeyGen ? Kind::Text : Kind::Integer});
        for (const Schema::Column& c : Schema::Columns(t))
            table.columns.push_back({c.name, KindOf(c.type)});
        if (t == modGlobal::tiChurch)
            table.columns.push_back({QStringLiteral("AssignEnv"), Kind::Bool});

        GPtrArray* columns = table.def->columns;
        for (TargetColumn& c : table.columns) {
            for (unsigned i = 0; i < columns->len; ++i) {
                auto* col = static_cast<MdbColumn*>(g_ptr_array_index(columns, i));
                if (c.name.compare(QString::fromUtf8(col->name), Qt::CaseInsensitive) == 0)
                    c.source = col;
            }
            if (!c.source) {
                // Data files from before AssignEnv existed: the upgrade of the
                // church table adds the column empty, which reads as False.
                if (t == modGlobal::tiChurch && c.name == QLatin1String("AssignEnv")) {
                    m_result.churchHadAssignEnv = false;
                    continue;
                }
                Fail(QStringLiteral("The column %1 of the table %2 is missing from %3.").arg(c.name, name, OldName()));
            }
            if (!Readable(c.source->col_type, c.kind))
                Fail(QStringLiteral("The column %1 of the table %2 in %3 holds values of a kind that this import cannot "
                                    "read (type %4).")
                         .arg(c.name, name, OldName())
                         .arg(c.source->col_type));
        }
        m_total += table.def->num_rows;
        m_tables.push_back(std::move(table));
    }
}

void Importer::Report(bool force)
{
    if (!m_progress || m_done == m_lastReport)
        return;
    if (force || m_done - std::max<qint64>(m_lastReport, 0) >= kProgressEvery) {
        m_lastReport = m_done;
        m_progress(m_done, std::max(m_total, m_done));
    }
}

// One field of the current row into the statement. False, with the reason
// in *problem, when the value does not fit the new column.
bool Importer::ReadValue(const MdbField& f, const TargetColumn& c, Insert& insert, int i, QString* shown,
                         QString* problem)
{
    MdbHandle* mdb = m_mdb.get();
    const int type = c.source->col_type;
    if (type == MDB_BOOL) {
        // A yes/no value lives in the row's null mask: a set bit is Yes.
        insert.Int(i, f.is_null ? 0 : 1);
        return true;
    }
    if (f.is_null) {
        insert.Null(i);
        return true;
    }
    const int fixed = FixedSize(type);
    if (fixed > 0 && f.siz < fixed) {
        *problem = QStringLiteral("the value of %1 is cut short").arg(c.name);
        return false;
    }
    // The value must lie in the page the reader holds.
    if (f.siz < 0 || f.start < 0 || qint64(f.start) + f.siz > qint64(m_mdb->fmt->pg_size)) {
        *problem = QStringLiteral("the value of %1 lies outside its page").arg(c.name);
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(f.value);
    if (c.kind == Kind::Text) {
        QByteArray utf8;
        if (f.siz > 0) {
            char* text = mdb_col_to_string(mdb, mdb->pg_buf, f.start, type, f.siz);
            if (!text) {
                *problem = QStringLiteral("the text of %1 cannot be read").arg(c.name);
                return false;
            }
            utf8 = QByteArray(text);
            g_free(text);
        }
        if (shown)
            *shown = QString::fromUtf8(utf8);
        insert.Text(i, utf8);
        return true;
    }
    if (c.kind == Kind::Date) {
        const QDate d = JetDate(mdb_get_double(f.value, 0));
        if (!d.isValid()) {
            *problem = QStringLiteral("the date in %1 is not a date").arg(c.name);
            return false;
        }
        insert.Text(i, d.toString(Qt::ISODate).toLatin1());
        return true;
    }
    // Numbers: whole numbers exactly, the others as doubles.
    qint64 whole = 0;
    double real = 0;
    bool isWhole = true;
    switch (type) {
    case MDB_BYTE: whole = bytes[0]; break;
    case MDB_INT: whole = qint16(mdb_get_int16(f.value, 0)); break;
    case MDB_LONGINT: whole = qint32(quint32(mdb_get_int32(f.value, 0))); break;
    case MDB_MONEY: {
        qint64 units = 0; // ten-thousandths, little-endian
        for (int b = 7; b >= 0; --b)
            units = qint64(quint64(units) << 8 | bytes[b]);
        real = double(units) / 10000.0;
        isWhole = false;
        break;
    }
    case MDB_FLOAT: real = mdb_get_single(f.value, 0); isWhole = false; break;
    case MDB_DOUBLE: real = mdb_get_double(f.value, 0); isWhole = false; break;
    case MDB_NUMERIC: {
        char* text = mdb_numeric_to_string(mdb, f.start, c.source->col_scale, c.source->col_prec);
        bool ok = false;
        real = text ? QByteArray(text).toDouble(&ok) : 0;
        g_free(text);
        if (!ok) {
            *problem = QStringLiteral("the number in %1 cannot be read").arg(c.name);
            return false;
        }
        isWhole = false;
        break;
    }
    default: *problem = QStringLiteral("%1 holds no number").arg(c.name); return false;
    }
    if (c.kind == Kind::Double) {
        insert.Double(i, isWhole ? double(whole) : real);
    } else if (c.kind == Kind::Bool) {
        insert.Int(i, whole != 0 ? 1 : 0);
    } else {
        if (!isWhole) {
            if (!std::isfinite(real) || real != std::trunc(real) || std::fabs(real) > 2147483647.0) {
                *problem = QStringLiteral("%1 holds %2, which is not a whole number").arg(c.name).arg(real, 0, 'g', 17);
                return false;
            }
            whole = qint64(real);
        }
        insert.Int(i, whole);
    }
    if (shown)
        *shown = QString::number(isWhole ? double(whole) : real, 'g', 17);
    return true;
}

void Importer::CopyRows(Connection& db, SourceTable& table)
{
    MdbHandle* mdb = m_mdb.get();
    MdbTableDef* def = table.def.get();
    QStringList names, marks;
    for (int i = 0; i < int(table.columns.size()); ++i) {
        names << table.columns[i].name;
        marks << QStringLiteral("?");
    }
    Insert insert(db, QStringLiteral("INSERT INTO ") + table.name + QStringLiteral(" (") + names.join(QStringLiteral(", "))
                          + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QStringLiteral(")"));

    std::vector<MdbField> fields(MDB_MAX_COLS);
    std::vector<int> fieldOf(def->num_cols, -1);
    const qint64 expected = def->num_rows;
    qint64 row = 0;
    mdb_rewind_table(def);
    while (mdb_fetch_row(def)) {
        ++row;
        auto where = [&] { return QStringLiteral("Row %1 of the table %2 in %3").arg(row).arg(table.name, OldName()); };
        // The reader has just taken the row from its page; split it again to
        // tell a Null from an empty text, which its own reading does not.
        int start = 0;
        size_t size = 0;
        int fieldCount = 0;
        if (def->cur_row > 0 && mdb_find_row(mdb, int(def->cur_row) - 1, &start, &size) == 0 && size > 0)
            fieldCount = mdb_crack_row(def, start & kRowOffsetMask, size, fields.data());
        if (fieldCount != int(def->num_cols))
            Fail(where() + QStringLiteral(" could not be read. The file may be damaged."));
        std::fill(fieldOf.begin(), fieldOf.end(), -1);
        for (int f = 0; f < fieldCount; ++f)
            if (fields[f].colnum >= 0 && fields[f].colnum < int(def->num_cols))
                fieldOf[fields[f].colnum] = f;

        QString key;
        auto rowName = [&] {
            return key.isEmpty() ? where() : where() + QStringLiteral(" (%1 %2)").arg(table.columns[0].name, key);
        };
        for (int i = 0; i < int(table.columns.size()); ++i) {
            const TargetColumn& c = table.columns[i];
            if (!c.source) {
                insert.Null(i);
                continue;
            }
            const int f = fieldOf[c.source->col_num];
            QString problem;
            if (f < 0 || !ReadValue(fields[f], c, insert, i, i == 0 ? &key : nullptr, &problem))
                Fail(rowName() + QStringLiteral(" could not be read: ")
                     + (problem.isEmpty() ? QStringLiteral("the column %1 is damaged").arg(c.name) : problem)
                     + QLatin1Char('.'));
        }
        const QString refused = insert.Run();
        if (!refused.isEmpty())
            Fail(rowName() + QStringLiteral(" could not be written to the new data file: ") + refused);
        ++m_done;
        ++m_result.rows[table.index];
        Report(false);
    }
    // Pages missing from the end of a file read as the end of the table:
    // the table's own row count tells.
    if (row < expected)
        Fail(QStringLiteral("The table %1 in %2 could not be read whole: row %3 and the %4 rows after it are missing. "
                            "The file may be damaged or cut short.")
                 .arg(table.name, OldName())
                 .arg(row + 1)
                 .arg(expected - row - 1));
}

void Importer::CorrectKeys(Connection& db)
{
    // The older program's key table may lag behind its tables (rows written
    // by other means, a crash between the row and the key). Each key
    // carries on after the highest key in use, so none is handed out twice.
    for (TableIndex t : ImportOrder()) {
        if (t == modGlobal::tiKeyGen || t == modGlobal::tiChurch)
            continue;
        const QString name = Schema::TableName(t);
        Recordset max(QStringLiteral("SELECT MAX(ID) AS MaxID FROM ") + name + QLatin1Char(';'), db);
        const QVariant highest = max.Field(QStringLiteral("MaxID"));
        if (!highest.isValid() || highest.isNull())
            continue;
        const qint64 maxID = highest.toLongLong();
        Recordset key(QStringLiteral("SELECT LastKey FROM KeyGen WHERE TableName = ") + modDBConnection::TextLiteral(name)
                          + QLatin1Char(';'),
                      db);
        if (key.Eof()) {
            db.Execute(QStringLiteral("INSERT INTO KeyGen (TableName, LastKey) VALUES (") + modDBConnection::TextLiteral(name)
                       + QStringLiteral(", ") + QString::number(maxID) + QStringLiteral(");"));
            m_result.keyCorrections << QStringLiteral("%1: none to %2").arg(name).arg(maxID);
            continue;
        }
        const QVariant last = key.Field(QStringLiteral("LastKey"));
        const bool missing = !last.isValid() || last.isNull();
        if (!missing && last.toLongLong() >= maxID)
            continue;
        db.Execute(QStringLiteral("UPDATE KeyGen SET LastKey = ") + QString::number(maxID)
                   + QStringLiteral(" WHERE TableName = ") + modDBConnection::TextLiteral(name) + QLatin1Char(';'));
        m_result.keyCorrections << QStringLiteral("%1: %2 to %3")
                                       .arg(name, missing ? QStringLiteral("none") : QString::number(last.toLongLong()))
                                       .arg(maxID);
    }
}

Result Importer::Run()
{
    CheckFiles();
    OpenOldFile();
    ReadTableDefinitions();
    m_result.target = m_new;

    // Written under a passing name beside the target and renamed only when
    // complete: a failure, or a crash, never leaves a data file that looks
    // whole but is not.
    const QFileInfo target(m_new);
    QTemporaryFile part(target.absoluteFilePath() + QStringLiteral(".XXXXXX.part"));
    if (!part.open())
        Fail(QStringLiteral("The new data file could not be created in %1: %2")
                 .arg(Native(target.absolutePath()), part.errorString()));
    part.close();
    const QString partName = part.fileName();
    try {
        Connection db(partName);
        // No rollback journal: a failed import is deleted, never rolled back.
        // The commit still syncs the file before it gets its name.
        db.Execute(QStringLiteral("PRAGMA journal_mode = OFF;"));
        db.Execute(QStringLiteral("BEGIN;"));
        for (SourceTable& table : m_tables) {
            db.ExecuteDDL(Schema::CreateTableSql(table.index));
            if (table.index == modGlobal::tiChurch)
                db.ExecuteDDL(Schema::ChurchUpgradeSql());
            if (table.index == modGlobal::tiCollection)
                CountTables::Create(db);
        }
        Report(true);
        for (SourceTable& table : m_tables)
            CopyRows(db, table);
        CorrectKeys(db);
        // Indexes after the rows: one sort each instead of one update per row.
        for (SourceTable& table : m_tables)
            for (const QString& sql : Schema::IndexSql(table.index))
                db.Execute(sql);
        Recordset church(QStringLiteral("SELECT ChurchName FROM Church WHERE ID = 1;"), db);
        if (!church.Eof())
            m_result.churchName = modGlobal::FieldText(church.Field(QStringLiteral("ChurchName")));
        church.Close();
        db.Execute(QStringLiteral("COMMIT;"));
        Report(true);
    } catch (const DbError& e) {
        QFile::remove(partName + QStringLiteral("-journal"));
        Fail(QStringLiteral("The new data file could not be written: %1").arg(e.Message()));
    } catch (...) {
        QFile::remove(partName + QStringLiteral("-journal"));
        throw;
    }
    // Renaming never replaces a file that appeared meanwhile.
    if (!QFile::rename(partName, m_new))
        Fail(QFileInfo::exists(m_new)
                 ? QStringLiteral("The file %1 already exists. The books are imported into a new file only, so that no "
                                  "data file is ever overwritten.")
                       .arg(Native(m_new))
                 : QStringLiteral("The new data file could not be given its name %1.").arg(Native(m_new)));
    part.setAutoRemove(false);
    return m_result;
}

} // namespace

const std::array<TableIndex, modGlobal::TableCount>& ImportOrder()
{
    static const std::array<TableIndex, modGlobal::TableCount> order = {
        modGlobal::tiChurch,     modGlobal::tiFunds,    modGlobal::tiContributors, modGlobal::tiPledges,
        modGlobal::tiCollection, modGlobal::tiOffering, modGlobal::tiColComment,   modGlobal::tiKeyGen};
    return order;
}

qint64 Result::TotalRows() const
{
    qint64 n = 0;
    for (qint64 r : rows)
        n += r;
    return n;
}

QStringList Result::CountLines() const
{
    QStringList lines;
    for (TableIndex t : ImportOrder())
        lines << Schema::TableName(t) + QStringLiteral(": ") + QString::number(rows[t]);
    return lines;
}

Result Import(const QString& oldFile, const QString& newFile, const Progress& progress)
{
    Importer importer(oldFile, newFile, progress);
    return importer.Run();
}

namespace {
// The passing files of an import into target ("NAME.MDB.xxxxxx.part" and
// their journals), left behind when a child ended without cleaning up.
void RemovePassingFiles(const QString& target)
{
    const QFileInfo info(target);
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList({info.fileName() + QStringLiteral(".*.part*")}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
}
} // namespace

Result ImportInChild(const QString& tool, const QString& oldFile, const QString& newFile, const Progress& progress)
{
    struct Cleanup {
        QString target;
        ~Cleanup() { RemovePassingFiles(target); }
    } cleanup{newFile};
    QProcess child;
    child.setProgram(tool);
    child.setArguments({QStringLiteral("--progress"), oldFile, newFile});
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QIODevice::ReadOnly);
    if (!child.waitForStarted())
        throw ImportError(QStringLiteral("The import could not be started: %1 (%2).")
                              .arg(QDir::toNativeSeparators(tool), child.errorString()));
    QStringList lines;
    auto take = [&] {
        while (child.canReadLine()) {
            const QString line = QString::fromUtf8(child.readLine()).chopped(1);
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.size() == 3 && parts[0] == QLatin1String("progress")) {
                if (progress)
                    progress(parts[1].toLongLong(), parts[2].toLongLong());
            } else {
                lines << line;
            }
        }
    };
    while (child.state() != QProcess::NotRunning) {
        child.waitForReadyRead(100);
        take();
        if (progress && child.state() != QProcess::NotRunning)
            progress(-1, -1); // a chance to paint while the child works
    }
    child.waitForFinished();
    take();
    if (child.bytesAvailable() > 0)
        lines << QString::fromUtf8(child.readAll());
    const QString errors = QString::fromUtf8(child.readAllStandardError()).trimmed();
    const QString reason = errors.section(QLatin1Char('\n'), -1).section(QStringLiteral("qv-import: "), 1);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 1 && !reason.isEmpty())
            throw ImportError(reason);
        throw ImportError(DamagedPrefix()
                          + QStringLiteral("%1 stopped the reader (%2). Nothing was imported.")
                                .arg(QDir::toNativeSeparators(oldFile),
                                     child.exitStatus() == QProcess::CrashExit
                                         ? QStringLiteral("it ended abnormally")
                                         : QStringLiteral("it ended with code %1").arg(child.exitCode())));
    }

    Result r;
    r.target = newFile;
    for (const QString& line : lines) {
        for (TableIndex t : ImportOrder())
            if (line.startsWith(Schema::TableName(t) + QStringLiteral(": ")))
                r.rows[t] = line.section(QStringLiteral(": "), 1).toLongLong();
        if (line.startsWith(QStringLiteral("KeyGen corrected, ")))
            r.keyCorrections << line.mid(18);
        if (line.startsWith(QStringLiteral("Church: no AssignEnv column")))
            r.churchHadAssignEnv = false;
    }
    try {
        Connection db(newFile);
        Recordset church(QStringLiteral("SELECT ChurchName FROM Church WHERE ID = 1;"), db);
        if (!church.Eof())
            r.churchName = modGlobal::FieldText(church.Field(QStringLiteral("ChurchName")));
    } catch (const DbError& e) {
        throw ImportError(QStringLiteral("The new data file %1 could not be read: %2")
                              .arg(QDir::toNativeSeparators(newFile), e.Message()));
    }
    return r;
}

QString DamagedPrefix()
{
    return QStringLiteral("The old file is damaged: ");
}

QStringList MoneyLines(const QString& dataFile)
{
    // Summed in whole cents, exactly. A year's main fund is named as the
    // windows name it ("2004 General Fund"); an offering without a fund or a
    // date still shows, so that nothing is hidden from the comparison.
    Connection db(dataFile);
    Recordset rs(QStringLiteral("SELECT substr(c.CollectionDate, 1, 4) AS Year, o.FundID AS FundID, "
                                "CASE WHEN o.FundID < 0 THEN (-o.FundID) || ' ' || (SELECT FundName FROM Funds WHERE ID = 1) "
                                "ELSE (SELECT FundName FROM Funds WHERE ID = o.FundID) END AS FundName, "
                                "SUM(CAST(round(o.Amount * 100) AS INTEGER)) AS Cents FROM Offering o "
                                "LEFT JOIN Collection c ON c.ID = o.CollectionID "
                                "GROUP BY Year, o.FundID ORDER BY Year, FundName, o.FundID;"),
                 db);
    QStringList lines;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString year = modGlobal::FieldText(rs.Field(QStringLiteral("Year")));
        QString fund = modGlobal::FieldText(rs.Field(QStringLiteral("FundName")));
        if (fund.isEmpty())
            fund = QStringLiteral("fund %1").arg(modGlobal::FieldText(rs.Field(QStringLiteral("FundID"))));
        const double amount = double(rs.Field(QStringLiteral("Cents")).toLongLong()) / 100.0;
        lines << QStringLiteral("%1  %2  %3")
                     .arg(year.isEmpty() ? QStringLiteral("(no date)") : year, fund, modGlobal::FormatAmount(amount));
    }
    return lines;
}

QString CompareAdvice()
{
    return QStringLiteral("The old file keeps no checksums, so damage in it can change amounts without any sign. "
                          "Compare these totals with the old program's reports before you rely on the new books.");
}

QString FreeTargetName(const QString& folder, const QString& oldFile)
{
    const QString base = QFileInfo(oldFile).completeBaseName();
    const QDir dir(folder);
    QString name = dir.filePath(base + QStringLiteral(".MDB"));
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = dir.filePath(base + QStringLiteral("-") + QString::number(n) + QStringLiteral(".MDB"));
    return name;
}

} // namespace LegacyImport

#include "LegacyFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QtTest/QTest>
#include <memory>
#include <vector>

#include <glib.h>
#include <mdbtools.h>

namespace LegacyFixture {

namespace {

struct Open {
    explicit Open(const QString& file, const QString& table)
    {
        mdb = mdb_open(QFile::encodeName(file).constData(), MDB_NOFLAGS);
        if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE))
            qFatal("cannot open %s", qPrintable(file));
        mdb_set_date_fmt(mdb, "%Y-%m-%d");
        QByteArray name = table.toUtf8();
        def = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
        if (!def || !mdb_read_columns(def))
            qFatal("no table %s", qPrintable(table));
        values.resize(def->num_cols, std::vector<char>(MDB_BIND_SIZE));
        lengths.resize(def->num_cols);
        for (unsigned c = 0; c < def->num_cols; ++c)
            mdb_bind_column(def, int(c) + 1, values[c].data(), &lengths[c]);
        mdb_rewind_table(def);
    }
    ~Open()
    {
        if (def)
            mdb_free_tabledef(def);
        if (mdb)
            mdb_close(mdb);
    }
    QString Column(unsigned c) const
    {
        return QString::fromUtf8(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c))->name);
    }
    QString Value(unsigned c) const { return QString::fromUtf8(values[c].data()); }

    MdbHandle* mdb = nullptr;
    MdbTableDef* def = nullptr;
    std::vector<std::vector<char>> values;
    std::vector<int> lengths;
};

} // namespace

QString SamplePath()
{
    return QStringLiteral(QV_LEGACY_FIXTURE_DIR "/QVDATA-sample.mdb");
}

QJsonObject Expected()
{
    QFile f(SamplePath() + QStringLiteral(".json"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no fixture JSON");
    return QJsonDocument::fromJson(f.readAll()).object();
}

QString CopySample(const QString& folder, const QString& name)
{
    const QString target = QDir(folder).filePath(name);
    QFile::remove(target);
    if (!QFile::copy(SamplePath(), target))
        qFatal("cannot copy the sample");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

OldTable ReadOldTable(const QString& file, const QString& table)
{
    Open o(file, table);
    OldTable t;
    for (unsigned c = 0; c < o.def->num_cols; ++c)
        t.columns << o.Column(c);
    while (mdb_fetch_row(o.def)) {
        QStringList row;
        for (unsigned c = 0; c < o.def->num_cols; ++c)
            row << o.Value(c);
        t.rows.insert(row.first(), row);
    }
    return t;
}

qint64 ValueOffset(const QString& file, const QString& table, const QString& key, const QString& column)
{
    Open o(file, table);
    while (mdb_fetch_row(o.def)) {
        if (o.Value(0) != key)
            continue;
        for (unsigned c = 0; c < o.def->num_cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(o.def->columns, c));
            if (o.Column(c) == column)
                return qint64(o.def->cur_phys_pg) * o.mdb->fmt->pg_size + col->cur_value_start;
        }
    }
    qFatal("no value %s of %s %s", qPrintable(column), qPrintable(table), qPrintable(key));
}

namespace {
QByteArray ReadAll(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file));
    return f.readAll();
}
quint32 Le(const QByteArray& b, qint64 at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | quint8(b.at(at + i));
    return v;
}
} // namespace

qint64 ColumnNumberOffset(const QString& file, const QString& table, const QString& column)
{
    Open o(file, table);
    const MdbFormatConstants* fmt = o.mdb->fmt;
    const qint64 page = qint64(o.def->entry->table_pg) * fmt->pg_size;
    const QByteArray all = ReadAll(file);
    const qint64 first = page + fmt->tab_cols_start_offset + qint64(o.def->num_real_idxs) * fmt->tab_ridx_entry_size;
    for (unsigned c = 0; c < o.def->num_cols; ++c) {
        if (o.Column(c) != column)
            continue;
        const int number = static_cast<MdbColumn*>(g_ptr_array_index(o.def->columns, c))->col_num;
        for (unsigned e = 0; e < o.def->num_cols; ++e) {
            const qint64 at = first + qint64(e) * fmt->tab_col_entry_size + fmt->col_num_offset;
            if (int(Le(all, at, 2)) == number)
                return at;
        }
    }
    qFatal("no column %s of %s", qPrintable(column), qPrintable(table));
}

qint64 UsageMapPageOffset(const QString& file, const QString& table)
{
    Open o(file, table);
    const MdbFormatConstants* fmt = o.mdb->fmt;
    const QByteArray all = ReadAll(file);
    const quint32 pointer = Le(all, qint64(o.def->entry->table_pg) * fmt->pg_size + fmt->tab_usage_map_offset, 4);
    const qint64 page = qint64(pointer >> 8) * fmt->pg_size;
    const qint64 start = page + (Le(all, page + fmt->row_count_offset + 2 + 2 * (pointer & 0xff), 2) & 0x1fff);
    if (all.at(start) != 1)
        qFatal("the usage map of %s lists no pages", qPrintable(table));
    return start + 1;
}

void Patch(const QString& file, qint64 offset, const QByteArray& bytes)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(offset) || f.write(bytes) != bytes.size())
        qFatal("cannot patch %s", qPrintable(file));
}

void RenameStored(const QString& file, const QString& from, const QString& to, qint64 fromOffset)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file));
    const QByteArray all = f.readAll();
    f.close();
    auto utf16 = [](const QString& s) {
        return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    };
    const qint64 at = all.indexOf(utf16(from), fromOffset);
    if (at < 0 || from.size() != to.size())
        qFatal("no %s in %s", qPrintable(from), qPrintable(file));
    Patch(file, at, utf16(to));
}

} // namespace LegacyFixture

#pragma once

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The older program's sample data file, what its JSON says it holds, and a
// second way of reading it: the reader library's own text of every value,
// independent of the import's reading.
namespace LegacyFixture {

QString SamplePath();
QJsonObject Expected(); // QVDATA-sample.mdb.json

// A copy of the sample in folder, for tests that damage it.
QString CopySample(const QString& folder, const QString& name = QStringLiteral("QVDATA-sample.mdb"));

struct OldTable {
    QStringList columns;
    // Key (first column) -> every value as the library shows it: "" for
    // Null, "1"/"0" for yes/no, dates as yyyy-MM-dd.
    QHash<QString, QStringList> rows;
};
OldTable ReadOldTable(const QString& file, const QString& table);

// Where in the file a value of the row with that key lies, so that a test
// can damage exactly one value.
qint64 ValueOffset(const QString& file, const QString& table, const QString& key, const QString& column);
void Patch(const QString& file, qint64 offset, const QByteArray& bytes);
// Where the number of a column lies in its table's definition, and where
// the first page number of the table's usage map lies (a map that lists
// bitmap pages, as the sample's do).
qint64 ColumnNumberOffset(const QString& file, const QString& table, const QString& column);
qint64 UsageMapPageOffset(const QString& file, const QString& table);
// Replaces the first occurrence of a name (as stored, UTF-16) from a byte position on.
void RenameStored(const QString& file, const QString& from, const QString& to, qint64 fromOffset = 0);

} // namespace LegacyFixture

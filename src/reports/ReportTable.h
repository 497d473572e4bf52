#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// One in-memory table a report reads: typed fields declared first, then rows
// appended. Every field may be Null (an invalid QVariant). Values are kept in
// their field's type, so a layout sees what the report's builder meant, and
// a text longer than its field is cut to the field's size as the database
// would.
class ReportTable {
public:
    enum class Type { Long, BigInt, Double, Text, Date };
    struct Field {
        QString name;
        Type type;
        int size; // text fields: the most characters kept
    };

    ReportTable() = default;
    explicit ReportTable(const QString& name) : m_name(name) {}

    QString Name() const { return m_name; }
    void AppendField(const QString& name, Type type, int size = 0);
    int FieldCount() const { return int(m_fields.size()); }
    const Field& FieldAt(int i) const { return m_fields.at(size_t(i)); }
    int IndexOf(const QString& name) const; // -1 when there is no such field
    QStringList FieldNames() const;

    // Appends a row of Nulls; it becomes the current row.
    void AddNew();
    // Room for this many rows in all, for a table whose size is known
    // before it is filled: no column is copied as it grows.
    void Reserve(int rows);
    int RowCount() const { return m_rowCount; }
    bool IsEmpty() const { return m_rowCount == 0; }
    // The current row is the last one appended.
    int Current() const { return RowCount() - 1; }
    void Set(const QString& field, const QVariant& value) { Set(Current(), field, value); }
    void Set(int row, const QString& field, const QVariant& value);
    QVariant Value(int row, const QString& field) const { return Value(row, Require(field)); }
    QVariant Value(int row, int field) const;
    // Null-safe readers, as the report layouts use them.
    double Double(int row, const QString& field) const;
    qint64 Integer(int row, const QString& field) const;
    QString Text(int row, const QString& field) const;

    // Reads a CSV file's text (RFC 4180, as the CSV export writes it) back
    // into rows of text (tests, tools).
    static QList<QStringList> ParseCsv(const QByteArray& csv);

private:
    int Require(const QString& field) const;

    // A whole church's statements are half a million lines: each field is
    // kept as a column of its own type, a fifth of the memory of a variant
    // per cell.
    struct Column {
        std::vector<qint64> whole; // Long, BigInt, Date (as its Julian day)
        std::vector<double> real;
        std::vector<QString> text;
        std::vector<bool> set; // false: Null
    };

    QString m_name;
    std::vector<Field> m_fields;
    std::vector<Column> m_columns;
    QHash<QString, int> m_byName; // fields by their name as declared
    int m_rowCount = 0;
};

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class Connection;
struct sqlite3_stmt;

// Rows of a query, read by column name. Three kinds:
//  - Static: every row is read when opened, RecordCount is exact, the
//    cursor can go back to the first row;
//  - ForwardOnly: rows are streamed from the engine, only MoveNext;
//  - in memory (default constructed, never opened): columns are declared
//    with AppendField and rows added with AddNew/SetField; the report
//    tables are built this way.
class Recordset {
public:
    enum class Cursor { Static, ForwardOnly };

    Recordset() = default;
    Recordset(const QString& sql, Connection& conn, Cursor cursor = Cursor::Static);
    ~Recordset();
    Recordset(Recordset&& other) noexcept;
    Recordset& operator=(Recordset&& other) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Open(const QString& sql, Connection& conn, Cursor cursor = Cursor::Static);
    void Close();

    bool Eof() const;
    void MoveNext();
    void MoveFirst();
    int RecordCount() const; // exact for Static and in-memory, -1 for ForwardOnly

    int FieldCount() const { return int(m_names.size()); }
    QString FieldName(int i) const { return m_names.at(i); }
    bool HasField(const QString& name) const { return IndexOf(name) >= 0; }
    // The current row's value; a Null column is an invalid QVariant.
    QVariant Field(const QString& name) const;
    QVariant Field(int index) const;

    // In-memory tables.
    void AppendField(const QString& name);
    void AddNew();
    void SetField(const QString& name, const QVariant& value);
    // Moves to a row of a Static or in-memory set (0-based).
    void MoveTo(int row);
    int Position() const { return m_pos; }

private:
    int IndexOf(const QString& name) const;
    int RequireIndex(const QString& name) const;
    void ReadNames();
    void ReadCurrentRow(std::vector<QVariant>& row);
    void Step();

    QStringList m_names;
    QHash<QString, int> m_index; // lower-case name -> column
    std::vector<std::vector<QVariant>> m_rows;
    std::vector<QVariant> m_current; // forward-only cursor's row
    sqlite3_stmt* m_stmt = nullptr;
    bool m_forwardOnly = false;
    bool m_streamEnd = true;
    int m_pos = 0;
    QString m_sql;
};

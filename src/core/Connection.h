#pragma once

#include <QString>
#include <functional>
#include <memory>

struct sqlite3;

// The single connection to the open data file. SQL is written in the dialect
// the rest of the program uses (#date# literals, TEXT(n) columns) and turned
// into SQLite's here, so callers never see the difference.
class Connection {
public:
    // Opens an existing data file. A missing file, or one that is not a
    // database, throws DbError with the engine's text.
    explicit Connection(const QString& filePath);
    // Creates the file when it does not exist (the empty template, tests).
    static Connection Create(const QString& filePath);
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&&) = delete;
    Connection(const Connection&) = delete;
    ~Connection();

    // Runs one or more statements; rows returned are ignored.
    void Execute(const QString& sql);
    // Runs a statement that is allowed to fail because its object already
    // exists (CREATE TABLE of an existing table, ALTER TABLE ADD of an
    // existing column). Any other failure still throws.
    void ExecuteDDL(const QString& sql);
    // Rows changed by the last INSERT, UPDATE or DELETE.
    int Changes() const;
    // Whether a Transaction is open on this connection.
    bool InTransaction() const { return m_transactionDepth > 0; }
    // How long a write waits for another program's lock before it fails.
    void SetBusyTimeout(int milliseconds);
    // Whether the file (and its folder, where the engine keeps its journal)
    // can be written. A file locked by another program counts as writable.
    bool CanWrite();

    QString FilePath() const { return m_path; }
    sqlite3* Handle() const { return m_db; }

    // Called as the outermost transaction of any connection opens, and as it
    // ends, committed or rolled back. The window layer keeps the user's keys
    // and clicks out of an open write through them; without windows there
    // is nothing to keep out, and none are set.
    static void SetTransactionHooks(std::function<void()> opened, std::function<void()> closed);

    // The dialect translation, public so that it can be tested on its own.
    static QString Translate(const QString& sql);

    // All-or-nothing scope for writes of many rows: commits when Commit() is
    // called, rolls back when left by an exception.
    //
    // It is also the one door every write goes through while it is open: no
    // key, click or close box reaches any window until it ends (painting
    // still does), so that one user action never runs inside another's
    // transaction and is never rolled back with it. Change notices raised
    // inside are held and sent once the commit has succeeded, and dropped
    // on a rollback, so that no window shows a row that is not in the file.
    class Transaction {
    public:
        explicit Transaction(Connection& c);
        ~Transaction();
        void Commit();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

    private:
        Connection& m_conn;
        bool m_done = false;
        bool m_outer = false;
    };

private:
    Connection(const QString& filePath, bool create);
    void Open(bool create);

    QString m_path;
    sqlite3* m_db = nullptr;
    int m_transactionDepth = 0;
};

#pragma once

#include <QString>
#include <stdexcept>

// A failure reported by the database engine. what() carries the engine's own
// text, which is what the user is shown.
class DbError : public std::runtime_error {
public:
    DbError(const QString& engineMessage, const QString& sql = {})
        : std::runtime_error(engineMessage.toStdString()), m_message(engineMessage), m_sql(sql) {}

    QString Message() const { return m_message; }
    QString Sql() const { return m_sql; }

private:
    QString m_message;
    QString m_sql;
};

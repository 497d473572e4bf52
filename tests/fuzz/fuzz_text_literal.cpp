// The SQL text literal through the engine: any text a user can type or paste,
// once cleaned as the record classes clean it, comes back from the engine
// exactly, and never breaks the statement around it.
#include "core/Helpers.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "core/modDBConnection.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::unique_ptr<Connection> db = [] {
        auto c = std::make_unique<Connection>(Connection::Create(QStringLiteral(":memory:")));
        c->Execute(QStringLiteral("CREATE TABLE T (ID INTEGER, Name TEXT(40));"));
        return c;
    }();
    const QString raw = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const QString text = modGlobal::CutText(modGlobal::CleanText(raw, true), 40);
    db->Execute(QStringLiteral("DELETE FROM T;"));
    db->Execute(QStringLiteral("INSERT INTO T (ID, Name) VALUES (1, ") + modDBConnection::TextLiteral(text)
                + QStringLiteral(");"));
    Recordset rs(QStringLiteral("SELECT Name FROM T WHERE ID = 1;"), *db);
    if (rs.Eof() || rs.Field(0).toString() != text)
        std::abort();
    // A literal of the raw text (a NUL in it too) is one value, never more SQL.
    Recordset lit(QStringLiteral("SELECT ") + modDBConnection::TextLiteral(raw) + QStringLiteral(" AS V;"), *db);
    QString expected = raw;
    expected.remove(QChar(0));
    if (lit.Field(0).toString() != expected)
        std::abort();
    return 0;
}

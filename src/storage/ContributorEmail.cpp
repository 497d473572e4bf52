#include "ContributorEmail.h"

#include "core/Connection.h"
#include "core/Recordset.h"
#include "core/modDBConnection.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"

#include <QRegularExpression>

using namespace modDBConnection;
using modGlobal::FieldLong;
using modGlobal::FieldText;

namespace ContributorEmail {

void Make_Ready()
{
    Connection& db = modGlobal::DB();
    db.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ContributorEmail (ContributorID INTEGER PRIMARY KEY, "
                              "Email TEXT NOT NULL, Delivery INTEGER NOT NULL DEFAULT 0);"));
    db.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS StatementEmailLog (ID INTEGER PRIMARY KEY, "
                              "ContributorID INTEGER NOT NULL, RangeBegin TEXT NOT NULL, RangeEnd TEXT NOT NULL, "
                              "SentAt TEXT NOT NULL, Email TEXT NOT NULL, MessageID TEXT NOT NULL, ServerAnswer TEXT);"));
    db.Execute(QStringLiteral("CREATE INDEX IF NOT EXISTS idxStatementEmailLogRange ON StatementEmailLog "
                              "(RangeBegin, RangeEnd, ContributorID);"));
}

QString Address_Problem(const QString& text)
{
    const QString a = text.trimmed();
    if (a.isEmpty())
        return QStringLiteral("There is no e-mail address.");
    if (a.size() > 254)
        return QStringLiteral("An e-mail address is at most 254 characters long.");
    if (a.count(QLatin1Char('@')) != 1)
        return QStringLiteral("An e-mail address has one @ between the name and the domain, as in name@example.org.");
    const qsizetype at = a.indexOf(QLatin1Char('@'));
    const QString local = a.left(at), domain = a.mid(at + 1);
    // The local part as mail programs write it (no quoted forms); the
    // domain as names that resolve are written, with at least one dot.
    static const QRegularExpression localForm(QStringLiteral("^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*$"));
    static const QRegularExpression label(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (local.isEmpty() || local.size() > 64 || !localForm.match(local).hasMatch())
        return QStringLiteral("The part before the @ of \"%1\" is not a mailbox name.").arg(a);
    const QStringList labels = domain.split(QLatin1Char('.'));
    bool domainOk = labels.size() >= 2;
    for (const QString& l : labels)
        domainOk = domainOk && label.match(l).hasMatch();
    if (!domainOk)
        return QStringLiteral("The part after the @ of \"%1\" is not a domain like example.org.").arg(a);
    return {};
}

bool Valid_Address(const QString& text)
{
    return Address_Problem(text).isEmpty();
}

namespace {
Entry Read(const Recordset& rs)
{
    Entry e;
    e.email = FieldText(rs.Field(QStringLiteral("Email")));
    const int d = int(FieldLong(rs.Field(QStringLiteral("Delivery"))));
    e.delivery = d == 1 ? Delivery::Email : d == 2 ? Delivery::Both : Delivery::Paper;
    return e;
}
} // namespace

Entry Of(int contributorID)
{
    Make_Ready();
    Recordset rs(QStringLiteral("SELECT Email, Delivery FROM ContributorEmail WHERE ContributorID = ") + QString::number(contributorID)
                     + QLatin1Char(';'),
                 modGlobal::DB());
    return rs.Eof() ? Entry{} : Read(rs);
}

QHash<int, Entry> All()
{
    Make_Ready();
    QHash<int, Entry> all;
    for (Recordset rs(QStringLiteral("SELECT ContributorID, Email, Delivery FROM ContributorEmail;"), modGlobal::DB(),
                      Recordset::Cursor::ForwardOnly);
         !rs.Eof(); rs.MoveNext())
        all.insert(int(FieldLong(rs.Field(QStringLiteral("ContributorID")))), Read(rs));
    return all;
}

void Save(int contributorID, const Entry& entry)
{
    Make_Ready();
    const QString email = entry.email.trimmed();
    if (email.isEmpty() && entry.delivery == Delivery::Paper) {
        Remove(contributorID);
        return;
    }
    modGlobal::DB().Execute(QStringLiteral("INSERT OR REPLACE INTO ContributorEmail (ContributorID, Email, Delivery) VALUES (%1, %2, %3);")
                                .arg(contributorID)
                                .arg(TextLiteral(email))
                                .arg(int(entry.delivery)));
}

void Remove(int contributorID)
{
    Make_Ready();
    modGlobal::DB().Execute(QStringLiteral("DELETE FROM ContributorEmail WHERE ContributorID = ") + QString::number(contributorID)
                            + QLatin1Char(';'));
}

} // namespace ContributorEmail

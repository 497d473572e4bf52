#pragma once

#include <QHash>
#include <QString>

// A contributor's e-mail address and how the statement reaches them, kept
// in a table of our own beside the books (ContributorEmail), and the log of
// statements the mail server accepted (StatementEmailLog). A contributor
// without a row gets paper.
namespace ContributorEmail {

enum class Delivery { Paper = 0, Email = 1, Both = 2 };

struct Entry {
    QString email;
    Delivery delivery = Delivery::Paper;
    bool Emailed() const { return !email.isEmpty() && delivery != Delivery::Paper; }
    bool Posted() const { return delivery != Delivery::Email || email.isEmpty(); }
};

// Creates both tables in a file that lacks them (older files, imports).
void Make_Ready();

// Whether text has the form of one mailbox: local@domain.tld, no blanks,
// no display name, no second address. Empty is not an address.
bool Valid_Address(const QString& text);
// Why an address is refused, in words for the user; empty when it is good.
QString Address_Problem(const QString& text);

Entry Of(int contributorID);
// Every row at once, for a statement run.
QHash<int, Entry> All();
// Writes (or, for paper without an address, removes) the contributor's row.
// Throws DbError; call inside the caller's transaction when there is one.
void Save(int contributorID, const Entry& entry);
void Remove(int contributorID);

} // namespace ContributorEmail

#pragma once

#include <QString>

// The mail password in the desktop's secret store, keyed by server and user
// name. Without a session that offers one (no desktop, the tests), nothing
// is kept and the password is asked each time.
namespace MailSecrets {

bool Available();
QString Lookup(const QString& server, const QString& user);
// Returns false when the store refused it (the reason in error).
bool Store(const QString& server, const QString& user, const QString& password, QString* error = nullptr);
bool Forget(const QString& server, const QString& user);

} // namespace MailSecrets

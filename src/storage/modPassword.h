#pragma once

#include <QString>

// The church's application password: compared without regard to case and
// to surrounding blanks, stored in capitals.
namespace modPassword {

QString Normalise(const QString& typed); // trimmed, in capitals
bool PasswordIsSet();
bool Password_Matches(const QString& typed);
// Stores a new password (empty removes it) through the church record.
void Store_Password(const QString& typed);

} // namespace modPassword

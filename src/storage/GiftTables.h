#pragma once

class Connection;

// The tables the online gifts import keeps beside the books: the platforms'
// transaction IDs already imported (so that no gift is booked twice), the
// column mapping kept per platform, and the fund each designation goes to.
// They live in the data file, not in the settings file, because they
// belong to these books: another data set has other funds, and a copy of
// the data file must still know which gifts it holds.
namespace GiftTables {

void Create(Connection& db);
// Whether the data file has the contributors' e-mail addresses.
bool Has_Email_Table(Connection& db);

} // namespace GiftTables

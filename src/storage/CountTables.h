#pragma once

class Connection;

// The tables kept beside the books for the counted plate: a collection
// set's count (CollectionCount), its checks (CollectionChecks), both keyed
// by the set's ID, and the church's bank account line (ChurchBank). The
// books' own tables never change for them.
namespace CountTables {

// Creates whichever of them the file lacks; an older file gets them when
// it is opened.
void Create(Connection& db);
// A set's count and checks, removed with the set in the caller's
// transaction.
void Delete_For(Connection& db, int collectionID);

} // namespace CountTables

#pragma once

#include <QString>

// Keys of new rows. The last key of each table is kept in KeyGen, so keys
// are never handed out twice, collection numbers start at 1 and every other
// table's keys at 2 (1 is reserved: the main fund, loose offering).
namespace modDBKeys {

int NextKey(const QString& tableName);
bool KeyIsFree(int key, const QString& tableName);

} // namespace modDBKeys

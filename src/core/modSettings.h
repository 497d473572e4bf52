#pragma once

#include <QString>

// The settings file VXOQV.INI, read and written the way the Windows profile
// functions do: section and key names without regard to case, values of at
// most 254 characters with trailing blanks removed, and the rest of the file
// (comments, order, other keys) kept when a key is written.
namespace modSettings {

QString SettingsFilePath();
// A missing file, section or key reads as "".
QString Read(const QString& section, const QString& key);
// Returns false when the file could not be written.
bool Write(const QString& section, const QString& key, const QString& value);

} // namespace modSettings

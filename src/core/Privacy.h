#pragma once

#include <QString>

// The books are for their owner's eyes: on a shared office computer no other
// account may read the donors' giving or the books' password. The data
// folder and the Backups folder are the owner's alone, and so are the data
// files, the safety copies, the lock and the settings file. Files the user
// exports (PDF, CSV) follow the user's own settings. Nothing to do on
// Windows, whose folders of the user are private already.
namespace modGlobal {

// Read and write for the owner only; false when the permissions could not be set.
bool Owner_Only(const QString& file);
// Read, write and enter for the owner only.
bool Owner_Only_Folder(const QString& folder);

} // namespace modGlobal

#include "Privacy.h"

#include <QFile>

namespace modGlobal {

bool Owner_Only(const QString& file)
{
#ifdef Q_OS_WIN
    Q_UNUSED(file);
    return true;
#else
    return QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
}

bool Owner_Only_Folder(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return true;
#else
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
#endif
}

} // namespace modGlobal

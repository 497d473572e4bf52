#include "modSettings.h"

#include "Helpers.h"
#include "modGlobal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <SimpleIni.h>

namespace modSettings {

namespace {
constexpr int kMaxValue = 254; // a 255-character buffer with its NUL

bool Load(CSimpleIniA& ini)
{
    ini.SetUnicode(true);
    ini.SetMultiKey(false);
    const QByteArray path = QFile::encodeName(SettingsFilePath());
    if (!QFileInfo::exists(SettingsFilePath()))
        return false;
    return ini.LoadFile(path.constData()) >= 0;
}
} // namespace

QString SettingsFilePath()
{
    return QDir(modGlobal::SettingsFolder()).filePath(QStringLiteral("VXOQV.INI"));
}

QString Read(const QString& section, const QString& key)
{
    CSimpleIniA ini;
    if (!Load(ini))
        return QString();
    const char* raw = ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), "");
    QString value = QString::fromUtf8(raw ? raw : "");
    const int nul = value.indexOf(QChar(0));
    if (nul >= 0)
        value.truncate(nul);
    value = modGlobal::TrimBlanks(value);
    // The profile functions drop one pair of quotes around a value.
    if (value.size() >= 2 && ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                              || (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
        value = value.mid(1, value.size() - 2);
    return modGlobal::RTrimBlanks(value.left(kMaxValue));
}

bool Write(const QString& section, const QString& key, const QString& value)
{
    CSimpleIniA ini;
    Load(ini);
    ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(), value.toUtf8().constData());
    QDir().mkpath(modGlobal::SettingsFolder());
    const QByteArray path = QFile::encodeName(SettingsFilePath());
    return ini.SaveFile(path.constData(), false) >= 0;
}

} // namespace modSettings

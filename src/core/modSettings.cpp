#include "modSettings.h"

#include "Helpers.h"
#include "Privacy.h"
#include "modGlobal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <SimpleIni.h>
#include <string>

namespace modSettings {

namespace {
constexpr int kMaxValue = 254; // a 255-character buffer with its NUL

// The file as text the reader can take whole. A NUL or another control
// byte (left by a crash, or a program that wrote over it) ends the line it
// is on, so that the sections after it still count; a line that is not
// UTF-8 is read as Latin-1, the older programs' way of writing.
std::string Cleaned(const QByteArray& raw)
{
    std::string out;
    out.reserve(size_t(raw.size()));
    for (const QByteArray& line : raw.split('\n')) {
        QByteArray l = line;
        for (char& c : l) {
            const auto u = static_cast<unsigned char>(c);
            if ((u < 0x20 && c != '\t' && c != '\r') || u == 0x7F)
                c = '\n';
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8(l);
        const QByteArray usable = (utf8.hasError() ? QString::fromLatin1(l) : decoded).toUtf8();
        out.append(usable.constData(), size_t(usable.size()));
        out.push_back('\n');
    }
    return out;
}

bool Load(CSimpleIniA& ini)
{
    ini.SetUnicode(true);
    ini.SetMultiKey(false);
    QFile file(SettingsFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray raw = file.readAll();
    if (raw.startsWith("\xEF\xBB\xBF"))
        raw.remove(0, 3);
    const std::string text = Cleaned(raw);
    return ini.LoadData(text.data(), text.size()) >= 0;
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
    std::string text;
    if (ini.Save(text, false) < 0)
        return false;
    // Written beside the old file and renamed over it: a crash or a full
    // disk on the way leaves the old file, never half of the new one.
    QDir().mkpath(modGlobal::SettingsFolder());
    QSaveFile file(SettingsFilePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    // It names the data files and may hold what only the treasurer should read.
    modGlobal::Owner_Only(SettingsFilePath());
    return true;
}

} // namespace modSettings

#include "modDBConnection.h"

#include "Helpers.h"

#include <QFileInfo>
#include <charconv>
#include <cmath>

namespace modDBConnection {

QString TextLiteral(const QString& s)
{
    QString doubled = s;
    // The statement goes to the engine as a C string: a NUL would end it
    // in the middle of the literal.
    doubled.remove(QChar(0));
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString DateLiteral(const QDate& d)
{
    const QDate date = d.isValid() ? d : modGlobal::ZeroDate();
    return QLatin1Char('#') + date.toString(Qt::ISODate) + QLatin1Char('#');
}

QString BoolLiteral(bool b)
{
    return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString NumberLiteral(double v)
{
    if (!std::isfinite(v))
        return QStringLiteral("0");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString TypeBoolean() { return QStringLiteral("YESNO"); }
QString TypeLong() { return QStringLiteral("INTEGER"); }
QString TypeInteger() { return QStringLiteral("SMALLINT"); }
QString TypeDouble() { return QStringLiteral("NUMBER"); }
QString TypeDate() { return QStringLiteral("DATE"); }
QString TypeText(int size) { return QStringLiteral("TEXT(%1)").arg(size); }

QString DataFileName(const QString& dataFilePath)
{
    QString base = dataFilePath;
    if (base.endsWith(QLatin1String(".MDB"), Qt::CaseInsensitive))
        base.chop(4);
    const QString upper = base + QStringLiteral(".MDB");
    // On a file system that tells case apart, "church.mdb" named in the
    // settings must still open when that is the file that exists.
    if (!QFileInfo::exists(upper) && QFileInfo::exists(dataFilePath) && QFileInfo(dataFilePath).isFile())
        return dataFilePath;
    return upper;
}

} // namespace modDBConnection

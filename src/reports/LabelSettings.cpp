#include "LabelSettings.h"

#include "core/modSettings.h"

#include <algorithm>

namespace LabelSettings {

namespace {
const QString kSection = QStringLiteral("Labels");

double Read_Points(const QString& key)
{
    bool ok = false;
    const double v = modSettings::Read(kSection, key).toDouble(&ok);
    return ok ? std::clamp(v, -kMaxOffset, kMaxOffset) : 0.0;
}
} // namespace

LabelTemplate Sheet(const QString& window)
{
    const QString name = modSettings::Read(kSection, window + QStringLiteral("Sheet"));
    if (!name.isEmpty())
        if (auto t = LabelTemplates::Find(LabelTemplates::Installed(), name))
            return *t;
    if (auto t = LabelTemplates::Find(LabelTemplates::Installed(), QStringLiteral("Avery 5160")))
        return *t;
    return LabelTemplates::Avery5160();
}

bool Keep_Sheet(const QString& window, const QString& name)
{
    return modSettings::Write(kSection, window + QStringLiteral("Sheet"), name);
}

QPointF Offset()
{
    return QPointF(Read_Points(QStringLiteral("OffsetX")), Read_Points(QStringLiteral("OffsetY")));
}

bool Keep_Offset(const QPointF& points)
{
    const double x = std::clamp(points.x(), -kMaxOffset, kMaxOffset);
    const double y = std::clamp(points.y(), -kMaxOffset, kMaxOffset);
    return modSettings::Write(kSection, QStringLiteral("OffsetX"), QString::number(x))
        && modSettings::Write(kSection, QStringLiteral("OffsetY"), QString::number(y));
}

} // namespace LabelSettings

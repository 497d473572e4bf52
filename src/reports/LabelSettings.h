#pragma once

#include "LabelTemplates.h"

#include <QPointF>

// What the settings file keeps for label printing: the sheet each label
// window prints on, and the printer's calibration, an offset in points
// that moves every label (for printers that do not feed exactly). The
// calibration belongs to the printer, so one offset serves every window.
namespace LabelSettings {

// The sheet kept for a window ("MailingLabels"), Avery 5160 when none is
// kept or the kept one is no longer installed.
LabelTemplate Sheet(const QString& window);
// Keeps the sheet's name; false when the settings file cannot be written.
bool Keep_Sheet(const QString& window, const QString& name);

// Offsets beyond an inch are no feeding error; they are held to that.
constexpr double kMaxOffset = 72.0;
QPointF Offset();
bool Keep_Offset(const QPointF& points);

} // namespace LabelSettings

#pragma once

#include "TrendTables.h"

#include <QRectF>
#include <QString>
#include <functional>

class QChart;
class QPainter;

// The giving trends drawn with Qt Charts, for the window and for qv-report
// alike: weekly series as lines against the week of the year, monthly
// series as bars.
namespace TrendCharts {

// What a point says when the mouse rests on it: "Week 13, March 30, 2025:
// $6,209.54" or "March 2025: 14 contributors".
QString Point_Text(const Trends::Chart& chart, int series, int index);

// A new chart of the series; hovering a point passes its text to onHover
// (an empty text when the mouse leaves it).
QChart* Make(const Trends::Chart& chart, std::function<void(const QString&)> onHover = {});

// Draws the chart into target at any scale (a page, an image).
void Render(QChart* chart, QPainter& painter, const QRectF& target);

// Writes the chart as a PDF page (a name ending in .pdf) or else a PNG
// image; false with the reason when the file cannot be written.
bool Save(QChart* chart, const QString& path, QString* error);

} // namespace TrendCharts

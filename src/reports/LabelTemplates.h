#pragma once

#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <optional>

// A sheet of labels as the installed label templates describe it. Lengths
// in points (1/72 inch) from the page's top-left corner.
struct LabelTemplate {
    QString brand, part, description; // "Avery", "5160", "Address Labels"
    QSizeF page;
    QSizeF label;
    // The top-left corner of every label, in the order labels are filled:
    // row by row from the top, left to right within a row.
    QList<QPointF> positions;

    QString Name() const { return brand + QLatin1Char(' ') + part; } // "Avery 5160"
    // "Avery 5161 - Address Labels", as the sheet lists show it.
    QString Title() const;
    int PerSheet() const { return int(positions.size()); }
};

// Reads the label templates of glabels-data: a Template with its page size
// (a named paper size or its own width and height), one label shape and
// one or more Layouts of nx by ny labels at x0, y0, dx, dy apart; a
// Template with equiv="part" is that part of the same brand under another
// number.
namespace LabelTemplates {

QString Default_Folder(); // /usr/share/libglabels-3.0/templates

// A length of a template ("2.625in", "19mm", "0.5cm", "12pc", "181pt",
// "181") in points; -1 when it is not a length.
double Length(const QString& text);

// Every template of the folder's *-templates.xml files, sorted by brand and
// part, equivalents resolved to their base; sheets that cannot be placed
// (rolls, no layout) are left out. Empty when the folder has none.
QList<LabelTemplate> Read_Folder(const QString& folder, QString* error = nullptr);

// The built-in Avery 5160 (US Letter, 3 x 10 address labels 2 5/8 by 1
// inch), used when no templates are installed.
LabelTemplate Avery5160();

// The installed sheets (read once), or only the built-in 5160 without them.
const QList<LabelTemplate>& Installed();
// A sheet by name ("Avery 5160", without regard to case) or title.
std::optional<LabelTemplate> Find(const QList<LabelTemplate>& sheets, const QString& name);

} // namespace LabelTemplates

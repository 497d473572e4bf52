#pragma once

#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

// A sheet of labels as the installed label templates describe it. Lengths
// in points (1/72 inch) from the page's top-left corner.
struct LabelTemplate {
    QString brand, part, description; // "Avery", "5160", "Address Labels"
    QSizeF page;
    QSizeF label;
    // The top-left corner of every label, in the order labels are filled:
    // row by row from the top, left to right within a row. Empty in a list
    // of sheets: a sheet's labels are read when it is chosen (Load, Find).
    QList<QPointF> positions;
    // Where the labels are read from: the templates file and the part of
    // the template that describes them (its own, or the one it is an
    // equivalent of). Empty for the built-in sheet.
    QString file, basePart;

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

// Sheets that hold more than this many labels are refused: no label
// window prints that many on one page, and a template that asks for more
// is damaged.
constexpr int kMaxLabels = 1000;
// No label sheet is larger than this (in points, 30 by 30 inches).
constexpr double kMaxPage = 30 * 72;

// Every template of the folder's *-templates.xml files, sorted by brand and
// part, equivalents resolved to their base: names, page and label sizes
// only, without the labels' positions. Sheets that cannot be placed (rolls,
// no layout) are left out; sheets with more than kMaxLabels labels, or
// labels larger than the page or beyond its edges, or a page larger than
// kMaxPage, are left out and named in *refused with their file and the
// reason. A file that cannot be read is named in *error.
QList<LabelTemplate> Read_Folder(const QString& folder, QString* error = nullptr, QStringList* refused = nullptr);

// A sheet of a list with its labels' positions read from its file; nothing
// when the file no longer holds it as listed (or it is now refused).
std::optional<LabelTemplate> Load(const LabelTemplate& sheet);

// The built-in Avery 5160 (US Letter, 3 x 10 address labels 2 5/8 by 1
// inch), used when no templates are installed.
LabelTemplate Avery5160();

// The installed sheets (listed once, by name), or only the built-in 5160
// without them; and the installed sheets that were refused.
const QList<LabelTemplate>& Installed();
const QStringList& Refused();
// A sheet by name ("Avery 5160", without regard to case) or title, with
// its labels read.
std::optional<LabelTemplate> Find(const QList<LabelTemplate>& sheets, const QString& name);

} // namespace LabelTemplates

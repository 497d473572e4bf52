#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "modOffering.h"

// Choosing or creating the collection set the treasurer works on.
namespace CollectionSets {

struct SetRow {
    int id = 0;
    QDate date;
    QString notation;
};

// The date a new set starts with: today, or with a weekday preference the
// most recent such day, kept inside the processing year (outside it the
// year's first or last day, without stepping).
QDate Default_New_Date(const QDate& today, int processingYear, bool useCurrentDate, int dayOfWeek);
// The same from the church record and the computer's date.
QDate Default_New_Date();
// The sets of a year, newest date first.
QList<SetRow> Sets_Of_Year(int year);
bool Date_Has_Set(const QDate& date);
// Writes a new set and returns it with its number.
SetRow Create_Set(const QDate& date, const QString& notation);
// The offering window's Done, Print and close box: the loose offering
// lines and the set's date and notation together or not at all.
void Save_Set(const OfferingLines& looseLines, int collectionID, const QDate& date, const QString& notation);

} // namespace CollectionSets

#pragma once

#include <QDate>
#include <QList>
#include <QString>

// Queries more than one report window shares.
namespace ReportQueries {

struct CollectionItem {
    QString text; // "6/15/2025, #57, Easter"
    int id = 0;
};

// The collection sets of the processing year and the year before, newest
// first, as the report windows' collection lists show them.
QList<CollectionItem> Collection_List(int processingYear);

// What is wrong with a date range that ends before it begins ("" when
// nothing is): such a range would give an empty report that looks like a
// range without gifts.
QString Range_Problem(const QDate& begin, const QDate& end);

} // namespace ReportQueries

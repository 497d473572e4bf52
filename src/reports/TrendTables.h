#pragma once

#include "ReportTable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The series of the giving trends charts for one year and one fund: the
// weekly giving against the year before, the pledges against what was paid
// towards them, giving by fund month by month and the number of givers
// month by month. Every amount is a sum of the data file's gifts,
// corrections included; the loose offering is never mixed into the
// contributors' series. No widgets: the window and qv-report draw from it.
namespace Trends {

// One line (or set of bars) of a chart: a value per week or per month and
// the date it stands for. A series may be shorter than the chart's
// categories: a year in progress stops at its last collection set.
struct Series {
    QString name;
    QString group; // the series sharing one date column in the CSV file
    QList<QDate> dates;
    QList<double> values;
    bool secondAxis = false; // drawn against the right-hand axis (running totals)
};

struct Chart {
    QString name;       // file name of its PNG and CSV: "weekly", "pledges", ...
    QString title;
    QString category;   // "Week" or "Month"
    QStringList categories;
    QList<Series> series;
    bool counts = false; // values are numbers of contributors, not amounts
};

struct Charts {
    int year = 0;
    int fundID = 0;
    QString fundName;
    Chart weekly, pledges, funds, contributors;
    QList<const Chart*> All() const { return {&weekly, &pledges, &funds, &contributors}; }
};

struct FundItem {
    QString text;
    int fundID = 0;
};
// The year's main fund first (the default), then the other funds by name.
QList<FundItem> Fund_List(int year);
// The years with collection sets and the processing year, newest first.
QList<int> Year_List(int processingYear);

// The week a date falls in, counted from January 1 in steps of seven days,
// so that every week belongs to one year: 1 to 53.
int Week_Of(const QDate& d);

// The four charts of year for the fund (-year: the main fund, compared with
// the year before's main fund).
Charts Build(int year, int fundID);

// A chart's series as a table: a row per week or month, a date column per
// group of series, a column per series (blank where a series has ended).
ReportTable Table(const Chart& chart);

} // namespace Trends

#pragma once

#include "ReportTable.h"

#include <QDate>
#include <QList>

// The table of the pledge status report: for one pledgeable fund and a date
// range, every contributor's pledge, what was paid before the range and
// within it, what remains and what was overpaid.
namespace PledgeStatus {

enum SortOrder { NameOrder = 1, EnvelopeOrder = 2, PledgeOrder = 3 };

struct Item {
    QString text;
    int data = 0;
};
// The main fund of every year with pledges (by fund reference, highest
// first: the earliest year leads), then the pledgeable funds by name.
QList<Item> Fund_List();
// "Name Order", "Envelope Number Order", "Pledge Order".
QList<Item> Sort_List();

// The sort key of a row: envelope numbers right-aligned so that 9 comes
// before 10, larger pledges first.
QString Sort_Key(int order, qint64 envelope, double pledge, const QString& lastName, const QString& firstNames);
// The loose offering's key: it has neither envelope nor pledge.
QString Loose_Sort_Key(int order);

struct Options {
    int fundID = 0;
    int sortOrder = 0;
    QDate begin, end;
    bool nonPledgers = false; // Include Non-Pledgers
    bool showNames = true;
};

// What remains of a pledge after paid was given towards it (never below
// nothing). The giving trends chart what was paid towards the pledges with
// it too, so that their line ends where this report's totals do.
double Remaining(double pledge, double paid);

ReportTable Empty_Table();
// The rows of the report; an empty table when no fund or order is chosen.
ReportTable Build(const Options& o);

} // namespace PledgeStatus

#pragma once

#include "ReportTable.h"

#include <QDate>
#include <optional>

// The three tables of the weekly collection report of one collection set:
// the header (church, collection, column titles), a line per contributor
// and fund column, and the totals per fund.
namespace WeeklyReport {

struct Tables {
    ReportTable header{QStringLiteral("Header")};
    ReportTable detail{QStringLiteral("Detail")};
    ReportTable fundTotals{QStringLiteral("FundTotals")};
    // The count sheet beside the books (Item, Amount); empty when the
    // plate was not counted.
    ReportTable count{QStringLiteral("Count")};
    QString caption;    // the window's caption for this collection
    int secondFund = 0; // the fund references of the second and third column
    int thirdFund = 0;
    QDate date;
};

// The empty tables with their fields.
Tables Empty_Tables();

// The tables of collection set collectionID, with the contributors named
// or by envelope number. No value when there is no such collection set.
std::optional<Tables> Build(int collectionID, bool showNames);

// The second and third fund of the report: the church's default funds and,
// where one is unset, the funds used most often in the set other than the
// year's main fund and a fund already chosen.
std::pair<int, int> Report_Funds(int collectionID, int defaultFund2, int defaultFund3);

} // namespace WeeklyReport

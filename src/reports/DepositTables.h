#pragma once

#include "ReportTable.h"

#include <optional>

// The deposit slip of a collection set's counted plate, and the count
// sheet the collection report carries: counted, entered, difference.
namespace Deposit {

struct Tables {
    // One row: ChurchName, BankLine, DepositDate, Counter1, Counter2, CountedAt.
    ReportTable header{QStringLiteral("Deposit")};
    // Currency and coin by line: Item, Pieces, Amount.
    ReportTable cash{QStringLiteral("Cash")};
    // Each check: CheckNumber, From, Amount.
    ReportTable checks{QStringLiteral("Checks")};
    QString caption;
};

// The slip of collection set collectionID; no value when there is no such set.
std::optional<Tables> Build(int collectionID);

// Counted cash, counted checks, counted total, entered total and the
// difference (Item, Amount); no rows when the plate was not counted.
ReportTable Count_Sheet(int collectionID);

} // namespace Deposit

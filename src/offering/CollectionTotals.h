#pragma once

#include <QDate>
#include <QList>
#include <QString>

// What one collection set brought in: the processing year's main fund split
// into the part that pays down pledges and the part beyond them, main fund
// money for other years, each other fund, and the grand total.
struct TotalRow {
    QString label;
    double amount = 0;
    bool doubleHeight = false; // the closing total row
};

namespace CollectionTotals {

// The unpledged part of a payment p against a pledge q of which r was paid
// before: up to what was still owed counts as pledged, the rest not.
double Unpledged_Part(double pledge, double paidBefore, double paid);

// The rows of the Totals tab for collection set K in processing year Y.
QList<TotalRow> Build_Totals(int collectionID, int year);

} // namespace CollectionTotals

namespace modGlobal {
// How much of a contributor's amount to a fund in a collection set still
// falls within the pledge: payments in sets dated earlier (or on the same
// date with a smaller number) count as paid before.
double Pledged_Share(int fundID, int contributorID, int collectionID, double amount, const QDate& collectionDate);
} // namespace modGlobal

#pragma once

#include "ReportTable.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <functional>

// The two tables of the contribution statements: the gift lines (date by
// date, up to four money columns) and one summary per contributor who gets
// a statement (church, contributor, titles, pledge position, totals, the
// church's tax statement). Built with a few queries over the whole range,
// never a query per contributor, so the whole church is done in seconds.
namespace Statements {

// What the which list chose: everybody in zip or name order, or one
// contributor (1 = the loose offering).
struct Choice {
    bool zipOrder = false;
    bool alphaOrder = false;
    int contributorID = 0;
    bool All() const { return zipOrder || alphaOrder; }
    bool Any() const { return All() || contributorID > 0; }
};

struct WhichItem {
    QString text;
    int data = 0;
};
extern const QString kAllZip;   // "All - Zip Code Order"
extern const QString kAllName;  // "All - Alphabetical Order"
extern const QString kLoose;    // "<Loose Offering>"
// The which list: everybody in two orders, the loose offering, then every
// active contributor by name.
QList<WhichItem> Which_List();
// The choice an entry of the which list stands for.
Choice Choice_Of(const WhichItem& item);

// The range a statement run starts with: the year to the end of last month.
QDate Default_Begin(const QDate& today);
QDate Default_End(const QDate& today);

// A contributor's sort key: zip code first in zip order; cut to 80.
QString Sort_Key(bool zipOrder, const QString& zip, const QString& lastName, const QString& firstNames);

struct Tables {
    ReportTable lines{QStringLiteral("GiftLines")};
    ReportTable summaries{QStringLiteral("Summaries")};
};
Tables Empty_Tables();

// progress(done, total) is called as contributors are done.
using Progress = std::function<void(int done, int total)>;
Tables Build(const Choice& choice, const QDate& begin, const QDate& end, const Progress& progress = {});

// File names for a statement each: "0042 Smith, John" by the envelope of
// the year's main fund, the name alone without one, "Loose Offering" for
// the loose offering; made safe for a file system and unique in the run.
// Keyed by contributor ID.
QHash<int, QString> File_Names(const ReportTable& summaries, int mainFund);
// A name made fit to be a file's name on any disk: no path or control
// characters, no leading dot, at most 120 characters (and 200 bytes) cut
// between characters, no name Windows keeps for a device ("CON" gives
// "CON_"). Empty when nothing is left.
QString Safe_File_Name(const QString& text);

// What would make a statement wrong or unmailable, checked before a run:
// contributors in the run without an address, gifts in the range to
// inactive funds, collection sets in the range without any offering.
struct Check {
    QStringList noAddress;
    QStringList inactiveFunds;
    QStringList emptySets;
    bool Clean() const { return noAddress.isEmpty() && inactiveFunds.isEmpty() && emptySets.isEmpty(); }
    // The findings as a message, a few names of each kind.
    QString Text() const;
};
Check Pre_Run_Check(const Choice& choice, const Tables& tables, const QDate& begin, const QDate& end);

} // namespace Statements

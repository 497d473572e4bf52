#pragma once

#include <QList>
#include <QString>
#include <utility>

// One person's offerings in one collection set, as numbered lines of a fund
// list beside an amount. The loose offering tab has 15 lines, a
// contributor's offering record 7. Line 1 is kept for the main fund of the
// processing year, lines 2 and 3 for the church's default funds.
//
// The lines live here, not in the controls, so that placing, showing and
// saving can be tested without a window; the windows copy them to and from
// their cboFund(i) and txtAmount(i) controls.

struct FundItem {
    QString text;
    int fundID = 0; // a fund reference: -Y for the main fund of year Y
    bool operator==(const FundItem& o) const { return text == o.text && fundID == o.fundID; }
};

struct OfferingLine {
    QList<FundItem> items;  // the line's fund list
    int selected = -1;      // the chosen item, -1 for none
    int lineFundID = 0;     // the fund of the stored offering or default put here
    QString amount = QStringLiteral("0");
    int offeringID = 0;     // the stored Offering row on this line, 0 for none

    bool HasFund() const { return selected >= 0 && selected < items.size(); }
    int ChosenFund() const { return HasFund() ? items.at(selected).fundID : 0; }
};

// Lines are numbered from 1 as the user sees them: lines[0] is line 1.
using OfferingLines = QList<OfferingLine>;

namespace modOffering {

// The fund list every line starts with: the main fund of the year before,
// the processing year and the year after; further years with active main
// fund pledges; then every active fund by name.
QList<FundItem> Fund_List_Items();
void Fill_Fund_Lists(OfferingLines& lines);
void Clear_Offering_Lines(OfferingLines& lines);
bool Line_Is_Free(const OfferingLines& lines, int line); // line from 1
void Put_On_Line(OfferingLines& lines, int line, int offeringID, int fundID, double amount);
// Puts one stored offering on the line the placement rule picks; false when
// no line was free (the offering is then not shown and a save leaves it alone).
bool Place_Offering(OfferingLines& lines, int offeringID, int fundID, double amount, int defaultFund2, int defaultFund3);
// (second, third) default fund of the church; a missing second takes the third.
std::pair<int, int> Get_Default_Funds();
void Show_Offering_Lines(OfferingLines& lines);
// n fresh lines holding the contributor's offerings in the collection set.
OfferingLines Load_Offering_Lines(int contributorID, int collectionID, int n);
// Writes every line back: zero amounts delete their stored offering, others
// add or update one. All lines in one transaction.
void Save_Offering_Lines(const OfferingLines& lines, int contributorID, int collectionID);
// After a fund was added or changed: new lists, amounts and IDs kept.
void Refresh_Fund_Lists(OfferingLines& lines);
// "Please select a fund for the $5.00 contribution." for every line with an
// amount and no fund, joined by CR LF; empty when every line is fine.
QString Validate_Lines(const OfferingLines& lines);

} // namespace modOffering

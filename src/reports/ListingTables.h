#pragma once

#include "ReportTable.h"

#include <QDate>
#include <QList>
#include <optional>

// The tables of the fund report, the memorial donor labels, the telephone
// directory, the mailing labels and the envelope box labels, built from the
// data file as their windows and qv-report ask for them.
namespace Listings {

struct FundItem {
    QString text; // "2025 Operating Fund", "Building Fund"
    int id = 0;
};

// Funds that received offering: the main fund's years that offering was
// booked to (in the order of their fund references: the earlier year
// first), then every additional fund by name.
QList<FundItem> Offering_Fund_List();
// Funds that can be pledged to: the main fund's years that pledges were
// made to, then the pledgeable additional funds by name.
QList<FundItem> Pledge_Fund_List();

// Which offerings of a fund a report reads: those of one collection set or
// those of the sets dated within a range (both ends included).
struct Selection {
    int fundID = 0;
    bool byCollection = false;
    int collectionID = 0;
    QDate begin, end;
    // Nothing to show: no fund, or a collection set asked for but not chosen.
    bool IsEmpty() const { return fundID == 0 || (byCollection && collectionID < 1); }
};

// The skip count of a label window's box: typed text read as a whole
// number; text that is no number counts as 0 (with a beep when it was not
// blank), a negative count as 0, and no more than a few sheets are left
// blank, so a slip of the finger does not ask for a million empty pages.
int Skip_Count(const QString& text);
constexpr int kMaxSkip = 300;

// Fund report: a line per gift, ordered by date and giver; one line with
// the title and a zero amount when nothing was given. No value when the
// selection is empty.
ReportTable Fund_Table();
std::optional<ReportTable> Fund_Report(const Selection& s, bool showNames);
QString Fund_Report_Title(const Selection& s); // "Building Fund Receipts from ..."

// Address labels (memorial donors and mailing labels): skip blank labels
// ("." sorted first as "A"), then a label per giver or contributor.
ReportTable Label_Table();
std::optional<ReportTable> Memorial_Labels(const Selection& s, int skip);
QString Memorial_Title(const Selection& s); // "Memorial Fund Donors from ..."

// Which contributors the directory and mailing labels list; neither box
// ticked gives no value (the window keeps its last report).
std::optional<QString> Contributor_Query(bool active, bool inactive);

ReportTable Telephone_Table();
// byPhone: the directory sorted on the telephone number, else on the name.
std::optional<ReportTable> Telephone_Directory(bool active, bool inactive, bool byPhone);

// byZip: sorted on zip code, then name; else on name.
std::optional<ReportTable> Mailing_Labels(bool active, bool inactive, bool byZip, int skip);

// Envelope box labels: a label per pledge to the fund by a contributor who
// uses offering envelopes. No value without a fund.
ReportTable Envelope_Table();
std::optional<ReportTable> Envelope_Labels(int fundID, bool byNumber, int skip);

} // namespace Listings

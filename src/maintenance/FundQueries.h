#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the fund windows and the preferences read from the Funds table, and
// the texts they build from it.
namespace FundQueries {

struct FundRow {
    int id = 0;
    QString name;
    bool pledgeable = false;
    bool taxDeductible = false;
    bool inactive = false;
};

// Every additional fund (the main fund, row 1, never), in no particular
// order. A Null flag reads as False.
QList<FundRow> Additional_Funds();

// The five cells of a fund list row: key, name, "Yes"/"No" for pledges,
// "I" when inactive, "Yes"/"No" for tax-deductible.
QStringList List_Cells(const FundRow& row);
// The fund of one ID as a list row; id 0 when the fund no longer exists.
FundRow Fund(int id);

// The choices of a default-fund list: every additional fund by name,
// inactive and non-pledgeable ones too.
struct Choice {
    int id = 0;
    QString name;
};
QList<Choice> Default_Fund_Choices();

// Whether a fund other than the one with this ID already bears the name
// (compared as the data file compares text: without regard to case; the
// name is taken without surrounding blanks).
bool Name_Used_by_Other(const QString& name, int id);

// The question asked before a fund is deleted, from the cells of its row.
QString Delete_Question(const QString& name, const QString& pledges, const QString& taxDeductible);

} // namespace FundQueries

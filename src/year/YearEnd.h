#pragma once

#include "reports/ReportTable.h"

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>
#include <functional>

// The year-end pledge work on every pledge of one fund reference at once:
// numbering the envelopes (and the auxiliary numbers of contributors
// without envelopes) and marking pledges active or inactive, with what the
// dialogs show before they run it.
namespace modGlobal {

// How a routine tells the window how far it has come: Show_Progress once
// with the number of records and a description, Increment_Progess for every
// record read. Either may be left empty.
struct Progress {
    std::function<void(int count, const QString& description)> Show_Progress;
    std::function<void(int step)> Increment_Progess;
};

// One contributor whose number for the fund changes.
struct NumberChange {
    int contributorID = 0;
    QString name;       // last name first
    int oldNumber = 0;  // the number before; for a main fund without one, last year's; 0: none
    int newNumber = 0;
    bool envelope = true; // an envelope number, else an auxiliary one
};

// The contributors a numbering run gives numbers to: the active ones of the
// kind (envelope users or not), ordered by last and first names (and by ID
// between equal names, so that a second run gives the same numbers).
int Contributors_To_Number(bool envelopeUsers);
// What the numbering box shows beside it: "42 contributors: 1 to 42".
QString Numbers_Preview(int count, int firstNumber);
// The contributors whose number would change, without writing anything.
QList<NumberChange> Plan_Numbers(int fundID, int firstNumber, bool envelopeUsers);

// Numbers the contributors' pledges to the fund from firstNumber on,
// making a pledge with only the number, contributor and fund for whoever
// has none. One transaction: on a failure nothing is changed. The change
// notices go out after the commit. Returns the contributors whose number
// changed, in numbering order.
QList<NumberChange> Assign_Numbers(int fundID, int firstNumber, bool envelopeUsers, const Progress& progress = {});

// How many of the fund's pledges are not yet marked as asked.
int Pledges_To_Mark(int fundID, bool active);
// Marks every pledge of the fund active or inactive, in one transaction,
// notices after the commit. Returns the number of pledges changed.
int Set_Pledges_Active(int fundID, bool active, const Progress& progress = {});

// The list of changed numbers handed out with the envelopes, as the report
// table "ChangedNumbers": Fund (the fund's display name), ContributorID,
// Name, Kind ("Envelope" or "Auxiliary"), OldNumber (Null when there was
// none) and NewNumber, one row per change in the given order.
ReportTable Changed_Numbers_Table(int fundID, const QList<NumberChange>& changes);

// The years the change-of-year dialog offers, from the earliest collection
// set's year (last year without any) to the latest one's, but at least next
// year; the preset is last year in January to June, else next year, or the
// nearest listed year when that one is not listed.
struct YearList {
    QList<int> years;
    int selected = -1; // index into years
};
YearList Year_List(const QDate& today);

} // namespace modGlobal

Q_DECLARE_METATYPE(QList<modGlobal::NumberChange>)

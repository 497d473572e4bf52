#pragma once

#include "FundQueries.h"

#include <QList>
#include <QString>

// The two parts of the Church row that the church and preferences windows
// edit, read and written as a whole.
namespace Preferences {

// The church's name, address and telephone.
struct Identity {
    QString name, address1, address2, city, state, zipCode, phone;
};
Identity Load_Identity();
// Writes the seven values over the row as it is now, so that settings or a
// password stored by another window since the caller read the row stay.
void Save_Identity(const Identity& identity);

// The program settings kept in the Church row.
struct Settings {
    bool useCurrentDate = false;
    int dayOfWeek = 0;       // 0 Sunday .. 6 Saturday
    int defaultFund2 = 0;    // 0: none
    int defaultFund3 = 0;
    QString irsStatement;
    bool assignEnv = true;
};
Settings Load_Settings();
void Save_Settings(const Settings& settings);

// Where a default fund stands in a list made of an empty first item and the
// choices: the empty item for 0, -1 (no selection) for a fund that is no
// longer there.
int List_Position(const QList<FundQueries::Choice>& choices, int fundID);
// The fund a list position means: 0 for no selection or the empty item.
int Fund_At(const QList<FundQueries::Choice>& choices, int position);

// The tax statement box shows line breaks as "\n"; a statement written by
// an older copy of the program may hold CR LF.
QString Statement_for_Box(const QString& stored);

} // namespace Preferences

#pragma once

#include <QList>
#include <QString>

// The contributors as the list windows show them: with the envelope number
// of a year's main fund pledge.
namespace ContributorQueries {

struct Row {
    int id = 0;
    QString name;       // last name first
    int envelope = 0;   // 0: no envelope number this year
    bool inactive = false;
};

// Every contributor, in no particular order, with the AccountNumber of its
// pledge to the main fund of the year (active or not; with several, the
// last one read).
QList<Row> With_Envelopes(int year);

} // namespace ContributorQueries

#pragma once

#include "offering/modOffering.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// What the contributor list, the contributor window and the pledge dialog
// read and write, apart from the record classes themselves.
namespace ContributorMaintenance {

// --- the contributor list -------------------------------------------------
struct ListRow {
    int id = 0;
    QString name;     // last name first
    int envelope = 0; // 0: none this year
    bool inactive = false;
};
// One contributor as the list shows it, with the envelope number of its
// first main fund pledge of the year; false when the contributor is gone.
bool List_Row(int contributorID, int year, ListRow* row);
// The envelope number of the contributor's first main fund pledge of the year.
int Envelope_Of(int contributorID, int year);
// "This Contributor will be deleted." and the rest of the question.
QString Delete_Contributor_Question(const QString& name, const QString& envelope);

// --- the contributor window -------------------------------------------------
struct PledgeRow {
    int id = 0;
    int accountNumber = 0;
    QString fundName; // "2025 Operating Fund" for the main fund of a year
    double amount = 0;
    bool inactive = false;
};
QList<PledgeRow> Pledge_Rows(int contributorID);
bool Pledge_Row(int pledgeID, PledgeRow* row);
QString Delete_Pledge_Question(const QString& number, const QString& fund, const QString& amount);
// Lines "Roberta Smith" for each contributor of that last name whose first
// names contain the first four letters typed (case aside); empty first
// names on either side never match an existing one with none.
QStringList Similar_Names(const QString& lastName, const QString& firstNames);
// The same search, with each contributor's ID beside the line.
QList<std::pair<int, QString>> Similar_Contributors(const QString& lastName, const QString& firstNames);
QString Similar_Names_Question(const QStringList& lines, const QString& firstNames, const QString& lastName);
// The pledges written for a new contributor who was never saved.
void Discard_Pledges(int contributorID);

// --- the pledge dialog ---------------------------------------------------------
// The funds a new pledge may go to: the processing year's main fund while
// the contributor has no pledge to it, then every pledgeable fund.
QList<FundItem> Pledge_Fund_Items(int contributorID);
// The name of an existing pledge's fund, "" when its fund row is gone.
QString Pledge_Fund_Name(int fundID);
// The next envelope (from 1) or auxiliary (from 10001) number of a fund.
int Next_Account_Number(int fundID, bool useEnvelopes);

} // namespace ContributorMaintenance

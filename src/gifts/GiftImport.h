#pragma once

#include "GiftCsv.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <utility>

// Gifts downloaded from a giving platform, booked into the collection sets:
// the columns mapped, each donor matched to a contributor, each designation
// to a fund, then everything written at once. Nothing here shows a window;
// the import window and the command line tool share all of it.
namespace GiftImport {

enum Field { fDate, fName, fFirstName, fEmail, fAmount, fFee, fFund, fTransaction, fDeposit, FieldCount };
QString Field_Caption(Field f); // "Date", "Donor name (or last name)", ...

// For each field the file's column that holds it, -1 for none.
struct Mapping {
    QString name; // the platform, as the treasurer named it
    std::array<int, FieldCount> column;
    Mapping() { column.fill(-1); }
};
// A first mapping from the column headings ("Gift Date", "E-mail", ...).
Mapping Guess_Mapping(const QStringList& header);
// "" when the mapping can be used: date, name and amount each have a
// column, and no column serves two fields.
QString Mapping_Problem(const Mapping& m);
// The mapping kept for this very header row; false when none is kept.
bool Kept_Mapping(const QStringList& header, Mapping* m);
// The mapping kept under that name, applied to this header row by the
// column headings; false with the reason when a heading is missing.
bool Named_Mapping(const QString& name, const QStringList& header, Mapping* m, QString* problem);
void Keep_Mapping(const QStringList& header, const Mapping& m);
QStringList Mapping_Names();

struct Gift {
    int line = 0; // in the file, for the lists shown
    QDate date, deposit;
    QString lastName, firstNames, email, designation, transactionID;
    qint64 cents = 0, feeCents = 0;
};
struct Refused {
    int line = 0;
    QString reason;
};

// "Smith, John" and "John Smith" to ("Smith", "John").
std::pair<QString, QString> Split_Name(const QString& fullName);

enum class How { Email, Name, Chosen, Candidates, Unknown, New };
struct Donor {
    QString lastName, firstNames, email;
    How how = How::Unknown;
    int contributorID = 0;
    QString contributorName; // as the contributor list shows it
    QList<std::pair<int, QString>> candidates;
    int gifts = 0;
};
// Fund 0 is the main fund of the year each gift was given in.
struct Designation {
    QString text;
    bool mapped = false;
    int fundID = 0;
    qint64 cents = 0;
};

struct Plan {
    QString fileName;
    QList<Gift> gifts;
    QList<Refused> refused;       // rows that could not be read
    QList<int> donorOf;           // per gift, into donors
    QList<int> designationOf;     // per gift, into designations
    QList<bool> already;          // per gift: imported before, or twice in the file
    QList<Donor> donors;
    QList<Designation> designations;
};

Plan Prepare(const GiftCsv::Table& table, const Mapping& m, const QString& fileName);
// The treasurer's answers in the preview: a contributor for a donor (0 adds
// the donor as a new contributor), a fund for a designation.
void Choose_Contributor(Plan& plan, int donor, int contributorID);
void Map_Designation(Plan& plan, int designation, int fundID);
// What still stops the import, one line each; empty when it can go ahead.
// A donor with similar names among the contributors must be decided; one
// without any becomes a new contributor when the treasurer agrees.
QStringList Open_Questions(const Plan& plan);
// The funds a designation may go to: the main fund of the gift's year,
// then every active fund.
QList<std::pair<int, QString>> Fund_Choices();
QString Fund_Name(int fundID);

struct TotalRow {
    QString label;
    int gifts = 0;
    qint64 cents = 0, feeCents = 0;
};
// The gifts that will be written, per fund and per deposit date.
QList<TotalRow> Totals_Per_Fund(const Plan& plan);
QList<TotalRow> Totals_Per_Date(const Plan& plan);

struct Summary {
    int gifts = 0, refunds = 0, newContributors = 0;
    qint64 cents = 0, feeCents = 0;
    QList<int> collectionIDs;
    QStringList skipped; // "Line 4: transaction T-100 was imported before"
    QStringList refused; // gifts of donors left without a contributor
    QStringList stopped; // designations without a fund: nothing was written
};
// Writes every gift not imported before, all in one transaction: one new
// collection set per deposit date, new contributors, the kept designations.
// Gifts of donors still without a contributor are left out and listed; a
// designation without a fund stops it all before anything is written.
// Throws DbError with nothing written.
Summary Write(Plan& plan);
QStringList Summary_Lines(const Summary& s);

} // namespace GiftImport

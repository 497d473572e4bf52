#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>

// The counted plate of a collection set: currency and coin by
// denomination, the checks one by one, who counted and when. Every amount
// is whole cents and every total is computed from the counts, so that the
// count, the books and the deposit agree to the cent or say by how much
// they do not.
namespace PlateCount {

struct Denomination {
    QString label;  // as the count sheet and the deposit slip show it
    qint64 cents;
};
// $100, $50, $20, $10, $5, $2, $1.
const std::array<Denomination, 7>& Currency();
// Dollar coins, quarters, dimes, nickels, pennies.
const std::array<Denomination, 5>& Coins();

struct CheckLine {
    QString number;
    qint64 cents = 0;
    int contributorID = 0; // 0 when not known
};

struct Count {
    std::array<qint64, 7> bills{};  // pieces of each currency denomination
    std::array<qint64, 5> coins{};  // pieces of each coin
    qint64 rolledCents = 0;         // coin counted as rolls, as an amount
    QList<CheckLine> checks;
    QString counter1, counter2;
    QDateTime countedAt;
    // The difference the treasurer chose to keep; none while not asked or
    // answered No.
    bool keptDifference = false;
    qint64 keptCents = 0;

    qint64 CurrencyCents() const;
    qint64 CoinCents() const; // loose and rolled
    qint64 CashCents() const { return CurrencyCents() + CoinCents(); }
    qint64 CheckCents() const;
    qint64 TotalCents() const { return CashCents() + CheckCents(); }
    int CheckCount() const;   // lines with an amount
    // Nothing counted yet: no pieces, no rolls, no check amounts.
    bool IsEmpty() const;
};

// Reads an amount as typed ("$1,234.50", "(5.00)", "-5", ".25") into
// cents, rounded half away from zero past the second decimal; false for
// anything that is no amount.
bool Parse_Cents(const QString& text, qint64* cents);
// "$1,234.50", "($5.00)" for a negative amount.
QString Format_Cents(qint64 cents);

// What the books hold for the set, in cents: every gift entered in it.
qint64 Entered_Cents(int collectionID);
// Counted minus entered: positive when the plate held more than was entered.
inline qint64 Difference(const Count& c, qint64 enteredCents) { return c.TotalCents() - enteredCents; }
// Whether Done must ask: a count was made, it differs from the books, and
// that very difference has not been kept already.
bool Must_Ask(const Count& c, qint64 enteredCents);

// The set's count; an empty one when none was saved.
Count Load(int collectionID);
// Writes the count and its checks, replacing what was there, all or
// nothing; throws DbError with the engine's text.
void Save(int collectionID, const Count& c);

// The line the deposit slip prints under the church: the bank and account.
QString Bank_Line();
void Save_Bank_Line(const QString& line);

} // namespace PlateCount

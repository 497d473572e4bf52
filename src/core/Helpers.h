#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// The small formatting and reading functions every window and record class
// uses the same way, so that every window shows amounts, names and dates alike.
namespace modGlobal {

// --- amounts and whole numbers -------------------------------------------
// The largest amount, either sign, that a box or grid takes.
constexpr double kLargestAmount = 999999999.99;
// Reads a number as the program writes it or a user types it: "$1,234.50",
// "($5.00)", "1234.5", "-5", "1,000", ".5". Anything else ("1e5", "1,2,3",
// "(-5)"), and anything beyond the largest amount, is not a number.
bool ParseNumber(const QString& text, double* value);
// Text that is not a number gives way to 0; this is the one place where the
// user is told so: a beep and a status-bar note, unless the text was blank.
// what is "amount" or "number", as the note names it.
void Refuse_Number(const QString& text, const QString& what);
// The status-bar note of a refused number ("'1O0' is not an amount"); "" for a blank box.
QString Refusal_Note(const QString& text, const QString& what);
// A sum or amount rounded to whole cents, half away from zero.
double RoundCents(double v);
// "$#,##0.00;($#,##0.00)" of a value.
QString FormatAmount(double v);
// Normalises typed text to the amount format; not a number gives "$0.00"
// and a beep unless the text was blank.
QString AmountText(const QString& text);
// The same with the format "0" (rounded to a whole number); the forms are
// those of amounts, the bound that of a whole-number column (2147483647).
QString WholeNumberText(const QString& text);
// The value of an amount or number box (0 when it holds no number).
double AmountValue(const QString& text);
QString BlankIfZero(int n);
bool AmountIsZero(double v);

// --- field readers: a database value in, a plain value out ---------------
QString FieldText(const QVariant& v);
int FieldLong(const QVariant& v);
short FieldInt(const QVariant& v);
QDate FieldDate(const QVariant& v);
double FieldDouble(const QVariant& v);
bool FieldBool(const QVariant& v);
QDate ZeroDate(); // the date of a Null date column

// --- text ------------------------------------------------------------------
QString TrimBlanks(const QString& s);   // leading and trailing blanks
// Text as it may be stored: without control characters (a NUL, a form feed
// pasted from elsewhere), keeping line breaks only where the box has lines.
QString CleanText(const QString& s, bool multiLine = false);
// The first 'size' characters of a text, never half of a character that
// takes two (an emoji): that one is left out whole.
QString CutText(const QString& s, int size);
QString RTrimBlanks(const QString& s);  // trailing blanks
QString PairJoin(const QString& a, const QString& b);
QString NameJoin(const QString& lastName, const QString& firstNames, bool lastNameFirst);
QString AddressJoin(const QString& address1, const QString& address2, const QString& city, const QString& state,
                    const QString& zipCode, bool multiLine);
QString EnvelopeSortKey(int number, const QString& name);
QString HeadingWrap(const QString& text, int lines);

// --- dates -------------------------------------------------------------------
// The locale's short date form with a four-digit year, so that a date shown
// in a grid reads back as the same date.
QString ShortDateFormat();
QString ShortDate(const QDate& d);
QDate ParseShortDate(const QString& text);
QString LongDate(const QDate& d); // "mmmm d, yyyy"

} // namespace modGlobal

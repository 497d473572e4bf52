#pragma once

#include <QDate>
#include <QString>

// How the program reads what a person types where the text is not an
// amount: names searched for and dates typed into a date box.
namespace modGlobal {

// The form in which names are compared when a person searches for them:
// upper case and without accents, so that "lefe" finds "Lefèvre" and
// "muller" finds "Müller".
QString SearchKey(const QString& text);

// A date typed in the short date form (month, day and year in the locale's
// order, "6/7/2026"): a two-digit year is of this century, and a date typed
// without its year takes defaultYear. Anything else gives an invalid date.
QDate ParseTypedDate(const QString& text, int defaultYear);
// The one character that separates the parts of a short date ("/").
QChar DateSeparator();

} // namespace modGlobal

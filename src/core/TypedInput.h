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

// A date typed as a person writes it: in the locale's numeric short form
// ("22.06.2025" in Germany), in the US form ("6/22/2025", "6/22/25", or
// "6/22" for defaultYear) or in the ISO form ("2025-06-22"). Where a form
// could be read two ways the locale's order wins. A two-digit year is of
// this century. Anything else gives an invalid date.
QDate ParseTypedDate(const QString& text, int defaultYear);
// The character that separates the parts of a short date as shown ("/").
QChar DateSeparator();
// A character that may separate the parts of a typed date: "/", ".", "-".
bool IsDateSeparator(QChar c);

} // namespace modGlobal

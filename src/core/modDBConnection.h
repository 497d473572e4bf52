#pragma once

#include <QDate>
#include <QString>

// Turning values into SQL text, and the column type names of the schema.
namespace modDBConnection {

QString TextLiteral(const QString& s);   // O'Brien -> 'O''Brien'
QString DateLiteral(const QDate& d);     // #2024-01-07#
QString BoolLiteral(bool b);             // TRUE / FALSE
QString NumberLiteral(double v);         // plain decimal, shortest exact form

QString TypeBoolean();                   // YESNO
QString TypeLong();                      // INTEGER
QString TypeInteger();                   // SMALLINT
QString TypeDouble();                    // NUMBER
QString TypeDate();                      // DATE
QString TypeText(int size);              // TEXT(n)

// The file name of a data file from a data file path, with ".MDB" added
// unless the path already ends in it (compared without regard to case).
QString DataFileName(const QString& dataFilePath);

} // namespace modDBConnection

#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Reading the gift files that giving platforms offer for download: a text
// table with a header row. Nothing read from such a file is trusted; every
// reader here takes any bytes and answers "not readable" rather than fail.
namespace GiftCsv {

struct Table {
    QStringList header;
    QList<QStringList> rows; // blank lines left out; short rows padded
    QList<int> lines;        // the file's line on which each row starts
    QChar separator = QLatin1Char(',');
    bool windows1252 = false; // the bytes were not UTF-8
};

// UTF-8 (a byte order mark is dropped) when the bytes are valid UTF-8,
// else Windows-1252. The separator is whichever of comma and semicolon the
// header row uses more, outside quotes.
QString DecodeText(const QByteArray& bytes, bool* windows1252 = nullptr);
Table Read(const QByteArray& bytes);

// "1,234.50", "$25.00", "(25.00)", "-25", "25,00" (where a semicolon
// separates the columns, the comma is the decimal mark unless a point
// follows it) to whole cents, without a binary fraction on the way. False
// for anything else, fractions of a cent included.
bool ReadCents(const QString& text, qint64* cents, bool decimalComma = false);
// ISO (2025-06-08, with a time part after T or a blank), M/D/YYYY and
// M/D/YY (D/M when the first number cannot be a month), D.M.YYYY, each
// with an optional time part. An invalid date for anything else.
QDate ReadDate(const QString& text);

} // namespace GiftCsv

#pragma once

#include "gifts/GiftImport.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Gift files as a platform writes them, for the tests.
namespace GiftFiles {

inline const QByteArray kHeader = "Date,Donor Name,Email,Gross Amount,Fee,Fund,Transaction ID,Deposit Date\r\n";

inline QString Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return QString();
    return path;
}

// The file read and prepared with the mapping its headings suggest.
inline GiftImport::Plan Prepare(const QByteArray& bytes, const QString& fileName = QStringLiteral("gifts.csv"))
{
    const GiftCsv::Table t = GiftCsv::Read(bytes);
    return GiftImport::Prepare(t, GiftImport::Guess_Mapping(t.header), fileName);
}

} // namespace GiftFiles

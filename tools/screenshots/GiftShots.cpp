// The online gifts import: the column mapping and the preview, on a file
// written for the sample books (two donors known by name, one whose name
// is close to a contributor's, one new; a designation still without a fund).
// The preview's width is the main area's at most, as a treasurer sees it.
#include "core/Helpers.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <functional>

void Gift_Screenshots(const std::function<void(QWidget*, const QString&)>& save, const QString& folder)
{
    Recordset rs(QStringLiteral("SELECT LastName, FirstNames FROM Contributors WHERE ID > 1 AND FirstNames <> '' "
                                "ORDER BY ID LIMIT 3;"),
                 modGlobal::DB());
    QStringList names;
    for (; !rs.Eof(); rs.MoveNext())
        names << modGlobal::FieldText(rs.Field(1)) + QLatin1Char(' ') + modGlobal::FieldText(rs.Field(0));
    while (names.size() < 3)
        names << QStringLiteral("Pat Doe");
    const QString path = QDir(folder).filePath(QStringLiteral("givenow-2025-06.csv"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    // The third donor signs with a short first name: the contributor is offered, not taken.
    const QString last3 = names.at(2).section(QLatin1Char(' '), -1);
    const QString short3 = names.at(2).section(QLatin1Char(' '), 0, 0).left(4);
    f.write(QStringLiteral("Gift Date,Donor Name,Email,Gross Amount,Fee,Designation,Transaction ID,Payout Date\r\n"
                           "2025-06-01 09:12,%1,,\"1,250.00\",$36.55,General,ch_3PqL0a,2025-06-03\r\n"
                           "2025-06-01 17:40,%2,,$50.00,$1.75,General,ch_3PqL0b,2025-06-03\r\n"
                           "2025-06-02 08:03,%4 %3,,$25.00,$1.03,Youth Mission Trip,ch_3PqL0c,2025-06-03\r\n"
                           "2025-06-06 21:15,Riley Newcomer,,$100.00,$3.20,General,ch_3PqL0d,2025-06-10\r\n"
                           "2025-06-07 11:30,%2,,($50.00),$0.00,General,ch_3PqL0e,2025-06-10\r\n")
                .arg(names.at(0), names.at(1), last3, short3)
                .toUtf8());
    f.close();
    frmChild* mapping = Windows::Open_New(QStringLiteral("frmGiftMapping"), {{QStringLiteral("FileName"), path}});
    save(mapping->Frame(), QStringLiteral("frmGiftMapping"));
    mapping->Frame()->close();
    frmChild* preview = Windows::Open_New(QStringLiteral("frmGiftPreview"), {{QStringLiteral("FileName"), path}});
    if (QWidget* area = preview->Frame()->parentWidget())
        preview->Frame()->resize(std::min(area->width(), preview->Frame()->width()), preview->Frame()->height());
    save(preview->Frame(), QStringLiteral("frmGiftPreview"));
    preview->Frame()->close();
    QApplication::processEvents();
}

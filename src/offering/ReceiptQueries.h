#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "modOffering.h"

// What the contributor offering record reads and writes besides its lines.
namespace ReceiptQueries {

struct HistoryRow {
    QDate date;
    double amount = 0;
    QString fund;
    QString comment;
};

// The contributor's offerings in sets dated before the given date, newest
// first, one row per offering with its set's comment.
QList<HistoryRow> History(int contributorID, const QDate& before);

QString Comment(int contributorID, int collectionID);
// Keeps at most one comment per contributor and set: empty deletes it.
void Save_Comment(int contributorID, int collectionID, const QString& text);
// The record's OK: its lines and its comment together or not at all, so
// that after a failure the window's lines still stand for what is stored
// and pressing OK again writes each amount once.
void Save_Receipt(const OfferingLines& lines, int contributorID, int collectionID, const QString& comment);

} // namespace ReceiptQueries

#pragma once

#include <QObject>

// Table codes of a change notice.
enum DBTable { dbChurch = 1, dbCollection = 2, dbContributors = 3, dbFunds = 4, dbOffering = 5, dbPledges = 6, dbColComment = 7 };

// The change notifier: every write of a record class ends in Notify, and
// every open window hears of it through DBChange.
class clsDBEvent : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void Notify(int table, bool added, bool changed, bool deleted, int recordID, int contributorID)
    {
        emit DBChange(table, added, changed, deleted, recordID, contributorID);
    }

signals:
    void DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID);
};

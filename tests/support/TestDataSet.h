#pragma once

#include "ScriptedResponder.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class Connection;

// One change notice as the notifier sent it.
struct Notice {
    int table;
    bool added, changed, deleted;
    int recordID, contributorID;
    bool operator==(const Notice& o) const
    {
        return table == o.table && added == o.added && changed == o.changed && deleted == o.deleted
            && recordID == o.recordID && contributorID == o.contributorID;
    }
};
QDebug operator<<(QDebug d, const Notice& n);

// A fresh data set in a temporary folder for one test: the program, data
// and settings folders all point into it, the date is fixed at 2025-06-15
// with processing year 2025, every table is ready and every broadcast is
// recorded. Builders add rows through the record classes.
class TestDataSet {
public:
    enum class Start { Ready, EmptyFileOnly, FoldersOnly };
    explicit TestDataSet(Start start = Start::Ready);
    ~TestDataSet();

    QString Folder() const;
    QString DataFile() const; // the open data file
    Connection& DB();
    ScriptedResponder& Messages() { return *m_responder; }

    // The notices sent since the set was made (or since ClearNotices).
    const QList<Notice>& Notices() const { return *m_notices; }
    void ClearNotices();

    int AddFund(const QString& name, bool pledgeable = true, bool taxDeductible = true, bool inactive = false);
    int AddContributor(const QString& lastName, const QString& firstNames = {}, bool useEnvelopes = true,
                       bool inactive = false);
    int AddPledge(int contributorID, int fundID, double amount, int accountNumber = 0, bool inactive = false);
    int AddCollection(const QDate& date, const QString& notation = {});
    int AddOffering(int contributorID, int collectionID, int fundID, double amount);
    int AddComment(int contributorID, int collectionID, const QString& comment);

    // A single number from a query (Null as 0), for checking what reached the file.
    double Scalar(const QString& sql);

    // Opens the connection and listens to the notifier without making tables
    // ready (for tests of the table-ready sequence).
    void OpenOnly();
    // Records the notices of the current notifier (after a start-up made one).
    void Listen();
    // Puts the built empty template where start-up looks for it.
    void ProvideTemplate();

private:

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedResponder> m_responder;
    std::shared_ptr<QList<Notice>> m_notices;
    QMetaObject::Connection m_listener;
};

// The locale and date every test runs with.
void PrepareTestEnvironment();

// App is QCoreApplication, QGuiApplication where reports measure their text
// with real fonts, or QApplication for windows; none is ever shown.
#define QV_TEST_MAIN(TestClass, App)                                                                                   \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                                       \
        App app(argc, argv);                                                                                           \
        PrepareTestEnvironment();                                                                                      \
        TestClass tc;                                                                                                  \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

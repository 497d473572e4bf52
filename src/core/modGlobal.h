#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class Connection;
class clsDBEvent;

// The values every window shares for the whole run, and the one connection.
namespace modGlobal {

enum TableIndex { tiKeyGen, tiFunds, tiChurch, tiContributors, tiPledges, tiCollection, tiOffering, tiColComment, TableCount };

extern int ProcessingYear;
extern QString DataFilePath;       // without extension in the default case
extern QString MainFundName;
extern bool AssignEnvelopes;       // default UseEnvelopes of a new contributor
extern std::array<QString, 7> WeekdayNames; // 9 characters each, blank-padded
extern std::array<bool, TableCount> TableReady;

void FillWeekdayNames();
void ResetTableReady();

// The open connection. DB() throws DbError when no data file is open.
Connection& DB();
bool HasDB();
void SetDB(std::unique_ptr<Connection> connection);
void CloseDB();

// The change notifier; writes broadcast through it when it exists.
clsDBEvent* DBEvent();
void SetDBEvent(std::unique_ptr<clsDBEvent> notifier);
// Sends a change notice to every listener. Inside a transaction the notice
// is held until the transaction ends (see Connection::Transaction). A
// listener's database error is shown to the user and does not reach the
// writer, whose write has already been stored.
void Notify(int table, bool added, bool changed, bool deleted, int recordID, int contributorID);
void SendHeldNotices();
void DropHeldNotices();


// Whether a fund (kind 1) or contributor (kind 2) detail window for the ID
// is open. The window layer installs the real lookup; without windows none is.
using FindOpenWindowFn = std::function<bool(int kind, int id, bool bringForward)>;
void SetFindOpenWindow(FindOpenWindowFn fn);
bool Find_Open_Window(int kind, int id, bool bringForward);

// The computer's date; tests fix it.
QDate Today();
void SetToday(const QDate& d); // an invalid date returns to the clock

// Folders. Overridable so that tests run in a temporary folder.
QString ProgramFolder();   // the executable's folder: EMPTY.MDB
QString DataFolder();      // QVDATA.MDB
QString SettingsFolder();  // VXOQV.INI
void SetProgramFolder(const QString& f);
void SetDataFolder(const QString& f);
void SetSettingsFolder(const QString& f);

} // namespace modGlobal

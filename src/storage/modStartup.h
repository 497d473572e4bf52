#pragma once

#include <QString>
#include <functional>

// From launch to an open data file, and back at exit, without any window:
// the main window calls these from its load and unload.
namespace modStartup {

// Asks the user which data set to open; returns its number (1 when the
// choice was closed without one).
using PickDataSet = std::function<int()>;

enum class Result { Ready, NoDataFile, OpenFailed, InUse };

// Processing year, data-set choice, data file (made from EMPTY.MDB when
// missing), connection, change notifier, every table made ready, main fund
// name. Problems are shown through the message service with the engine's
// text; anything but Ready means the program cannot go on.
Result Start_Up(const PickDataSet& pick);

// Constructs one object of every record class, in the start-up order, so
// that every table and default row exists. KeyGen waits for the first key.
void MakeTablesReady();

// Closes the connection and stores the processing year, in [General] and in
// the open data set's own section, whose year wins at the next start.
void Shut_Down();

// The number of data sets the settings file lists (1 when it lists none,
// never more than kMostDataSets).
constexpr int kMostDataSets = 99;
int NumberDataSets();
// The "DBLabel" or "DBName" of data set n.
QString DataSetValue(int n, const QString& key);
// Closes the open data file and opens another as the program's data file:
// every table made ready, main fund name and church settings read; the
// books left keep their processing year and the books opened bring back
// theirs when their section keeps one. Throws
// DbError when it cannot be opened (no data file is open then).
void Open_Data_File(const QString& dataFilePath);
// Lists one more data set in the settings file; its number, or 0 when the
// settings file could not be written.
int Add_Data_Set(const QString& dbName, const QString& label);

// The no-data-file message text.
QString NoDataFileText();

// Takes the data file for this copy of the program until Shut_Down (or the
// next Start_Up). Returns "" when taken (or when the folder takes no lock
// file), else the message that tells who has the file open and since when.
QString Lock_Data_File(const QString& dataFile);
QString LockFilePath(const QString& dataFile);

} // namespace modStartup

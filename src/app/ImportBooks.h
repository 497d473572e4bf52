#pragma once

#include <QString>

class frmMain;

// File, Import Books of the Older Program: the old Jet data file is chosen
// in a file dialog and imported into a new data set beside the open data
// file, which is listed in the settings file; the counts are reported and
// the new data set may be opened at once.
namespace ImportBooks {

QString MenuCaption(); // "&Import Books of the Older Program..."
// The reader run in a child process: qv-import beside the program unless a
// test names another ("" for the default).
void SetImportTool(const QString& path);
void Run(frmMain* main);

// Closes every task window and opens another data file in their place,
// asking its password when it has one. On any refusal the data file that
// was open stays (or is opened again); false then.
bool Open_Data_Set(frmMain* main, const QString& dataFile);

} // namespace ImportBooks

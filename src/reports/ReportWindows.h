#pragma once

// Registers the report windows with the shell's window registry under their
// names (Windows::Register), so that the Print menu and the offering
// window's Print open them.
void RegisterReportWindows(); // frmRptWeeklyReport

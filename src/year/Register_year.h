#pragma once

// Registers the year-end windows (frmYear, frmAssign, frmActive, and
// frmRptNumbers, the list of changed numbers) and the safety copy window
// (frmRestore) with the shell's window registry.
void RegisterYearWindows();

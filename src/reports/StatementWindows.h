#pragma once

// Registers frmRptStatements and frmRptPledgeStatus with the shell's
// window registry, so that the Print menu opens them by name.
void RegisterStatementWindows();

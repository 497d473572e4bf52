#pragma once

// Registers the Giving Trends window with the shell's window registry.
void RegisterTrendWindows(); // frmRptTrends

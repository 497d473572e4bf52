#pragma once

// Registers every window of the program under its name, so that menus and
// other windows can open it. Called once before the main window is made.
void RegisterAllWindows();

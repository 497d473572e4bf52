#pragma once

// Registers the fund, memorial, directory and label report windows with the
// shell's window registry, so that the Print menu and the fund list open
// them by name.
void RegisterListingWindows();

#pragma once

// Each part of the maintenance windows registers its windows with the
// shell's window registry (Windows::Register) under their names.
void RegisterFundWindows();        // frmFundList, frmFundInfo, frmChurch, frmPreferences
void RegisterContributorWindows(); // frmContList, frmContInfo, frmPledge
void RegisterPledgeUtilWindow();   // frmPledgeUtil

# Fund list and fund dialog, church and preferences dialogs.
target_sources(qv_core PRIVATE
  maintenance/FundQueries.cpp
  maintenance/Preferences.cpp
)
target_sources(qv_ui PRIVATE
  maintenance/Register_funds.cpp
  maintenance/frmFundList.cpp
  maintenance/frmFundInfo.cpp
  maintenance/frmChurch.cpp
  maintenance/frmPreferences.cpp
)

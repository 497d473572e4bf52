target_sources(qv_core PRIVATE maintenance/ContributorMaintenance.cpp)
target_sources(qv_ui PRIVATE
  maintenance/Register_contributors.cpp
  maintenance/frmContList.cpp
  maintenance/frmContInfo.cpp
  maintenance/frmPledge.cpp)

target_sources(qv_core PRIVATE maintenance/PledgeGrid.cpp)
target_sources(qv_ui PRIVATE maintenance/frmPledgeUtil.cpp maintenance/Register_pledgeutil.cpp)

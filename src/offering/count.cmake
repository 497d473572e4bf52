# The counted plate of a collection set: its tables and arithmetic (core),
# the offering window's Count tab (ui), the deposit slip (layout and window).
target_sources(qv_core PRIVATE
  storage/CountTables.cpp
  offering/PlateCount.cpp
)
target_sources(qv_ui PRIVATE
  offering/CountPage.cpp
)
target_sources(qv_core PRIVATE reports/DepositTables.cpp)
target_sources(qv_reports PRIVATE reports/rptDeposit.cpp)
target_sources(qv_ui PRIVATE reports/frmRptDeposit.cpp)

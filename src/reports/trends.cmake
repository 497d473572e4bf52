# The giving trends: their series in the core, their charts (Qt Charts) in a
# library of their own that the window and qv-report share.
target_sources(qv_core PRIVATE
  reports/TrendTables.cpp
)

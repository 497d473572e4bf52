# The giving trends: their series in the core, their charts (Qt Charts) in a
# library of their own that the window and qv-report share.
target_sources(qv_core PRIVATE
  reports/TrendTables.cpp
)
add_library(qv_charts STATIC
  reports/TrendCharts.cpp
)
target_link_libraries(qv_charts PUBLIC qv_core Qt6::Widgets Qt6::Charts)
target_link_libraries(qv_ui PUBLIC qv_charts)
target_sources(qv_ui PRIVATE
  reports/frmRptTrends.cpp
  reports/Register_trends.cpp
)

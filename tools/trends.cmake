# The giving trends: qv-report's trends command and the window's screenshot.
target_sources(qv-report PRIVATE report/TrendCommand.cpp)
target_link_libraries(qv-report PRIVATE qv_charts)
target_sources(qv-screenshots PRIVATE screenshots/TrendShots.cpp)

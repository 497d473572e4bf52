# Reports: the tables every report is built from (core).
target_sources(qv_core PRIVATE
  reports/ReportTable.cpp
  reports/ReportQueries.cpp
  reports/WeeklyReportTables.cpp
)

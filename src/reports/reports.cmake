# Reports: the tables every report is built from (core), the layout engine
# and the report layouts (qv_reports, no widgets, so that qv-report runs
# without windows), and the viewer and report windows (ui).
target_sources(qv_core PRIVATE
  reports/ReportTable.cpp
  reports/ReportQueries.cpp
  reports/WeeklyReportTables.cpp
)

target_sources(qv_reports PRIVATE
  reports/ReportDocument.cpp
  reports/ReportParts.cpp
  reports/PdfFile.cpp
  reports/PageComposer.cpp
  reports/TableSection.cpp
  reports/LabelSheet.cpp
  reports/Report.cpp
)
target_sources(qv_ui PRIVATE
  reports/CRViewer91.cpp
  reports/frmReportWindow.cpp
  reports/frmRptWeeklyReport.cpp
  reports/Register_reports.cpp
)
include(reports/listings.cmake)
include(reports/statements.cmake)
include(reports/trends.cmake)

# Reports: the tables every report is built from (core), the layout engine
# and the report layouts (qv_reports, no widgets, so that qv-report runs
# without windows), and the viewer and report windows (ui).
target_sources(qv_core PRIVATE
  reports/ReportTable.cpp
  reports/ReportQueries.cpp
  reports/WeeklyReportTables.cpp
)

add_library(qv_reports STATIC
  reports/ReportDocument.cpp
  reports/PdfFile.cpp
  reports/PageComposer.cpp
  reports/TableSection.cpp
  reports/LabelSheet.cpp
  reports/Report.cpp
)
target_link_libraries(qv_reports PUBLIC qv_core Qt6::Gui PRIVATE PkgConfig::HARFBUZZ_SUBSET ZLIB::ZLIB)
target_link_libraries(qv_ui PUBLIC qv_reports)
target_sources(qv_ui PRIVATE
  reports/CRViewer91.cpp
  reports/frmReportWindow.cpp
  reports/frmRptWeeklyReport.cpp
  reports/Register_reports.cpp
)

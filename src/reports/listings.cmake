# The fund and memorial reports, the telephone directory and the label
# reports: tables and label templates in the core, layouts beside the other
# layouts, windows in the ui.
target_sources(qv_core PRIVATE
  reports/ListingTables.cpp
  reports/LabelTemplates.cpp
)
target_sources(qv_reports PRIVATE
  reports/ListingReports.cpp
)

# The fund and memorial reports, the telephone directory and the label
# reports: tables and label templates in the core, layouts beside the other
# layouts, windows in the ui.
target_sources(qv_core PRIVATE
  reports/ListingTables.cpp
  reports/LabelTemplates.cpp
  reports/LabelSettings.cpp
)
target_sources(qv_reports PRIVATE
  reports/ListingReports.cpp
)
target_sources(qv_ui PRIVATE
  reports/LabelSheetControls.cpp
  reports/frmRptFundSelection.cpp
  reports/frmRptFunds.cpp
  reports/frmRptMemorials.cpp
  reports/frmRptTelephone.cpp
  reports/frmRptMailingLabels.cpp
  reports/frmRptEnvLabels.cpp
  reports/Register_listings.cpp
)

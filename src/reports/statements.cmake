# Contribution statements and the pledge status report: their tables in the
# core, their layouts with the other layouts, their windows with the others.
target_sources(qv_core PRIVATE
  reports/StatementTables.cpp
  reports/PledgeStatusTables.cpp
)
target_sources(qv_reports PRIVATE
  reports/rptStatement.cpp
  reports/rptPledgeStatus.cpp
)
target_sources(qv_ui PRIVATE
  reports/frmRptStatements.cpp
  reports/frmRptPledgeStatus.cpp
  reports/Register_statements.cpp
)

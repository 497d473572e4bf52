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
# Statements by e-mail: the messages and their sending (libcurl), the
# password kept in the desktop's secret store (libsecret) when there is one.
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(LIBSECRET REQUIRED IMPORTED_TARGET libsecret-1)
target_sources(qv_reports PRIVATE
  reports/StatementMail.cpp
  reports/MailSecrets.cpp
)
target_link_libraries(qv_reports PUBLIC PkgConfig::CURL PkgConfig::LIBSECRET)
target_sources(qv_ui PRIVATE reports/frmEmailStatements.cpp)

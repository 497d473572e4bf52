# The fund, memorial, directory and label reports of qv-report, one file per
# report's command.
target_sources(qv-report PRIVATE
  report/ReportCommands.cpp
  report/cmd_funds.cpp
  report/cmd_directory.cpp
  report/cmd_envelope_labels.cpp
)
target_include_directories(qv-report PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/report)

# The same reports' windows in qv-screenshots.
target_sources(qv-screenshots PRIVATE screenshots/listings.cpp)

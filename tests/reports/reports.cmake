qv_core_test(reports/tst_weekly_tables.cpp qv_sampledata)
qv_core_test(reports/tst_report_engine.cpp qv_reports qv_sampledata)
target_compile_definitions(tst_report_engine PRIVATE QV_REPORT="$<TARGET_FILE:qv-report>"
                           QV_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures")
add_dependencies(tst_report_engine qv-report)
qv_widget_test(reports/tst_report_windows.cpp)
add_test(NAME report_tool COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/reports/report_tool.sh $<TARGET_FILE:qv-sample> $<TARGET_FILE:qv-report>)

qv_core_test(reports/tst_weekly_tables.cpp qv_sampledata)
qv_core_test(reports/tst_report_engine.cpp qv_reports)
qv_widget_test(reports/tst_report_windows.cpp)

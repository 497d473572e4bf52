qv_core_test(reports/tst_trend_tables.cpp qv_sampledata)
qv_widget_test(reports/tst_trend_window.cpp)

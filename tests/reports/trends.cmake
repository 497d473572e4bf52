qv_core_test(reports/tst_trend_tables.cpp qv_sampledata)

qv_core_test(reports/tst_weekly_tables.cpp qv_sampledata)

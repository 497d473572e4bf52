qv_core_test(reports/tst_listing_tables.cpp)

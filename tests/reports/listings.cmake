qv_core_test(reports/tst_listing_tables.cpp)
qv_core_test(reports/tst_listing_layouts.cpp qv_reports)
qv_widget_test(reports/tst_listing_windows.cpp)

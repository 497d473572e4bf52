qv_core_test(year/tst_year_core.cpp)
qv_widget_test(year/tst_year_windows.cpp)

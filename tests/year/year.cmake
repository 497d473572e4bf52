qv_core_test(year/tst_year_core.cpp)

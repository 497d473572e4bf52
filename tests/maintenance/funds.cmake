qv_core_test(maintenance/tst_funds_core.cpp)
qv_widget_test(maintenance/tst_funds_church.cpp)

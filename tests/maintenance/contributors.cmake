# qv_core_test(maintenance/tst_....cpp) or qv_widget_test(maintenance/tst_....cpp)

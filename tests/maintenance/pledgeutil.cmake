qv_core_test(maintenance/tst_pledgegrid.cpp)
qv_widget_test(maintenance/tst_pledgeutil.cpp)

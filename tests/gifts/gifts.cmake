qv_core_test(gifts/tst_gift_import.cpp)
target_link_libraries(tst_gift_import PRIVATE qv_faultinjection)
qv_widget_test(gifts/tst_gift_windows.cpp)

qv_core_test(gifts/tst_gift_import.cpp)
target_link_libraries(tst_gift_import PRIVATE qv_faultinjection)
qv_widget_test(gifts/tst_gift_windows.cpp)
add_test(NAME gifts_tool COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/gifts/gifts_tool.sh $<TARGET_FILE:qv-sample> $<TARGET_FILE:qv-import>)

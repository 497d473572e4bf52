# Writes that fail, and the proof that a killed program leaves no half-done action.
add_library(qv_faultinjection STATIC faults/FaultInjection.cpp)
target_link_libraries(qv_faultinjection PUBLIC qv_core)
target_include_directories(qv_faultinjection PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

qv_widget_test(faults/tst_failed_saves.cpp)
target_link_libraries(tst_failed_saves PRIVATE qv_faultinjection)

qv_core_test(faults/tst_crash_trials.cpp)
target_compile_definitions(tst_crash_trials PRIVATE QV_FAULTCHILD="$<TARGET_FILE:qv-faultchild>")
add_dependencies(tst_crash_trials qv-faultchild)

qv_core_test(faults/tst_second_copy.cpp)
target_compile_definitions(tst_second_copy PRIVATE QV_FAULTCHILD="$<TARGET_FILE:qv-faultchild>")
add_dependencies(tst_second_copy qv-faultchild)

qv_core_test(offering/tst_plate_count.cpp)
target_link_libraries(tst_plate_count PRIVATE qv_faultinjection)

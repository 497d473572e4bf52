# The update command: core tests on packages made by gcab and by the test,
# and the locate window with the main window's menu entry.
qv_core_test(shell/tst_update_core.cpp)
qv_widget_test(shell/tst_update_window.cpp)
foreach(t tst_update_core tst_update_window)
  target_compile_definitions(${t} PRIVATE QV_GCAB="${GCAB_EXECUTABLE}" QV_PROGRAM="$<TARGET_FILE:quorvane>")
  add_dependencies(${t} quorvane)
endforeach()
target_compile_definitions(tst_update_window PRIVATE QV_EMPTY_MDB="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/EMPTY.MDB")
# The package that make package builds is installed by the core test.
target_compile_definitions(tst_update_core PRIVATE QV_PACKAGE="${CMAKE_BINARY_DIR}/QVUPD.VXO")
add_dependencies(tst_update_core update_package)

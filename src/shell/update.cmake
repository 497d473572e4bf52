# The "Update Quorvane" command: package search, expansion with libmspack,
# version check and installation in the core; the locate window in ui.
pkg_check_modules(MSPACK REQUIRED IMPORTED_TARGET libmspack)
target_sources(qv_core PRIVATE shell/modUpdate.cpp)
target_link_libraries(qv_core PUBLIC PkgConfig::MSPACK)
target_sources(qv_ui PRIVATE shell/frmLocateUpdate.cpp)

# make package: QVUPD.VXO, a cabinet holding the program as just built.
find_program(GCAB_EXECUTABLE gcab REQUIRED)
set(QV_UPDATE_PACKAGE ${CMAKE_BINARY_DIR}/QVUPD.VXO)
add_custom_command(OUTPUT ${QV_UPDATE_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QV_UPDATE_PACKAGE}
  COMMAND ${GCAB_EXECUTABLE} --create --zip --nopath ${QV_UPDATE_PACKAGE} $<TARGET_FILE:quorvane>
  DEPENDS quorvane
  COMMENT "Packing the program into QVUPD.VXO")
add_custom_target(update_package DEPENDS ${QV_UPDATE_PACKAGE})

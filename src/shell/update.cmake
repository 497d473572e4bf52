# The "Update Quorvane" command: package search, expansion with libmspack,
# version check and installation in the core; the locate window in ui.
pkg_check_modules(MSPACK REQUIRED IMPORTED_TARGET libmspack)
target_sources(qv_core PRIVATE shell/modUpdate.cpp)
target_link_libraries(qv_core PUBLIC PkgConfig::MSPACK)
target_sources(qv_ui PRIVATE shell/frmLocateUpdate.cpp)

# make package: QVUPD.VXO, a cabinet holding the program as just built,
# without its debugging information when a strip tool is at hand (a
# quarter of the size to send to a treasurer).
find_program(GCAB_EXECUTABLE gcab REQUIRED)
set(QV_UPDATE_PACKAGE ${CMAKE_BINARY_DIR}/QVUPD.VXO)
set(QV_PACKAGE_STAGING ${CMAKE_BINARY_DIR}/package)
if(CMAKE_STRIP)
  set(QV_PACKAGE_COPY ${CMAKE_STRIP} --strip-debug -o ${QV_PACKAGE_STAGING}/$<TARGET_FILE_NAME:quorvane> $<TARGET_FILE:quorvane>)
else()
  set(QV_PACKAGE_COPY ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quorvane> ${QV_PACKAGE_STAGING}/)
endif()
add_custom_command(OUTPUT ${QV_UPDATE_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QV_UPDATE_PACKAGE} ${QV_PACKAGE_STAGING}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_PACKAGE_STAGING}
  COMMAND ${QV_PACKAGE_COPY}
  COMMAND ${GCAB_EXECUTABLE} --create --zip --nopath ${QV_UPDATE_PACKAGE} ${QV_PACKAGE_STAGING}/$<TARGET_FILE_NAME:quorvane>
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QV_PACKAGE_STAGING}
  DEPENDS quorvane
  COMMENT "Packing the program into QVUPD.VXO")
add_custom_target(update_package DEPENDS ${QV_UPDATE_PACKAGE})

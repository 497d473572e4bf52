# The "Update Quorvane" command: package search, expansion with libmspack,
# version check and installation in the core; the locate window in ui.
pkg_check_modules(MSPACK REQUIRED IMPORTED_TARGET libmspack)
pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
target_sources(qv_core PRIVATE update/modUpdate.cpp)
target_link_libraries(qv_core PUBLIC PkgConfig::MSPACK PkgConfig::SODIUM)

# Packages are signed with the maker's secret key; the program carries the
# public half and installs nothing else. Without a key of one's own, a
# development key pair is made in keys/ (never committed) while configuring,
# so that a fresh checkout builds, tests and packs.
set(QV_DEV_UPDATE_KEY ${CMAKE_SOURCE_DIR}/keys/dev-update.key)
set(QV_UPDATE_SIGNING_KEY ${QV_DEV_UPDATE_KEY} CACHE FILEPATH
    "Secret key (64 bytes, made by qv-sign keygen) that make package signs the update package with")
set(QV_UPDATE_PUBLIC_KEY "" CACHE STRING
    "Public key (64 hex digits) whose packages the program installs; empty: the public half of QV_UPDATE_SIGNING_KEY")
if(QV_UPDATE_SIGNING_KEY STREQUAL QV_DEV_UPDATE_KEY AND NOT EXISTS ${QV_DEV_UPDATE_KEY})
  file(MAKE_DIRECTORY ${CMAKE_SOURCE_DIR}/keys)
  try_run(_qv_keygen_run _qv_keygen_built SOURCES ${CMAKE_SOURCE_DIR}/tools/sign/qv-sign.cpp
    LINK_LIBRARIES ${SODIUM_LINK_LIBRARIES}
    CMAKE_FLAGS "-DINCLUDE_DIRECTORIES=${SODIUM_INCLUDE_DIRS}"
    COMPILE_OUTPUT_VARIABLE _qv_keygen_log
    RUN_OUTPUT_VARIABLE _qv_keygen_log
    ARGS keygen ${QV_DEV_UPDATE_KEY})
  if(NOT _qv_keygen_built OR NOT _qv_keygen_run EQUAL 0)
    message(FATAL_ERROR "The development key pair could not be made:\n${_qv_keygen_log}")
  endif()
  message(STATUS "Made a development key pair for update packages: ${QV_DEV_UPDATE_KEY}")
endif()
set(_qv_public_key "${QV_UPDATE_PUBLIC_KEY}")
if(NOT _qv_public_key)
  if(NOT EXISTS ${QV_UPDATE_SIGNING_KEY})
    message(FATAL_ERROR "QV_UPDATE_SIGNING_KEY names no file: ${QV_UPDATE_SIGNING_KEY}")
  endif()
  # libsodium's secret key ends with its public half.
  file(READ ${QV_UPDATE_SIGNING_KEY} _qv_public_key OFFSET 32 LIMIT 32 HEX)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QV_UPDATE_SIGNING_KEY})
endif()
if(NOT _qv_public_key MATCHES "^[0-9a-fA-F]+$" OR NOT _qv_public_key MATCHES "^................................................................$")
  message(FATAL_ERROR "The update public key must be 64 hex digits, not '${_qv_public_key}'")
endif()
set(QV_BUILT_IN_PUBLIC_KEY ${_qv_public_key})
configure_file(${CMAKE_SOURCE_DIR}/src/update/UpdateKey.h.in ${CMAKE_BINARY_DIR}/generated/UpdateKey.h @ONLY)

add_executable(qv-sign ${CMAKE_SOURCE_DIR}/tools/sign/qv-sign.cpp)
target_link_libraries(qv-sign PRIVATE PkgConfig::SODIUM)
target_sources(qv_ui PRIVATE update/frmLocateUpdate.cpp)

# make package: QVUPD.VXO, a signed cabinet holding the program as just built,
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
  COMMAND qv-sign sign ${QV_UPDATE_SIGNING_KEY} ${QV_UPDATE_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QV_PACKAGE_STAGING}
  DEPENDS quorvane qv-sign ${QV_UPDATE_SIGNING_KEY}
  COMMENT "Packing the program into QVUPD.VXO")
add_custom_target(update_package DEPENDS ${QV_UPDATE_PACKAGE})

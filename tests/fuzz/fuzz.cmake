# libFuzzer targets, built with clang by make fuzz (-DQV_FUZZ=ON): number
# text, the SQL text literal, the settings file, update packages, and the
# old data file's table definitions and usage maps, and gift files.
foreach(target fuzz_numbers fuzz_text_literal fuzz_settings fuzz_package fuzz_legacy fuzz_gifts)
  add_executable(${target} fuzz/${target}.cpp)
  target_link_libraries(${target} PRIVATE qv_core)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
endforeach()
target_compile_definitions(fuzz_legacy PRIVATE QV_LEGACY_SAMPLE="${CMAKE_CURRENT_SOURCE_DIR}/fixtures/legacy/QVDATA-sample.mdb")

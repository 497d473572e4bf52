# libFuzzer targets, built with clang by make fuzz (-DQV_FUZZ=ON).
foreach(target fuzz_numbers fuzz_text_literal fuzz_settings fuzz_package)
  add_executable(${target} fuzz/${target}.cpp)
  target_link_libraries(${target} PRIVATE qv_core)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
endforeach()

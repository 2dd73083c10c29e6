# libFuzzer targets of the native build. Each gets a bounded run in the test suite, seeded from
# its corpus folder in the source tree; scripts/fuzz.sh runs them longer.
set(FUZZ_SECONDS 10 CACHE STRING "Seconds each fuzz target runs in the test suite")

function(add_fuzz_target name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${PROJECT_WARNINGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env ${CMAKE_SOURCE_DIR}/scripts/fuzz-run.sh
                   $<TARGET_FILE:${name}> ${F_CORPUS} ${work} ${FUZZ_SECONDS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()

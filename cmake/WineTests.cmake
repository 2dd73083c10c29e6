# Tests that run Windows programs of this build under Wine, in the build tree's private prefix
# (build/<preset>/wine: prefix, HOME and an Xvfb display of its own; see scripts/wine-run).
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
# What wine-run ends with where a 32-bit program cannot run because the set-up could not install
# Wine's 32-bit loader from a registry in mid-sync: the test counts as skipped.
set(WINE_SKIP_CODE 77)

# Both builds run their programs: the 64-bit ones under wine64, the 32-bit deliverables as users
# run them, in a WoW64 prefix (Wine's 32-bit loader under qemu's i386 emulator here; see
# scripts/setup.sh), with their test programs built for 32 bits too.
add_test(NAME wine_prefix COMMAND ${WINE_RUN} ${CMAKE_BINARY_DIR} --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)

# add_wine_test(NAME name COMMAND exe-or-target args... [TIMEOUT s])
# Runs a test program of this build under Wine. The test program starts the programs under test
# itself (CreateProcess), reads their exit codes and watches their windows.
function(add_wine_test)
  cmake_parse_arguments(W "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
  list(POP_FRONT W_COMMAND exe)
  if(TARGET ${exe})
    set(exe $<TARGET_FILE:${exe}>)
  endif()
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 300)
  endif()
  add_test(NAME ${W_NAME} COMMAND ${WINE_RUN} ${CMAKE_BINARY_DIR} ${exe} ${W_COMMAND}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # SOURCE_DIR: where a test finds the sources it checks against (the README's examples).
  set_tests_properties(${W_NAME} PROPERTIES FIXTURES_REQUIRED wine LABELS wine TIMEOUT ${W_TIMEOUT}
                       ENVIRONMENT "SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                       SKIP_RETURN_CODE ${WINE_SKIP_CODE})
endfunction()

# add_host_script_test(NAME name COMMAND script args...): a shell test that reads this build's files
# (or runs them through scripts/wine-run itself).
function(add_script_test)
  cmake_parse_arguments(S "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
  if(NOT S_TIMEOUT)
    set(S_TIMEOUT 300)
  endif()
  add_test(NAME ${S_NAME} COMMAND ${S_COMMAND} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(${S_NAME} PROPERTIES TIMEOUT ${S_TIMEOUT}
                       ENVIRONMENT "WINE_RUN=${WINE_RUN};BUILD_DIR=${CMAKE_BINARY_DIR};SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                       FIXTURES_REQUIRED wine SKIP_RETURN_CODE ${WINE_SKIP_CODE})
endfunction()

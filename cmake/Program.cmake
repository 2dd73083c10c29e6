# add_program(<name> LIBS <libraries> [DELAYED <system DLLs>] [LINKED <win32 sources>])
# One program of this project, importing at its start only what LIBS and the toolchain's defaults
# import; the DELAYED DLLs are delay-loaded (cmake/DelayLoad.cmake). Laid out as:
#   core/   no Windows header: <name>_core, built natively too and linked into the program
#   win32/  the entry point and everything that calls Windows
#   res/    <name>.rc, the resource script
#   tests/  unit/ (GoogleTest, native: one binary of all *.cpp), fuzz/ (libFuzzer, native: one target
#           per *.cpp, seeds in fuzz/corpus/<stem>/), wine/ (one Windows test program per *.cpp, run
#           under Wine), wine/tools/ (programs those tests start), wine/linked/ (one Windows test
#           program per *.cpp, linked with the LINKED sources of win32/ and the core, which calls
#           those functions directly), static/ (one check per *.sh of the built program file, run
#           with its path)
# Sources are found by globs: a new file needs no edit here, only a new configure.
include(${CMAKE_CURRENT_LIST_DIR}/DelayLoad.cmake)

function(add_program name)
  cmake_parse_arguments(P "" "" "LIBS;DELAYED;LINKED" ${ARGN})
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})

  file(GLOB core CONFIGURE_DEPENDS ${dir}/core/*.cpp)
  add_library(${name}_core STATIC ${core})
  target_include_directories(${name}_core PUBLIC ${dir}/core)
  target_compile_options(${name}_core PRIVATE ${PROJECT_WARNINGS} ${PROGRAM_CXX_FLAGS})

  if(WIN32)
    file(GLOB win32 CONFIGURE_DEPENDS ${dir}/win32/*.cpp)
    add_executable(${name} WIN32 ${win32} ${dir}/res/${name}.rc)
    target_include_directories(${name} PRIVATE ${dir}/win32 ${dir}/res)
    target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${PROJECT_WARNINGS} ${PROGRAM_CXX_FLAGS}>)
    delay_load_libraries(delayed ${P_DELAYED})
    target_link_options(${name} PRIVATE ${PROGRAM_LINK_FLAGS})
    set_target_properties(${name} PROPERTIES LINK_DEPENDS "${PROGRAM_LINK_DEPENDS}")
    target_link_libraries(${name} PRIVATE ${name}_core ${P_LIBS} ${delayed})
    list(TRANSFORM P_DELAYED PREPEND delayload_)
    if(P_DELAYED)
      add_dependencies(${name} ${P_DELAYED})
    endif()

    set(test_libs wintest winutils shell32 ole32 uuid advapi32 user32 kernel32)
    set(tools)
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/tests/wine/tools/*.cpp)
    foreach(src ${sources})
      get_filename_component(stem ${src} NAME_WE)
      add_executable(${name}_tool_${stem} ${src})
      target_compile_options(${name}_tool_${stem} PRIVATE ${PROJECT_WARNINGS})
      target_link_libraries(${name}_tool_${stem} PRIVATE ${test_libs})
      list(APPEND tools ${name}_tool_${stem})
    endforeach()

    file(GLOB sources CONFIGURE_DEPENDS ${dir}/tests/wine/*.cpp)
    foreach(src ${sources})
      get_filename_component(stem ${src} NAME_WE)
      add_executable(${name}_wine_${stem} ${src})
      target_include_directories(${name}_wine_${stem} PRIVATE ${dir}/res)
      target_compile_options(${name}_wine_${stem} PRIVATE ${PROJECT_WARNINGS})
      target_link_libraries(${name}_wine_${stem} PRIVATE ${test_libs})
      add_dependencies(${name}_wine_${stem} ${name} ${tools})
      add_wine_test(NAME ${name}.wine.${stem} COMMAND ${name}_wine_${stem})
    endforeach()

    if(P_LINKED)
      list(TRANSFORM P_LINKED PREPEND ${dir}/win32/)
      add_library(${name}_linked_parts OBJECT ${P_LINKED})
      target_include_directories(${name}_linked_parts PUBLIC ${dir}/win32 ${dir}/res ${dir}/core)
      target_compile_options(${name}_linked_parts PRIVATE ${PROJECT_WARNINGS} ${PROGRAM_CXX_FLAGS})
      target_link_libraries(${name}_linked_parts PRIVATE winutils)
      file(GLOB sources CONFIGURE_DEPENDS ${dir}/tests/wine/linked/*.cpp)
      foreach(src ${sources})
        get_filename_component(stem ${src} NAME_WE)
        add_executable(${name}_linked_${stem} ${src} $<TARGET_OBJECTS:${name}_linked_parts>)
        target_include_directories(${name}_linked_${stem} PRIVATE ${dir}/win32 ${dir}/res ${dir}/core)
        target_compile_options(${name}_linked_${stem} PRIVATE ${PROJECT_WARNINGS})
        target_link_libraries(${name}_linked_${stem} PRIVATE ${name}_core ${test_libs})
        add_wine_test(NAME ${name}.linked.${stem} COMMAND ${name}_linked_${stem})
      endforeach()
    endif()

    file(GLOB scripts CONFIGURE_DEPENDS ${dir}/tests/static/*.sh)
    foreach(script ${scripts})
      get_filename_component(stem ${script} NAME_WE)
      add_script_test(NAME ${name}.static.${stem} COMMAND bash ${script} $<TARGET_FILE:${name}>)
    endforeach()
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/tests/unit/*.cpp)
    if(sources)
      add_executable(${name}_unit_tests ${sources})
      target_compile_options(${name}_unit_tests PRIVATE ${PROJECT_WARNINGS})
      target_link_libraries(${name}_unit_tests PRIVATE ${name}_core GTest::gtest GTest::gtest_main)
      include(GoogleTest)
      gtest_discover_tests(${name}_unit_tests TEST_PREFIX ${name}.unit. DISCOVERY_TIMEOUT 60)
    endif()

    file(GLOB sources CONFIGURE_DEPENDS ${dir}/tests/fuzz/*.cpp)
    foreach(src ${sources})
      get_filename_component(stem ${src} NAME_WE)
      add_fuzz_target(${name}_fuzz_${stem} SOURCES ${src} LIBS ${name}_core
                      CORPUS ${dir}/tests/fuzz/corpus/${stem})
    endforeach()
  endif()
endfunction()

# delay_load_libraries(<out-var> <dll>...): delay-loaded import libraries of system DLLs, in
# <out-var>, to link before the toolchain's default libraries. A program linked with them imports
# none of those DLLs when it starts: each is loaded at its first call, under the DLL search rules
# the program has set by then, by the helper that MinGW's libmingwex provides.
#
# Each library holds every function of the toolchain's own import library of that DLL (nm lists
# them), so a function the code starts to use is delay-loaded without a list to keep up to date;
# the linker takes only the functions called. Data exports are left out: one used would come from
# the ordinary import library, which the programs' static check refuses.
function(delay_load_libraries out)
  set(libs)
  set(dir ${CMAKE_BINARY_DIR}/delayload)
  foreach(dll ${ARGN})
    set(lib ${dir}/lib${dll}.a)
    list(APPEND libs ${lib})
    if(TARGET delayload_${dll})
      continue()
    endif()
    find_library(IMPORT_LIB_${dll} ${dll} REQUIRED)
    execute_process(COMMAND ${MINGW_PREFIX}-nm -g ${IMPORT_LIB_${dll}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # A function's thunk is its one code symbol; 32-bit names carry the leading underscore.
    string(REGEX MATCHALL " T [^\n]+" functions "${symbols}")
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
      list(TRANSFORM functions REPLACE "^ T _" "")
    else()
      list(TRANSFORM functions REPLACE "^ T " "")
    endif()
    list(JOIN functions "\n" exports)
    file(CONFIGURE OUTPUT ${dir}/${dll}.def CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    # -k: 32-bit stdcall names are imported without their @<bytes> ending, as the DLLs export them.
    add_custom_command(OUTPUT ${lib} DEPENDS ${dir}/${dll}.def
                       COMMAND ${MINGW_PREFIX}-dlltool -k -d ${dir}/${dll}.def
                               -t ${dir}/${dll}_ --output-delaylib ${lib}
                       COMMENT "Delay-loaded import library of ${dll}.dll")
    add_custom_target(delayload_${dll} DEPENDS ${lib})
  endforeach()
  set(${out} ${libs} PARENT_SCOPE)
endfunction()

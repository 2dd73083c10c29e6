# compact_sections_script(<variable>)
# The 32-bit linker's own script with three small sections folded into larger ones: the TLS
# template (.tls, 8 bytes) and the runtime's start-up, exit and thread-exit tables (.CRT, 48
# bytes) at the start and end of .data, the runtime's unwind tables (.eh_frame) at the start of .rdata. Each section of
# a program file takes at least one 512-byte block, so this keeps 1.5 KB of padding out of each
# program; the loader finds the TLS template and the tables by the same symbols as before. The
# script is made from the linker's own (ld --verbose) at configure time, and each fold must find
# the text it changes, so a linker whose script differs stops the configure instead of linking
# something else. Sets <variable> to the file's path.
function(compact_sections_script variable)
  execute_process(COMMAND ${CMAKE_LINKER} --verbose OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  string(FIND "${out}" "==================================================" begin)
  if(NOT rc EQUAL 0 OR begin EQUAL -1)
    message(FATAL_ERROR "cannot read the linker's script from ${CMAKE_LINKER} --verbose")
  endif()
  math(EXPR begin "${begin} + 50")
  string(SUBSTRING "${out}" ${begin} -1 script)
  string(FIND "${script}" "==================================================" end)
  string(SUBSTRING "${script}" 0 ${end} script)

  # Each block as the linker writes it, cut out of the script with its contents kept.
  string(REGEX MATCH "  \\.CRT BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)  }\n" crt "${script}")
  set(crt_body "${CMAKE_MATCH_1}")
  string(REGEX MATCH "  \\.tls BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)  }\n" tls "${script}")
  set(tls_body "${CMAKE_MATCH_1}")
  string(REGEX MATCH "  \\.eh_frame BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)  }\n" eh "${script}")
  set(eh_body "${CMAKE_MATCH_1}")
  set(data_head "  .data BLOCK(__section_alignment__) :\n  {\n")
  set(data_tail "    *(.data_cygwin_nocopy)\n  }\n")
  set(rdata_head "  .rdata BLOCK(__section_alignment__) :\n  {\n")
  foreach(piece crt tls eh data_head data_tail rdata_head)
    string(FIND "${script}" "${${piece}}" at)
    if("${${piece}}" STREQUAL "" OR at EQUAL -1)
      message(FATAL_ERROR "the linker's script has no ${piece} block as expected")
    endif()
  endforeach()

  string(REPLACE "${crt}" "" script "${script}")
  string(REPLACE "${tls}" "" script "${script}")
  string(REPLACE "${eh}" "" script "${script}")
  # The TLS template first: its data is addressed relative to the section's start.
  string(REPLACE "${data_head}" "${data_head}${tls_body}" script "${script}")
  # With the thread-exit list that the linker's script leaves to a .CRT section of its own.
  string(REPLACE "    *(.data_cygwin_nocopy)\n"
                 "    *(.data_cygwin_nocopy)\n${crt_body}    KEEP (*(SORT(.CRT$XD*)))\n" script "${script}")
  string(REPLACE "${rdata_head}" "${rdata_head}${eh_body}" script "${script}")

  set(file ${CMAKE_BINARY_DIR}/compact-sections.ld)
  file(WRITE ${file} "${script}")
  set(${variable} ${file} PARENT_SCOPE)
endfunction()

# Install step: writes SHA256SUMS next to the installed release files (RELEASE_FILES), one line per
# file in the form `sha256sum -c` reads: the hash in lower-case hex, two spaces, the name, CR LF.
set(dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(sums "")
foreach(name IN LISTS RELEASE_FILES)
  if(NOT EXISTS "${dir}/${name}")
    message(FATAL_ERROR "SHA256SUMS: ${dir}/${name} was not installed")
  endif()
  file(SHA256 "${dir}/${name}" hash)
  string(APPEND sums "${hash}  ${name}\r\n")
endforeach()
message(STATUS "Writing: ${dir}/SHA256SUMS")
file(WRITE "${dir}/SHA256SUMS" "${sums}")

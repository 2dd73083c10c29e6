set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The programs import only system DLLs: the C and C++ runtimes are linked in; no symbol tables.
# Unused functions and data are left out of the programs.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections")
# 32 bits: no unwind tables beyond those that exceptions need. The programs use no exceptions, and
# nothing else reads the tables there (64-bit programs keep theirs: the platform's stack walk uses them).
if(MINGW_PREFIX STREQUAL "i686-w64-mingw32")
  string(APPEND CMAKE_C_FLAGS_INIT " -fno-asynchronous-unwind-tables")
  string(APPEND CMAKE_CXX_FLAGS_INIT " -fno-asynchronous-unwind-tables")
endif()

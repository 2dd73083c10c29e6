# Build step: the Windows Installer package of the release, built by wixl from
# pathmint-quorvel.wxs, the same bytes from the same sources at any path, time or time zone.
#   cmake -DWIXL=... -DMSIBUILD=... -DPYTHON=... -DWXS=... -DSUMMARY_TIMES=summary_times.py -DOUTPUT=pkg.msi
#         -DVERSION=... -DUPGRADE_CODE=... -DPUBLISHER=... -DINSTALL_FOLDER=... -DRELEASE_TIME=unix-time
#         -DFILES="pathmint.exe;quorvel.exe;README.txt;LICENSE.txt" (full names) -P msi.cmake
set(work "${OUTPUT}.files")
foreach(var WIXL MSIBUILD PYTHON WXS SUMMARY_TIMES OUTPUT VERSION UPGRADE_CODE PUBLISHER INSTALL_FOLDER RELEASE_TIME FILES)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "msi.cmake: ${var} is not set")
  endif()
endforeach()

# Runs in the folder of the files: wixl takes a file's source relative to it.
function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${work} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGV0} failed (${rc}):\n${out}")
  endif()
endfunction()

# The files as the package takes them: the cabinet records each file's modification time, in
# the local time zone, so the copies get the release time and wixl runs in UTC.
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(contents "${VERSION}")
foreach(file IN LISTS FILES WXS)
  file(SHA256 "${file}" hash)
  string(APPEND contents " ${hash}")
endforeach()
foreach(file IN LISTS FILES)
  file(COPY "${file}" DESTINATION "${work}")
endforeach()
file(GLOB copies "${work}/*")
run(touch -d @${RELEASE_TIME} ${copies})

# Never random: the product code follows from the version (one product per version, which a
# newer version replaces), the package code from the version and every byte that goes in.
string(UUID product NAMESPACE ${UPGRADE_CODE} NAME "product ${VERSION}" TYPE SHA1 UPPER)
string(UUID package NAMESPACE ${UPGRADE_CODE} NAME "package ${contents}" TYPE SHA1 UPPER)

set(ENV{TZ} UTC)
set(partial "${OUTPUT}.part")
file(REMOVE "${partial}")
run(${WIXL} --arch x86 -o ${partial} -D Version=${VERSION} -D UpgradeCode=${UPGRADE_CODE}
    -D ProductCode=${product} -D Publisher=${PUBLISHER} -D InstallFolder=${INSTALL_FOLDER}
    -D Files=. ${WXS})
# The feature the user may not leave out (msidbFeatureAttributesUIDisallowAbsent).
run(${MSIBUILD} ${partial} -q "UPDATE `Feature` SET `Attributes` = 16 WHERE `Feature` = 'Programs'")
# wixl gives the package a random package code and the time of the build: both replaced.
# (Called directly: the template's semicolon would split a function's argument.)
execute_process(COMMAND ${MSIBUILD} ${partial} -s "pathmint and quorvel ${VERSION}" ${PUBLISHER}
                        "Intel;1033" "{${package}}" RESULT_VARIABLE rc ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "msibuild failed (${rc}):\n${out}")
endif()
run(${PYTHON} ${SUMMARY_TIMES} ${partial} ${RELEASE_TIME})
file(RENAME "${partial}" "${OUTPUT}")
file(REMOVE_RECURSE "${work}")

# Build step: signs one file (a program or the installer package) with the organisation's
# code-signing certificate, SHA-256, by osslsigncode.
#   cmake -DOSSLSIGNCODE=... -DSIGN_PKCS12=... -DSIGN_PASSWORD_FILE=... [-DSIGN_TIMESTAMP_URL=...]
#         -DIN=file -DOUT=signed-file [-DSIGNATURE=detached-signature] -P sign.cmake
# IN and OUT may be the same file. The password is read from its file by osslsigncode itself
# (-readpass): it is on no command line and in no log. SIGNATURE receives the signature alone
# (DER), which `osslsigncode attach-signature` puts onto an unsigned build of the same sources.
foreach(var OSSLSIGNCODE SIGN_PKCS12 SIGN_PASSWORD_FILE IN OUT)
  if(NOT ${var})
    message(FATAL_ERROR "sign.cmake: ${var} is not set")
  endif()
endforeach()

function(osslsigncode)
  execute_process(COMMAND ${OSSLSIGNCODE} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "osslsigncode ${ARGV0} ${IN} failed:\n${out}")
  endif()
endfunction()

set(timestamp "")
if(SIGN_TIMESTAMP_URL)
  set(timestamp -ts ${SIGN_TIMESTAMP_URL})
endif()
set(partial "${OUT}.part")
file(REMOVE "${partial}")
osslsigncode(sign -pkcs12 ${SIGN_PKCS12} -readpass ${SIGN_PASSWORD_FILE} -h sha256 ${timestamp}
             -in ${IN} -out ${partial})
file(RENAME "${partial}" "${OUT}")
if(SIGNATURE)
  file(REMOVE "${SIGNATURE}")
  osslsigncode(extract-signature -in ${OUT} -out ${SIGNATURE})
endif()

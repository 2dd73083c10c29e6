# Build step: signs one file (a program or the installer package), SHA-256, by osslsigncode.
#   with the organisation's certificate:
#     cmake -DOSSLSIGNCODE=... -DSIGN_PKCS12=... -DSIGN_PASSWORD_FILE=... [-DSIGN_TIMESTAMP_URL=...]
#           -DINPUT=file -DOUTPUT=signed-file -DSIGNATURE=detached-signature -P sign.cmake
#   with a published signature, to compare a rebuild with a signed release:
#     cmake -DOSSLSIGNCODE=... -DATTACH=detached-signature -DINPUT=file -DOUTPUT=signed-file -P sign.cmake
# INPUT and OUTPUT may be the same file. The password is read from its file by osslsigncode itself
# (-readpass): it is on no command line and in no log. SIGNATURE receives the signature alone
# (DER), which ATTACH puts onto an unsigned build of the same sources.
foreach(var OSSLSIGNCODE INPUT OUTPUT)
  if(NOT ${var})
    message(FATAL_ERROR "sign.cmake: ${var} is not set")
  endif()
endforeach()

function(osslsigncode)
  execute_process(COMMAND ${OSSLSIGNCODE} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "osslsigncode ${ARGV0} ${INPUT} failed:\n${out}")
  endif()
endfunction()

set(partial "${OUTPUT}.part")
file(REMOVE "${partial}")
if(ATTACH)
  # osslsigncode then verifies the result against the system's trusted certificates and says no
  # for an organisation's own: the bytes are what counts here (compared with the release's), the
  # trust is `osslsigncode verify -CAfile`'s to check.
  execute_process(COMMAND ${OSSLSIGNCODE} attach-signature -sigin ${ATTACH} -in ${INPUT} -out ${partial}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT EXISTS "${partial}")
    message(FATAL_ERROR "osslsigncode attach-signature ${INPUT} failed:\n${out}")
  elseif(NOT rc EQUAL 0)
    message(WARNING "${ATTACH} put onto ${INPUT}; osslsigncode could not verify the result:\n${out}")
  endif()
  file(RENAME "${partial}" "${OUTPUT}")
  return()
endif()
if(NOT SIGN_PKCS12 OR NOT SIGN_PASSWORD_FILE OR NOT SIGNATURE)
  message(FATAL_ERROR "sign.cmake: SIGN_PKCS12, SIGN_PASSWORD_FILE and SIGNATURE, or ATTACH")
endif()
set(timestamp "")
if(SIGN_TIMESTAMP_URL)
  set(timestamp -ts ${SIGN_TIMESTAMP_URL})
endif()
osslsigncode(sign -pkcs12 ${SIGN_PKCS12} -readpass ${SIGN_PASSWORD_FILE} -h sha256 ${timestamp}
             -in ${INPUT} -out ${partial})
file(RENAME "${partial}" "${OUTPUT}")
file(REMOVE "${SIGNATURE}")
osslsigncode(extract-signature -in ${OUTPUT} -out ${SIGNATURE})

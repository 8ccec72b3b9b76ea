# Authenticode signatures on what a user runs, through osslsigncode: norv.exe,
# nnote.exe and liveup.exe as shipped, and the setup program. Without a
# certificate and key nothing is signed (tools/authenticode-sign.sh).
set(NORVALE_SIGN_CERTIFICATE "" CACHE FILEPATH "Authenticode certificate with its chain (PEM or DER); empty: nothing is signed")
set(NORVALE_SIGN_KEY "" CACHE FILEPATH "The Authenticode certificate's private key (PEM or DER)")
set(NORVALE_SIGN_TIMESTAMP "" CACHE STRING "RFC 3161 time-stamping server for the signatures, or empty for none")

set(_sign_script ${CMAKE_SOURCE_DIR}/tools/authenticode-sign.sh)
if(NORVALE_SIGN_CERTIFICATE AND NORVALE_SIGN_KEY)
  find_program(NORVALE_OSSLSIGNCODE osslsigncode REQUIRED)
  message(STATUS "Signing the programs and the setup program with ${NORVALE_SIGN_CERTIFICATE}")
endif()

# The commands that sign `file` in place, for an add_custom_command; none
# when the build has no certificate.
function(norvale_sign_commands out file)
  if(NORVALE_SIGN_CERTIFICATE AND NORVALE_SIGN_KEY)
    set(${out} COMMAND ${_sign_script} ${NORVALE_SIGN_CERTIFICATE} ${NORVALE_SIGN_KEY} ${file} ${NORVALE_SIGN_TIMESTAMP}
        PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

add_test(NAME authenticode_signs_and_verifies
  COMMAND ${CMAKE_SOURCE_DIR}/tests/win/authenticode-test.sh ${CMAKE_BINARY_DIR})

# The public key liveup.exe trusts for release manifests: 128 hex digits of the
# P-256 point, X then Y, as `norv-service keygen` prints it. A release build is
# given the maker's key. Left empty, the build makes a test key pair once, at
# configure time, beside the build folder (build/release-test-key.pem for
# build/win), so that tests can sign manifests this liveup.exe accepts. The
# private key never leaves that folder and is never committed.
set(NORVALE_RELEASE_PUBLIC_KEY "" CACHE STRING
    "Release signing public key liveup.exe trusts (norv-service keygen); empty: a test key made at configure time")

get_filename_component(_build_parent ${CMAKE_BINARY_DIR} DIRECTORY)
set(NORVALE_RELEASE_TEST_KEY ${_build_parent}/release-test-key.pem)

if(NORVALE_RELEASE_PUBLIC_KEY STREQUAL "")
  find_program(NORVALE_OPENSSL openssl REQUIRED)
  if(NOT EXISTS ${NORVALE_RELEASE_TEST_KEY})
    execute_process(
      COMMAND ${NORVALE_OPENSSL} genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out ${NORVALE_RELEASE_TEST_KEY}
      RESULT_VARIABLE _made)
    if(NOT _made EQUAL 0)
      message(FATAL_ERROR "openssl could not make the test release key ${NORVALE_RELEASE_TEST_KEY}")
    endif()
    file(CHMOD ${NORVALE_RELEASE_TEST_KEY} PERMISSIONS OWNER_READ OWNER_WRITE)
  endif()
  execute_process(
    COMMAND ${NORVALE_OPENSSL} pkey -in ${NORVALE_RELEASE_TEST_KEY} -pubout -outform DER -out ${CMAKE_BINARY_DIR}/release-test-key.der
    RESULT_VARIABLE _read)
  file(READ ${CMAKE_BINARY_DIR}/release-test-key.der _der HEX)
  string(LENGTH "${_der}" _der_length)
  # A P-256 public key in DER ends in the point 04||X||Y: its last 64 bytes are X and Y.
  math(EXPR _point_start "${_der_length} - 128")
  if(NOT _read EQUAL 0 OR NOT _der_length EQUAL 182)
    message(FATAL_ERROR "${NORVALE_RELEASE_TEST_KEY} is not a P-256 key; remove it to have a new one made")
  endif()
  string(SUBSTRING "${_der}" ${_point_start} 128 _release_key)
  message(STATUS "liveup.exe trusts the test release key ${NORVALE_RELEASE_TEST_KEY}")
else()
  set(_release_key "${NORVALE_RELEASE_PUBLIC_KEY}")
endif()
if(NOT _release_key MATCHES "^[0-9a-fA-F]+$")
  message(FATAL_ERROR "NORVALE_RELEASE_PUBLIC_KEY must be 128 hex digits, as norv-service keygen prints it")
endif()
string(LENGTH "${_release_key}" _key_length)
if(NOT _key_length EQUAL 128)
  message(FATAL_ERROR "NORVALE_RELEASE_PUBLIC_KEY must be 128 hex digits, as norv-service keygen prints it")
endif()
set(NORVALE_RELEASE_KEY_DEFINITION "NORVALE_RELEASE_PUBLIC_KEY=\"${_release_key}\"")

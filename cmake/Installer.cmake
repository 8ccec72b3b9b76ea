# The setup program build/win/norvale-setup-<version>.exe, made with makensis
# from tools/installer/norvale.nsi, and its tests under Wine.
#
# The setup program ships the very norv.exe and nnote.exe that the Wine tests
# run, stripped: the build type's optimised code (RelWithDebInfo, -O2, NDEBUG,
# unless configured otherwise) without its debug information. The debug
# information goes to build/win/symbols/<program>.debug, which the stripped
# program names in a .gnu_debuglink section, so a crash address from a user's
# copy can be looked up (addr2line -e symbols/norv.exe.debug <address>).
find_program(NORVALE_MAKENSIS makensis REQUIRED)
if(NOT CMAKE_BUILD_TYPE MATCHES "^(RelWithDebInfo|Release)$")
  message(WARNING "build/win is a ${CMAKE_BUILD_TYPE} build: the setup program will ship its unoptimised code")
endif()

# The release as shown ("5.1") from the program's own version stamp ("0051").
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/strings.h _stamp_line REGEX "kVersionStamp = \"[0-9]+\"")
string(REGEX REPLACE ".*\"([0-9]+)\".*" "\\1" _stamp "${_stamp_line}")
math(EXPR _stamp_number "${_stamp}")
string(REGEX REPLACE "(.)$" ".\\1" NORVALE_RELEASE "${_stamp_number}")
if(NORVALE_RELEASE MATCHES "^\\.")
  set(NORVALE_RELEASE "0${NORVALE_RELEASE}")
endif()

set(NORVALE_PAYLOAD_DIR ${CMAKE_BINARY_DIR}/payload)
set(NORVALE_SYMBOLS_DIR ${CMAKE_BINARY_DIR}/symbols)
set(NORVALE_SETUP_NAME norvale-setup-${NORVALE_RELEASE}.exe)
set(NORVALE_SETUP ${CMAKE_BINARY_DIR}/${NORVALE_SETUP_NAME})

include(${CMAKE_CURRENT_LIST_DIR}/Signing.cmake)

set(_payload)
foreach(program norv nnote liveup)
  set(_stripped ${NORVALE_PAYLOAD_DIR}/${program}.exe)
  set(_symbols ${NORVALE_SYMBOLS_DIR}/${program}.exe.debug)
  # Signed last: the signature covers the stripped program and its debug link.
  norvale_sign_commands(_sign ${_stripped})
  add_custom_command(OUTPUT ${_stripped} ${_symbols}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${NORVALE_PAYLOAD_DIR} ${NORVALE_SYMBOLS_DIR}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${program}> ${_symbols}
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${program}> ${_stripped}
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${_symbols} ${_stripped}
    ${_sign}
    DEPENDS ${program}
    COMMENT "Stripping ${program}.exe for the setup program"
    VERBATIM)
  list(APPEND _payload ${_stripped})
endforeach()

set(_nsi ${CMAKE_SOURCE_DIR}/tools/installer/norvale.nsi)
norvale_sign_commands(_sign_setup ${NORVALE_SETUP})
add_custom_command(OUTPUT ${NORVALE_SETUP}
  COMMAND ${NORVALE_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${NORVALE_RELEASE} -DPAYLOAD=${NORVALE_PAYLOAD_DIR}
          -DFILES=${CMAKE_BINARY_DIR} -DOUTFILE=${NORVALE_SETUP} ${_nsi}
  ${_sign_setup}
  DEPENDS ${_nsi} ${_payload} ${CMAKE_BINARY_DIR}/norv.wav ${NORVALE_HELP_FILE} ${NORVALE_ARTWORK_DIR}/norv.ico
  COMMENT "Making the setup program ${NORVALE_SETUP_NAME}"
  VERBATIM)
add_custom_target(norv_setup ALL DEPENDS ${NORVALE_SETUP})
add_dependencies(norv_setup norv_artwork norv_help)

string(REGEX REPLACE "objcopy$" "" _binutils_prefix "${CMAKE_OBJCOPY}")
add_test(NAME setup_ships_stripped_programs_with_symbols
  COMMAND ${NORVALE_PYTHON} ${CMAKE_SOURCE_DIR}/tests/win/installer/check_payload.py ${CMAKE_BINARY_DIR}
          --binutils-prefix ${_binutils_prefix})

# Each installer test runs in a Wine prefix of its own, copied from one made
# fresh for the run (tests/win/installer/fresh-prefix.sh), so that no test
# sees another's install, data or registry.
add_executable(installer_stubborn_form ${CMAKE_SOURCE_DIR}/tests/win/installer/stubborn_form.cpp)
target_include_directories(installer_stubborn_form PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(installer_stubborn_form PRIVATE -municode -mwindows)

add_executable(norv_installer_tests ${CMAKE_SOURCE_DIR}/tests/win/installer/installer_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/win/installer/installed_files.cpp ${CMAKE_SOURCE_DIR}/tests/win/win_test_support.cpp)
target_link_libraries(norv_installer_tests PRIVATE norv_win gtest gtest_main uuid ws2_32)
target_compile_definitions(norv_installer_tests PRIVATE NORVALE_SETUP_NAME=L"${NORVALE_SETUP_NAME}"
  NORVALE_RELEASE=L"${NORVALE_RELEASE}")
add_dependencies(norv_installer_tests norv_setup installer_stubborn_form)

set(_prefixes ${CMAKE_BINARY_DIR}/installer-prefixes)
set(_fresh_prefix ${CMAKE_SOURCE_DIR}/tests/win/installer/fresh-prefix.sh)
add_test(NAME installer_prefix_template COMMAND ${_fresh_prefix} template ${_prefixes}/template)
add_test(NAME installer_prefix_cleanup COMMAND ${CMAKE_COMMAND} -E rm -rf ${_prefixes})
set_tests_properties(installer_prefix_template PROPERTIES FIXTURES_SETUP installer_prefix TIMEOUT 300)
set_tests_properties(installer_prefix_cleanup PROPERTIES FIXTURES_CLEANUP installer_prefix)
foreach(case IN ITEMS
    SilentInstallPutsEverythingInPlaceAndTheProgramStarts
    InstallIntoAChosenFolderKeepsExistingDataFilesByteForByte
    UpgradeEndsTheRunningCopyReplacesItsFilesAndKeepsTheData
    UpgradeStopsWithNothingReplacedWhenACopyWillNotEnd
    SilentUninstallRemovesTheProgramAndKeepsTheHistoryAndSettings
    UninstallWithRemoveDataAlsoRemovesTheHistoryAndSettingsButNotTheCompanions)
  add_test(NAME Installer.${case}
    COMMAND ${_fresh_prefix} run ${_prefixes}/template ${_prefixes}/${case}
            $<TARGET_FILE:norv_installer_tests> --gtest_filter=Installer.${case})
  set_tests_properties(Installer.${case} PROPERTIES FIXTURES_REQUIRED installer_prefix TIMEOUT 180 RUN_SERIAL TRUE)
endforeach()

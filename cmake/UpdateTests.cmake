# The update catalogue under Wine (tests/win/update): liveup.exe against a
# loopback site that holds release N+1, made from this build's own payload
# with only its release raised, and the bad releases of every refusal.
math(EXPR _next_number "${_stamp_number} + 1")
string(REGEX REPLACE "(.)$" ".\\1" NORVALE_NEXT_RELEASE "${_next_number}")
set(_update_dir ${CMAKE_BINARY_DIR}/update-test)
set(_next_setup ${_update_dir}/norvale-setup-next.exe)
add_custom_command(OUTPUT ${_next_setup}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_update_dir}
  COMMAND ${NORVALE_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${NORVALE_NEXT_RELEASE} -DPAYLOAD=${NORVALE_PAYLOAD_DIR}
          -DFILES=${CMAKE_BINARY_DIR} -DOUTFILE=${_next_setup} ${_nsi}
  DEPENDS ${NORVALE_SETUP}
  COMMENT "Making release ${NORVALE_NEXT_RELEASE} for the update tests"
  VERBATIM)
add_custom_target(norv_next_setup ALL DEPENDS ${_next_setup})
# The release-N setup program and its payload are norv_setup's to make: made
# by both targets at once under -j, two makensis runs wrote one broken file.
add_dependencies(norv_next_setup norv_setup)

add_executable(norv_update_tests ${CMAKE_SOURCE_DIR}/tests/win/update/update_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/win/installer/installed_files.cpp ${CMAKE_SOURCE_DIR}/tests/win/win_test_support.cpp)
target_link_libraries(norv_update_tests PRIVATE norv_win gtest gtest_main uuid ws2_32)
target_compile_definitions(norv_update_tests PRIVATE NORVALE_SETUP_NAME=L"${NORVALE_SETUP_NAME}"
  NORVALE_RELEASE=L"${NORVALE_RELEASE}" NORVALE_NEXT_RELEASE=L"${NORVALE_NEXT_RELEASE}")
add_dependencies(norv_update_tests norv_setup norv_next_setup liveup_loopback installer_stubborn_form)

set(_update_state ${CMAKE_BINARY_DIR}/update-site)
set(_update_site ${CMAKE_SOURCE_DIR}/tests/win/update/update-site.sh)
add_test(NAME update_site_start
  COMMAND ${_update_site} start ${_update_state} ${NORVALE_NATIVE_BUILD} ${CMAKE_BINARY_DIR} ${_stamp_number})
add_test(NAME update_site_stop COMMAND ${_update_site} stop ${_update_state})
set_tests_properties(update_site_start PROPERTIES FIXTURES_SETUP update_site TIMEOUT 120)
set_tests_properties(update_site_stop PROPERTIES FIXTURES_CLEANUP update_site)
foreach(case IN ITEMS
    AGoodReleaseIsInstalledOverTheRunningCopyAndStarts
    TheSecondaryFolderIsUsedWhenThePrimaryIsDown
    YesOnTheUpdateOfferStartsTheToolAndTheUpdateCompletes
    TheTrayItemStartsTheToolAndTheUpdateCompletes
    ASetupProgramThatStopsIsReportedWithTheDownloadKept
    ASecondToolWhileOneRunsIsRefusedAndCancelStopsTheDownload
    ACompanionWithoutADownloadListIsToldSo
    AManifestSignedByAnotherKeyIsRefused
    ASignatureOverAnotherManifestIsRefused
    AnotherProductsManifestIsRefused
    TheSameReleaseIsRefused
    AnOlderReleaseIsRefused
    AnExpiredManifestIsRefused
    ASetupProgramWithOneByteChangedIsRefusedAndDeleted
    ASetupProgramLongerThanStatedIsCutOff
    ADownloadThatStallsIsGivenUp
    APlainHttpAddressInTheManifestIsRefused)
  add_test(NAME Update.${case}
    COMMAND ${_fresh_prefix} run ${_prefixes}/template ${_prefixes}/update-${case}
            $<TARGET_FILE:norv_update_tests> --gtest_filter=Update.${case})
  set_tests_properties(Update.${case} PROPERTIES FIXTURES_REQUIRED "installer_prefix;update_site" TIMEOUT 240
    RUN_SERIAL TRUE ENVIRONMENT "NORVALE_UPDATE_SITE=Z:${_update_state}")
endforeach()

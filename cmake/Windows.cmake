# Windows build: norv.exe, nnote.exe, the help file, the setup program and the
# Wine-run tests; the programs linked statically.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

set(NORVALE_WIN_LIBS wininet comctl32 shell32 shlwapi winmm uxtheme gdi32 user32 advapi32 comdlg32 ole32 msimg32 bcrypt version)

norvale_add_layers()
target_link_libraries(norv_base PUBLIC ${NORVALE_WIN_LIBS})
# Every layer, for the tests and their helpers, which may include any folder.
add_library(norv_win INTERFACE)
target_include_directories(norv_win INTERFACE ${CMAKE_SOURCE_DIR})
target_link_libraries(norv_win INTERFACE norv_app)

set(_rc ${CMAKE_SOURCE_DIR}/resources/norv.rc)
include(${CMAKE_SOURCE_DIR}/resources/Resources.cmake)

add_executable(norv WIN32 ${CMAKE_SOURCE_DIR}/app/norv_main_win.cpp ${_rc} ${NORVALE_RESOURCE_DEPS})
target_link_libraries(norv PRIVATE norv_app)
norvale_include_rights(norv app BELOW norv_app)
target_link_options(norv PRIVATE -municode)
norvale_warnings(norv)
add_dependencies(norv norv_artwork)

# The test build of the program: norv.exe plus the answers to the probe
# messages, which the shipped program must not give to any other program.
add_executable(norv_probed WIN32 ${CMAKE_SOURCE_DIR}/app/norv_main_win.cpp
  ${CMAKE_SOURCE_DIR}/tests/win/probes/main_window_probes_win.cpp ${_rc} ${NORVALE_RESOURCE_DEPS})
target_link_libraries(norv_probed PRIVATE norv_win)
target_link_options(norv_probed PRIVATE -municode)
norvale_warnings(norv_probed)
add_dependencies(norv_probed norv_artwork)

add_executable(nnote WIN32 ${CMAKE_SOURCE_DIR}/app/nnote_main_win.cpp ${NORVALE_NNOTE_RC})
target_link_libraries(nnote PRIVATE user32)
target_link_options(nnote PRIVATE -municode)
norvale_warnings(nnote)
add_dependencies(nnote norv_artwork)

# The update tool, with the release key the build trusts (cmake/ReleaseKey.cmake),
# and its test build, which also takes a plain http:// address on 127.0.0.1
# for the loopback site of the Wine tests; the shipped liveup.exe never does.
include(${CMAKE_CURRENT_LIST_DIR}/ReleaseKey.cmake)
foreach(name liveup liveup_loopback)
  add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/notices/liveup_main_win.cpp ${NORVALE_LIVEUP_RC})
  target_link_libraries(${name} PRIVATE norv_notices)
  norvale_include_rights(${name} notices BELOW norv_notices)
  target_link_options(${name} PRIVATE -municode)
  target_compile_definitions(${name} PRIVATE ${NORVALE_RELEASE_KEY_DEFINITION})
  norvale_warnings(${name})
  add_dependencies(${name} norv_artwork)
endforeach()
target_compile_definitions(liveup_loopback PRIVATE NORVALE_LIVEUP_LOOPBACK_HTTP)

# The help file beside norv.exe (help/, cmake/Help.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/Help.cmake)

# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# Small test-only programs (stand-ins, window probes) that the Wine tests start.
file(GLOB _helpers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/helpers/*.cpp)
foreach(src IN LISTS _helpers)
  get_filename_component(name ${src} NAME_WE)
  # With the program's resources, so helpers that paint get its pictures.
  add_executable(${name} ${src} ${_rc})
  target_link_libraries(${name} PRIVATE norv_win)
  target_link_options(${name} PRIVATE -municode)
  list(APPEND NORVALE_TEST_HELPERS ${name})
endforeach()

file(GLOB _win_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
# The tests carry the program's resources too, so that code loading pictures,
# icons or the glyph strip from its own module works there as in norv.exe.
# The service's record rules too, so the end-to-end test knows the store's
# histories without asking the service that serves them.
add_executable(norv_win_tests ${_win_tests} ${_rc}
  ${CMAKE_SOURCE_DIR}/service/draw.cpp ${CMAKE_SOURCE_DIR}/service/history_csv.cpp)
target_link_libraries(norv_win_tests PRIVATE norv_win gtest gmock gtest_main ws2_32)
target_compile_definitions(norv_win_tests PRIVATE NORVALE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(norv_win_tests norv norv_probed norv_help nnote norv_artwork ${NORVALE_TEST_HELPERS})
# The maker's service (a native program) runs around the Windows tests on
# 127.0.0.1: in test mode for the tests that drive its controls, and as the
# real published site (under nginx and under its own server) for the end-to-end
# check. Both keep their state, ports included, in one folder that the tests
# find through their environment.
set(NORVALE_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build/native CACHE PATH "Native build that holds norv-service and norv-test-service")
# Each lane of tools/wine-lane (tools/wine-lanes.json) has services of its
# own, in a folder named after lane 1's.
set(_services_state ${CMAKE_BINARY_DIR}/local-services)
foreach(lane IN ITEMS 1 2)
  set(_state ${_services_state})
  set(_suffix "")
  if(NOT lane EQUAL 1)
    set(_state ${_services_state}-lane${lane})
    set(_suffix _lane${lane})
  endif()
  add_test(NAME test_service_start${_suffix}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/service-ctl start ${_state} ${NORVALE_NATIVE_BUILD})
  add_test(NAME test_service_stop${_suffix} COMMAND ${CMAKE_SOURCE_DIR}/tools/service-ctl stop ${_state})
  add_test(NAME published_site_start${_suffix}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/site-ctl start ${_state} ${NORVALE_NATIVE_BUILD})
  add_test(NAME published_site_stop${_suffix} COMMAND ${CMAKE_SOURCE_DIR}/tools/site-ctl stop ${_state})
  set_tests_properties(test_service_start${_suffix} published_site_start${_suffix} PROPERTIES
    FIXTURES_SETUP local_services TIMEOUT 600)
  set_tests_properties(test_service_stop${_suffix} published_site_stop${_suffix} PROPERTIES
    FIXTURES_CLEANUP local_services)
endforeach()

# Every test takes one lane (a Wine prefix, display and local services of its
# own) and so runs beside at most one other, under ctest -j2 with
# --resource-spec-file tools/wine-lanes.json; without that file, one at a time
# in lane 1.
# The limit leaves room for a check that waits out the test build's stall
# limit of a hanging page twice, with the machine loaded.
set_target_properties(norv_win_tests PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-lane)
gtest_discover_tests(norv_win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 200 RESOURCE_GROUPS lanes:1 FIXTURES_REQUIRED local_services
  ENVIRONMENT "NORVALE_LOCAL_SERVICES=Z:${_services_state}")

# The setup program, its stripped payload and symbols, and its tests.
include(${CMAKE_CURRENT_LIST_DIR}/Installer.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/UpdateTests.cmake)

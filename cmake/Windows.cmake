# Windows build: norv.exe, nnote.exe and the Wine-run tests, all linked statically.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

set(NORVALE_WIN_LIBS wininet comctl32 shell32 shlwapi winmm uxtheme gdi32 user32 advapi32 comdlg32 ole32 msimg32)

add_library(norv_win STATIC ${NORVALE_PORTABLE_SOURCES} ${NORVALE_WIN_SOURCES})
target_include_directories(norv_win PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(norv_win PUBLIC ${NORVALE_WIN_LIBS})
norvale_warnings(norv_win)

file(GLOB _rc CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/norv.rc)
include(${CMAKE_SOURCE_DIR}/resources/Resources.cmake OPTIONAL)

add_executable(norv WIN32 ${CMAKE_SOURCE_DIR}/app/norv_main_win.cpp ${_rc} ${NORVALE_RESOURCE_DEPS})
target_link_libraries(norv PRIVATE norv_win)
target_link_options(norv PRIVATE -municode)
norvale_warnings(norv)
if(TARGET norv_artwork)
  add_dependencies(norv norv_artwork)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/app/nnote_main_win.cpp)
  add_executable(nnote WIN32 ${CMAKE_SOURCE_DIR}/app/nnote_main_win.cpp ${NORVALE_NNOTE_RC})
  target_link_libraries(nnote PRIVATE user32)
  target_link_options(nnote PRIVATE -municode)
  norvale_warnings(nnote)
  if(TARGET norv_artwork)
    add_dependencies(nnote norv_artwork)
  endif()
endif()

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
add_executable(norv_win_tests ${_win_tests} ${_rc})
target_link_libraries(norv_win_tests PRIVATE norv_win gtest gmock gtest_main ws2_32)
target_compile_definitions(norv_win_tests PRIVATE NORVALE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(norv_win_tests norv ${NORVALE_TEST_HELPERS})
if(TARGET norv_artwork)
  add_dependencies(norv_win_tests norv_artwork)
endif()
if(TARGET nnote)
  add_dependencies(norv_win_tests nnote)
endif()
# The local draw service (a native program) runs around the Windows tests on
# 127.0.0.1; the tests read its port from a file named in their environment.
set(NORVALE_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build/native CACHE PATH "Native build that holds norv-drawservice")
set(_drawservice_state ${CMAKE_BINARY_DIR}/drawservice)
add_test(NAME drawservice_start
  COMMAND ${CMAKE_SOURCE_DIR}/tools/drawservice-ctl start ${_drawservice_state} ${NORVALE_NATIVE_BUILD})
add_test(NAME drawservice_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/drawservice-ctl stop ${_drawservice_state})
set_tests_properties(drawservice_start PROPERTIES FIXTURES_SETUP drawservice TIMEOUT 600)
set_tests_properties(drawservice_stop PROPERTIES FIXTURES_CLEANUP drawservice)

# One Wine prefix and one registry hive serve every test: run them one at a time.
gtest_discover_tests(norv_win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE FIXTURES_REQUIRED drawservice
  ENVIRONMENT "NORVALE_DRAWSERVICE_PORT_FILE=Z:${_drawservice_state}/drawservice.port")

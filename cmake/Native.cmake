# Native build of the portable core: unit tests, sanitizers, benchmarks, fuzzers, tools.
option(NORVALE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(NORVALE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(NORVALE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(NORVALE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)
add_library(norv_core STATIC ${NORVALE_PORTABLE_SOURCES} ${NORVALE_POSIX_SOURCES})
target_include_directories(norv_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(norv_core PUBLIC Threads::Threads)
norvale_warnings(norv_core)

if(NORVALE_FUZZ)
  # The service contributes only its portable reader of the bank's files.
  add_subdirectory(${CMAKE_SOURCE_DIR}/service ${CMAKE_BINARY_DIR}/service)
  file(GLOB _fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src IN LISTS _fuzzers)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE norv_core norv_service_reader)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
  return()
endif()

# The draw service's sample data, pages and routing, without its HTTP front
# end: the service program links it, and the unit tests check it directly.
add_library(norv_drawservice_core STATIC
  ${CMAKE_SOURCE_DIR}/tools/drawservice/sample_data.cpp
  ${CMAKE_SOURCE_DIR}/tools/drawservice/pages.cpp
  ${CMAKE_SOURCE_DIR}/tools/drawservice/service.cpp)
target_include_directories(norv_drawservice_core PUBLIC ${CMAKE_SOURCE_DIR})
norvale_warnings(norv_drawservice_core)

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB _native_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(norv_core_tests ${_native_tests})
target_link_libraries(norv_core_tests PRIVATE norv_core norv_drawservice_core GTest::gtest GTest::gtest_main GTest::gmock)
target_compile_definitions(norv_core_tests PRIVATE NORVALE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(norv_core_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 60)

add_subdirectory(${CMAKE_SOURCE_DIR}/service ${CMAKE_BINARY_DIR}/service)

if(NOT NORVALE_SANITIZE)
  find_package(benchmark REQUIRED)
  file(GLOB _benches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
  if(_benches)
    add_executable(norv_bench ${_benches})
    target_link_libraries(norv_bench PRIVATE norv_core benchmark::benchmark benchmark::benchmark_main)
  endif()
  file(GLOB _tool_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*/CMakeLists.txt)
  foreach(tool IN LISTS _tool_dirs)
    get_filename_component(dir ${tool} DIRECTORY)
    add_subdirectory(${dir})
  endforeach()
endif()

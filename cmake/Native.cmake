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
norvale_add_layers()
target_link_libraries(norv_base PUBLIC Threads::Threads)
# Every layer, for the tests, benchmarks and fuzzers, which may include any folder.
add_library(norv_core INTERFACE)
target_include_directories(norv_core INTERFACE ${CMAKE_SOURCE_DIR})
target_link_libraries(norv_core INTERFACE norv_app)

if(NORVALE_FUZZ)
  # The service contributes only its portable reader of the bank's files, and
  # the test service its request parser.
  add_subdirectory(${CMAKE_SOURCE_DIR}/service ${CMAKE_BINARY_DIR}/service)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/test_service ${CMAKE_BINARY_DIR}/tests/test_service)
  file(GLOB _fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src IN LISTS _fuzzers)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE norv_core norv_service_reader norv_test_service_parser)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
  return()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB _native_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(norv_core_tests ${_native_tests})
target_link_libraries(norv_core_tests PRIVATE norv_core GTest::gtest GTest::gtest_main GTest::gmock)
target_compile_definitions(norv_core_tests PRIVATE NORVALE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(norv_core_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 60)

add_subdirectory(${CMAKE_SOURCE_DIR}/service ${CMAKE_BINARY_DIR}/service)

# The build refuses an upward include: two sources compiled with the store
# layer's include rights, one including from below (must build) and one from
# above (must not), built by the test alone.
foreach(probe downward upward)
  add_library(norv_layer_probe_${probe} OBJECT EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/layers/${probe}_include.cpp)
  norvale_include_rights(norv_layer_probe_${probe} store BELOW norv_store)
endforeach()
add_test(NAME build_refuses_upward_include
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -P ${CMAKE_SOURCE_DIR}/tests/layers/upward_include_test.cmake)

if(NOT NORVALE_SANITIZE)
  find_package(benchmark REQUIRED)
  file(GLOB _benches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
  add_executable(norv_bench ${_benches})
  target_link_libraries(norv_bench PRIVATE norv_core benchmark::benchmark benchmark::benchmark_main)
endif()

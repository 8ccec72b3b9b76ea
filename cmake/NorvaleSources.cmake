# One static library per folder, norv_<folder>, linked only to the folders
# below it (norvale_add_layers at the end of this file is the whole graph).
# A folder holds portable files (*.cpp), Windows adapters (*_win.cpp, Windows
# build only) and, where a portable build needs a stand-in, POSIX adapters
# (*_posix.cpp, native build only). Program entry points end in _main_win.cpp
# and are built as executables only.
#
# Include rights follow the links: a target compiles against an include root
# of its own (build/layers/<target>) holding links to its own folder and the
# folders below it, and nothing else, so an include that runs up a layer does
# not compile.

set(NORVALE_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

# norvale_record_rights(<target> <folder> [BELOW <target>...]): <target> may
# include from <folder> and from whatever the targets BELOW may include.
function(norvale_record_rights target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "BELOW")
  set(rights ${folder})
  foreach(below IN LISTS arg_BELOW)
    get_property(below_rights GLOBAL PROPERTY NORVALE_RIGHTS_${below})
    if(NOT below_rights)
      message(FATAL_ERROR "${target}: ${below} has no include rights yet; declare the lower layer first")
    endif()
    list(APPEND rights ${below_rights})
  endforeach()
  list(REMOVE_DUPLICATES rights)
  set_property(GLOBAL PROPERTY NORVALE_RIGHTS_${target} ${rights})
endfunction()

# norvale_include_rights(<target> <folder> [BELOW <target>...]): records the
# rights as above and compiles <target> against an include root of exactly them.
function(norvale_include_rights target folder)
  norvale_record_rights(${ARGV})
  get_property(rights GLOBAL PROPERTY NORVALE_RIGHTS_${target})
  set(root ${NORVALE_LAYER_ROOTS}/${target})
  # Made afresh at every configure, so a right taken away is gone.
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(dir IN LISTS rights)
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${dir} ${root}/${dir} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# norvale_layer(<folder> [BELOW <folder>...]): the target norv_<folder>.
function(norvale_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "BELOW")
  set(target norv_${folder})
  list(TRANSFORM arg_BELOW PREPEND norv_ OUTPUT_VARIABLE below)

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_main_win\\.cpp$")
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()

  if(sources)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${below})
    norvale_include_rights(${target} ${folder} BELOW ${below})
    norvale_warnings(${target})
  else()
    # Headers only: nothing to compile, but the rights still count.
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${below})
    norvale_record_rights(${target} ${folder} BELOW ${below})
  endif()
endfunction()

# The program's layers, lowest first. Beside them sits the service
# (service/CMakeLists.txt), which builds on store and notices.
function(norvale_add_layers)
  norvale_layer(resources)
  norvale_layer(base BELOW resources)
  norvale_layer(store BELOW base)
  norvale_layer(settings BELOW store)
  norvale_layer(schedule BELOW settings)
  norvale_layer(acquisition BELOW schedule store)
  norvale_layer(companions BELOW settings store)
  norvale_layer(notices BELOW acquisition companions)
  norvale_layer(about BELOW acquisition)
  norvale_layer(app BELOW notices about)
endfunction()

function(norvale_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
endfunction()

# The maker's service addresses compiled into Norvale. A maker builds a release
# that points at its own service: `norv-service publish` prints the two
# directory endpoints to give here. The defaults name the reserved .example
# domain, and the environment (NORVALE_DIRECTORY_1 and so on) still overrides
# every one of them for tests and demonstrations.
set(NORVALE_DIRECTORY_1_DEFAULT "https://directory1.norvale.example/dir.cgi?SFT=0" CACHE STRING
    "Primary directory endpoint compiled into Norvale")
set(NORVALE_DIRECTORY_2_DEFAULT "https://directory2.norvale.example/dir.cgi?SFT=0" CACHE STRING
    "Secondary directory endpoint compiled into Norvale")
set(NORVALE_DOWNLOAD_1_DEFAULT "https://download1.norvale.example/dlf/" CACHE STRING
    "Primary folder of the download lists compiled into Norvale")
set(NORVALE_DOWNLOAD_2_DEFAULT "https://download2.norvale.example/dlf/" CACHE STRING
    "Secondary folder of the download lists compiled into Norvale")
set(_norvale_address_definitions)
foreach(name DIRECTORY_1 DIRECTORY_2 DOWNLOAD_1 DOWNLOAD_2)
  set(_value "${NORVALE_${name}_DEFAULT}")
  # The text goes into a string literal of the program: an address, nothing else.
  if(NOT _value MATCHES "^https?://[^\"\\ ;#]+$")
    message(FATAL_ERROR "NORVALE_${name}_DEFAULT must be an http:// or https:// address, not \"${_value}\"")
  endif()
  list(APPEND _norvale_address_definitions "NORVALE_${name}_DEFAULT=\"${_value}\"")
endforeach()
set_source_files_properties(${CMAKE_SOURCE_DIR}/acquisition/service_addresses.cpp PROPERTIES
  COMPILE_DEFINITIONS "${_norvale_address_definitions}")

# Each subsystem folder holds portable files (*.cpp), Windows adapters (*_win.cpp)
# and, where a portable build needs a stand-in, POSIX adapters (*_posix.cpp).
# Program entry points end in _main_win.cpp and are built as executables only.
set(NORVALE_SUBSYSTEMS base app acquisition store settings companions notices about resources)

set(_norvale_all)
foreach(dir IN LISTS NORVALE_SUBSYSTEMS)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND _norvale_all ${_srcs})
endforeach()
list(FILTER _norvale_all EXCLUDE REGEX "_main_win\\.cpp$")

set(NORVALE_PORTABLE_SOURCES ${_norvale_all})
list(FILTER NORVALE_PORTABLE_SOURCES EXCLUDE REGEX "_(win|posix)\\.cpp$")
set(NORVALE_WIN_SOURCES ${_norvale_all})
list(FILTER NORVALE_WIN_SOURCES INCLUDE REGEX "_win\\.cpp$")
set(NORVALE_POSIX_SOURCES ${_norvale_all})
list(FILTER NORVALE_POSIX_SOURCES INCLUDE REGEX "_posix\\.cpp$")

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

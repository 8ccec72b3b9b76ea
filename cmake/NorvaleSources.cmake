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

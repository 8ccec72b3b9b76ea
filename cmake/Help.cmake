# The help file norv.chm, compiled from the Japanese pages in help/ and put
# beside norv.exe. The sources are UTF-8; tools/help/build_help.py converts
# them to Shift_JIS, which the Windows help viewer reads for a Japanese help
# file, and compiles them with chmcmd (Debian's fp-utils).
find_program(NORVALE_PYTHON NAMES python3 python REQUIRED)
find_program(NORVALE_CHMCMD chmcmd REQUIRED)
find_program(NORVALE_CHMLS chmls REQUIRED)

set(_help_dir ${CMAKE_SOURCE_DIR}/help)
set(_help_tools ${CMAKE_SOURCE_DIR}/tools/help)
file(GLOB _help_sources CONFIGURE_DEPENDS ${_help_dir}/*)
set(NORVALE_HELP_FILE ${CMAKE_BINARY_DIR}/norv.chm)

add_custom_command(OUTPUT ${NORVALE_HELP_FILE}
  COMMAND ${NORVALE_PYTHON} ${_help_tools}/build_help.py ${_help_dir}/norv.hhp ${CMAKE_BINARY_DIR}/help
          ${NORVALE_HELP_FILE} --chmcmd ${NORVALE_CHMCMD}
  DEPENDS ${_help_sources} ${_help_tools}/build_help.py
  COMMENT "Compiling the help file"
  VERBATIM)
add_custom_target(norv_help ALL DEPENDS ${NORVALE_HELP_FILE})

add_test(NAME help_links_resolve
  COMMAND ${NORVALE_PYTHON} ${_help_tools}/check_help.py links ${_help_dir}/norv.hhp)
add_test(NAME help_file_holds_every_page
  COMMAND ${NORVALE_PYTHON} ${_help_tools}/check_help.py chm ${_help_dir}/norv.hhp ${NORVALE_HELP_FILE}
          --chmls ${NORVALE_CHMLS})

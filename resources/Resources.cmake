# Draws the artwork at build time (tools/artwork/make_artwork.py, standard
# library only) and compiles it into norv.exe, nnote.exe and the Wine tests.
find_program(NORVALE_PYTHON NAMES python3 python REQUIRED)

set(NORVALE_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(_art_script ${CMAKE_SOURCE_DIR}/tools/artwork/make_artwork.py)
set(_art_names toolbar.bmp toolbar_150.bmp toolbar_200.bmp menu.bmp glyphs.bmp glyphs_150.bmp glyphs_200.bmp norv.ico nnote.ico tray_normal.ico tray_checking.ico norv.wav)
foreach(k RANGE 7)
  list(APPEND _art_names tray_anim${k}.ico)
endforeach()
list(TRANSFORM _art_names PREPEND ${NORVALE_ARTWORK_DIR}/ OUTPUT_VARIABLE _art_outputs)

add_custom_command(OUTPUT ${_art_outputs}
  COMMAND ${NORVALE_PYTHON} ${_art_script} ${NORVALE_ARTWORK_DIR}
  DEPENDS ${_art_script}
  COMMENT "Drawing the artwork"
  VERBATIM)
# The update sound lives next to norv.exe.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/norv.wav
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${NORVALE_ARTWORK_DIR}/norv.wav ${CMAKE_BINARY_DIR}/norv.wav
  DEPENDS ${NORVALE_ARTWORK_DIR}/norv.wav
  VERBATIM)
add_custom_target(norv_artwork ALL DEPENDS ${_art_outputs} ${CMAKE_BINARY_DIR}/norv.wav)

set(NORVALE_NNOTE_RC ${CMAKE_SOURCE_DIR}/resources/nnote.rc)
set(NORVALE_LIVEUP_RC ${CMAKE_SOURCE_DIR}/resources/liveup.rc)
set(_rc_deps ${_art_outputs} ${CMAKE_SOURCE_DIR}/resources/norv.manifest ${CMAKE_SOURCE_DIR}/resources/resource_ids.h)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/norv.rc ${NORVALE_NNOTE_RC} ${NORVALE_LIVEUP_RC} PROPERTIES
  OBJECT_DEPENDS "${_rc_deps}"
  INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/resources;${NORVALE_ARTWORK_DIR}")
set(NORVALE_RESOURCE_DEPS)

# Copies the delivered data files (data/) beside the executables, so that the
# build folder's bin/ is a complete program folder. Re-runs when a file in
# data/ changes.
file(GLOB ORMAVEX_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
list(FILTER ORMAVEX_DATA_FILES EXCLUDE REGEX "README\\.md$")
set(ORMAVEX_DATA_STAMPS)
foreach(f IN LISTS ORMAVEX_DATA_FILES)
  get_filename_component(name ${f} NAME)
  add_custom_command(OUTPUT ${ORMAVEX_BIN_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORMAVEX_BIN_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${ORMAVEX_BIN_DIR}/${name}
    DEPENDS ${f} VERBATIM)
  list(APPEND ORMAVEX_DATA_STAMPS ${ORMAVEX_BIN_DIR}/${name})
endforeach()
add_custom_target(ormavex_data ALL DEPENDS ${ORMAVEX_DATA_STAMPS})

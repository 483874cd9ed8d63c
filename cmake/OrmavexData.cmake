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

# The user manual (docs/manual) into bin/manual, with the screenshots it shows
# (docs/screenshots) in bin/manual/images: the help window finds it beside the
# program, in the build folder as when installed.
file(GLOB ORMAVEX_MANUAL_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*.html)
file(GLOB ORMAVEX_MANUAL_IMAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/screenshots/*.png)
set(ORMAVEX_MANUAL_STAMPS)
foreach(f IN LISTS ORMAVEX_MANUAL_PAGES ORMAVEX_MANUAL_IMAGES)
  get_filename_component(name ${f} NAME)
  if(f MATCHES "\\.png$")
    set(out ${ORMAVEX_BIN_DIR}/manual/images/${name})
  else()
    set(out ${ORMAVEX_BIN_DIR}/manual/${name})
  endif()
  get_filename_component(outdir ${out} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
    DEPENDS ${f} VERBATIM)
  list(APPEND ORMAVEX_MANUAL_STAMPS ${out})
endforeach()
add_custom_target(ormavex_manual ALL DEPENDS ${ORMAVEX_MANUAL_STAMPS})
add_dependencies(ormavex_data ormavex_manual)

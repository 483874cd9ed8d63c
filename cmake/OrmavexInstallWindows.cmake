# Install rules and the ZIP package on Windows (cpack -G ZIP).
#
# The programs find their data files beside themselves: the programs, the
# delivered data files and the manual share one folder, the top of the ZIP.
set(ORMAVEX_INSTALLED_PROGRAMS)
foreach(program ormavex ormavex-batch ormavex-preview)
  if(TARGET ${program})
    list(APPEND ORMAVEX_INSTALLED_PROGRAMS ${program})
    install(TARGETS ${program} RUNTIME DESTINATION .)
  endif()
endforeach()
# ormavex-batch loads its PDF output from a module beside itself.
if(TARGET ormavex-batch-pdf)
  install(TARGETS ormavex-batch-pdf LIBRARY DESTINATION . RUNTIME DESTINATION .)
endif()
install(FILES ${ORMAVEX_DATA_FILES} DESTINATION .)
install(FILES ${ORMAVEX_MANUAL_PAGES} DESTINATION manual)
install(FILES ${ORMAVEX_MANUAL_IMAGES} DESTINATION manual/images)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION . RENAME copyright.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ormavex)
set(CPACK_PACKAGE_VENDOR Velmorra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_PACKAGE_FILE_NAME ormavex-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
include(CPack)

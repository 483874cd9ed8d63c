# Install rules and the Debian package (cpack -G DEB).
#
# The programs find their data files beside themselves, so the programs and
# the delivered data files share one program folder, <prefix>/lib/ormavex;
# <prefix>/bin holds links to the programs. The desktop entry, icon, file type
# and AppStream metainfo come with the application program `ormavex`. Nothing
# from tests/, bench/ or tools/ is installed.
include(GNUInstallDirs)

set(ORMAVEX_INSTALL_PROGRAM_DIR lib/ormavex)
set(ORMAVEX_PACKAGE_MAINTAINER "Ormavex maintainers <maintainers@ormavex.invalid>"
  CACHE STRING "Maintainer field of the Debian package")
set(ORMAVEX_APP_ID com.velmorra.ormavex)
set(src ${CMAKE_SOURCE_DIR}/packaging)
set(gen ${CMAKE_BINARY_DIR}/packaging)
find_program(ORMAVEX_GZIP gzip)

# A text file made from its template (the version put in) and, when gzip is
# there, compressed as Debian wants it: maximal, without name and time stamp.
# The output's path is returned in ${out_var}.
function(ormavex_generated_doc template name out_var)
  configure_file(${template} ${gen}/${name} @ONLY)
  if(ORMAVEX_GZIP)
    add_custom_command(OUTPUT ${gen}/${name}.gz
      COMMAND ${ORMAVEX_GZIP} -9nkf ${gen}/${name}
      DEPENDS ${gen}/${name} VERBATIM)
    set(${out_var} ${gen}/${name}.gz PARENT_SCOPE)
  else()
    set(${out_var} ${gen}/${name} PARENT_SCOPE)
  endif()
endfunction()

set(ORMAVEX_INSTALLED_PROGRAMS)
set(docs)
foreach(program ormavex ormavex-batch ormavex-preview)
  if(TARGET ${program})
    list(APPEND ORMAVEX_INSTALLED_PROGRAMS ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${ORMAVEX_INSTALL_PROGRAM_DIR})
    # The relative link is made here and installed as a link.
    file(MAKE_DIRECTORY ${gen}/bin)
    file(CREATE_LINK ../${ORMAVEX_INSTALL_PROGRAM_DIR}/${program} ${gen}/bin/${program} SYMBOLIC)
    install(FILES ${gen}/bin/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
    ormavex_generated_doc(${src}/man/${program}.1.in man/${program}.1 page)
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND docs ${page})
  endif()
endforeach()
# ormavex-batch loads its PDF output from a module beside itself.
if(TARGET ormavex-batch-pdf)
  install(TARGETS ormavex-batch-pdf LIBRARY DESTINATION ${ORMAVEX_INSTALL_PROGRAM_DIR})
endif()
install(FILES ${ORMAVEX_DATA_FILES} DESTINATION ${ORMAVEX_INSTALL_PROGRAM_DIR})
# The user manual beside the data files, as the build folder holds it.
install(FILES ${ORMAVEX_MANUAL_PAGES} DESTINATION ${ORMAVEX_INSTALL_PROGRAM_DIR}/manual)
install(FILES ${ORMAVEX_MANUAL_IMAGES} DESTINATION ${ORMAVEX_INSTALL_PROGRAM_DIR}/manual/images)

# The package's changelog: one entry for this release.
execute_process(COMMAND date -u -R -d "${ORMAVEX_RELEASE_DATE}"
  OUTPUT_VARIABLE ORMAVEX_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
set(ORMAVEX_DEB_VERSION ${PROJECT_VERSION})
ormavex_generated_doc(${src}/changelog.in changelog changelog)
install(FILES ${src}/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ormavex)
list(APPEND docs ${changelog})

configure_file(${src}/${ORMAVEX_APP_ID}.metainfo.xml.in ${gen}/${ORMAVEX_APP_ID}.metainfo.xml @ONLY)
if(TARGET ormavex)
  install(FILES ${src}/${ORMAVEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${src}/${ORMAVEX_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${src}/${ORMAVEX_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME ${ORMAVEX_APP_ID}.xml)
  install(FILES ${gen}/${ORMAVEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
add_custom_target(ormavex_docs ALL DEPENDS ${docs})

# What the programs need to run, and nothing else (no tests, fuzz or bench
# programs): `tools/setup.sh sample` builds this target.
add_custom_target(ormavex_programs)
add_dependencies(ormavex_programs ${ORMAVEX_INSTALLED_PROGRAMS} ormavex_data ormavex_docs)
foreach(target ormavex-batch-pdf ormavex_manual)
  if(TARGET ${target})
    add_dependencies(ormavex_programs ${target})
  endif()
endforeach()

# --- the Debian package --------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ormavex)
set(CPACK_PACKAGE_VENDOR Velmorra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design of reinforced-concrete caisson breakwaters")
set(CPACK_PACKAGE_DESCRIPTION
  "Ormavex computes the bending moments of the wall and slab panels of caisson
breakwaters from tabulated moment coefficients: up to 99 study cases, each a
rectangular plate with three or four edges fixed and a linearly varying load.
It prints one result page per case with the section force diagram of the
front wall or the bottom slab. The user interface is in Japanese; project
files have the extension .kvt. ormavex-batch computes and reports a project
without a window.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORMAVEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the report's
# Japanese font and Qt's Japanese translations are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
include(CPack)

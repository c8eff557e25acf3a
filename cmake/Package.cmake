# The Debian package frusta2_<version>_amd64.deb (scripts/package.sh), made by CPack from the
# install layout; dpkg-shlibdeps computes the library dependencies.
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/copyright DESTINATION share/doc/frusta2)
# The program folder lives in /opt as an add-on package's folder does (the programs find
# their data beside them); lintian's rule for Debian's own archive is overridden for it.
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/lintian-overrides DESTINATION share/lintian/overrides
        RENAME frusta2)
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/io.github.frusta2.metainfo.xml DESTINATION share/metainfo)
install(CODE "
  set(_doc \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/doc/frusta2\")
  file(MAKE_DIRECTORY \"\${_doc}\")
  execute_process(COMMAND gzip -9nc \"${CMAKE_SOURCE_DIR}/res/desktop/changelog\"
                  OUTPUT_FILE \"\${_doc}/changelog.gz\")
  set(_man \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/man/man1\")
  file(MAKE_DIRECTORY \"\${_man}\")
  foreach(_page frusta2 frusta2-cli)
    execute_process(COMMAND gzip -9nc \"${CMAKE_SOURCE_DIR}/res/desktop/\${_page}.1\"
                    OUTPUT_FILE \"\${_man}/\${_page}.1.gz\")
  endforeach()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME frusta2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the FRUSTA 2 developers")
set(CPACK_PACKAGE_CONTACT "FRUSTA 2 developers <noreply@frusta2.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ecological status of rivers and lakes from diatom counts")
# The long description: CPack indents every line and puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "FRUSTA 2 assesses the ecological status of river and lake sites from counts
of benthic diatoms: it matches every taxon of a workbook of counts against a
reference taxon list and computes for every sample the trophic diatom index
(TDI3, TDI4, LTDI1, LTDI2) or the diatom acidification metric (DAM), its
expected value, the ecological quality ratio and the status class, and for
every site the confidence of class.
.
The package holds the desktop program frusta2, the command line frusta2-cli,
a demonstration reference database and an example dataset.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

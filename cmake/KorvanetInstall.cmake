# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Korvanet as a Linux desktop program: the programs in bin/, and
# under share/ the menu entry, the icon, the AppStream metainfo, the job file
# type, the manual pages and the example jobs.  Included at the end of the top
# CMakeLists.txt, when every program target exists.
#
#   cmake --install build/release --prefix ~/.local
#   cpack -G DEB --config build/release/CPackConfig.cmake   (cmake/KorvanetPackage.cmake)

include(GNUInstallDirs)

# The desktop file, the icon, the metainfo and the MIME package all carry this
# one reverse-DNS name, as AppStream and the menus expect.
set(KORVANET_APP_ID "io.github.korvanet.Korvanet")
target_compile_definitions(korvanet PRIVATE KORVANET_APP_ID="${KORVANET_APP_ID}")
# Debian names the documentation folder after the package, in lower case
# (GNUInstallDirs would take the project's name, "Korvanet").
set(KORVANET_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/korvanet")

# The programs.  korvanet-pdf, when it exists, is the small Qt program that
# korvanet-batch --pdf runs; korvanet-batch looks for it beside itself, so it
# belongs in the same bin/.
set(KORVANET_PROGRAMS korvanet korvanet-batch)
if(TARGET korvanet-pdf)
  list(APPEND KORVANET_PROGRAMS korvanet-pdf)
endif()
# Every library of ours is static and Qt lives in the system's own folders: an
# installed program has no reason to look for libraries beside itself.
set_target_properties(${KORVANET_PROGRAMS} PROPERTIES INSTALL_RPATH "")
install(TARGETS ${KORVANET_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The table of order classes (GB 50026-2007, GB/T 17942-2000), which
# korvanet-batch --class and the quality window read.
install(FILES data/order-classes.json DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/korvanet)

# Desktop integration.
install(FILES data/${KORVANET_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES data/${KORVANET_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES data/${KORVANET_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES data/${KORVANET_APP_ID}.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages)

# The manual pages name the version they describe.  They are installed
# compressed, as Debian policy asks of a package (gzip -9n: best compression,
# no file name or time stamp, so the same page gives the same bytes); man,
# lexgrog and mandb read them so in any installed tree.
set(KORVANET_MAN_PAGES "")
foreach(page korvanet.1 korvanet-batch.1)
  set(man ${CMAKE_CURRENT_BINARY_DIR}/man/${page})
  configure_file(data/${page}.in ${man} @ONLY)
  add_custom_command(OUTPUT ${man}.gz
    COMMAND gzip -9n -c ${man} > ${man}.gz
    DEPENDS ${man} VERBATIM)
  list(APPEND KORVANET_MAN_PAGES ${man}.gz)
endforeach()
add_custom_target(korvanet_man_pages ALL DEPENDS ${KORVANET_MAN_PAGES})
install(FILES ${KORVANET_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licence, where Debian keeps it: machine-readable (DEP-5), pointing to
# the full text in /usr/share/common-licenses/GPL-3.
install(FILES data/copyright DESTINATION ${KORVANET_DOCDIR})

# The example jobs and field books with the report, box texts and dialogue
# each job gives, so that a colleague can check an installation against
# known results; the README with its pictures.
install(DIRECTORY examples/ DESTINATION ${KORVANET_DOCDIR}/examples
  FILES_MATCHING PATTERN "*.txt" PATTERN "*.design" PATTERN "*.kvf" PATTERN "*.report" PATTERN "*.fields"
  PATTERN "*.transcript")
install(FILES README.md DESTINATION ${KORVANET_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${KORVANET_DOCDIR}/docs FILES_MATCHING PATTERN "*.png")

# Installs into a scratch DESTDIR and runs what got installed.
add_test(NAME installed_tree
  COMMAND ${KORVANET_TEST_LAUNCHER} ${CMAKE_SOURCE_DIR}/testing/install/check_install.sh
    ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION} ${KORVANET_APP_ID}
    ${KORVANET_PROGRAMS})
set_tests_properties(installed_tree PROPERTIES TIMEOUT 300)

include(${CMAKE_CURRENT_LIST_DIR}/KorvanetPackage.cmake)

# Install rules and the Debian package. Installed layout (prefix /usr in the package, /usr/local for a
# plain `cmake --install`):
#   bin/orvo-show                      the program
#   share/orvo/resources/              everything it reads; found as ../share/orvo/resources from bin/
#   share/applications/orvo-show.desktop, share/icons/hicolor/256x256/apps/orvo-show.png
#   share/man/man1/orvo-show.1.gz
include(GNUInstallDirs)

install(TARGETS orvo-show RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Stamp files only tell the build what is up to date; the editor's undo snapshots belong to one viewer.
install(DIRECTORY ${ORVO_RESOURCES_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvo/resources
        PATTERN ".*" EXCLUDE
        PATTERN "*--*!*.dat" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/orvo-show.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVO_ICON_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# The manual page takes its options from the program's --help. Debian wants it compressed, and
# without a time stamp so the package is reproducible.
set(orvo_man_page ${CMAKE_BINARY_DIR}/packaging/orvo-show.1.gz)
add_custom_command(OUTPUT ${orvo_man_page}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:orvo-show> -DTEMPLATE=${PROJECT_SOURCE_DIR}/packaging/orvo-show.1.in
          -DOUTPUT=${CMAKE_BINARY_DIR}/packaging/orvo-show.1 -DVERSION=${PROJECT_VERSION}
          -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
  COMMAND sh -c "gzip -9n < '${CMAKE_BINARY_DIR}/packaging/orvo-show.1' > '${orvo_man_page}'"
  DEPENDS orvo-show ${PROJECT_SOURCE_DIR}/packaging/orvo-show.1.in ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
  COMMENT "Writing the manual page"
  VERBATIM)
add_custom_target(orvo_man_page ALL DEPENDS ${orvo_man_page})
install(FILES ${orvo_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvo-show)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual show and the engine that plays it")
set(CPACK_PACKAGE_DESCRIPTION "A 3-minute show of deferred-rendered 3-D scenes, slides and full-screen
effects cut to its soundtrack, played in real time with OpenGL. It can also capture itself to numbered
pictures and a video, or time every part of the show, also without a display (EGL).")
set(CPACK_PACKAGE_CONTACT "orvo developers <orvo@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
# The shared libraries the program links, by their Debian 12 package (a test checks that each library
# the installed program needs belongs to one of these).
set(ORVO_DEBIAN_DEPENDS
  libc6 libgcc-s1 libstdc++6 libsdl2-2.0-0 libgl1 libglu1-mesa libglew2.2 libdevil1c2 libmpg123-0
  libkissfft-float131 libfreetype6 libpng16-16 libjpeg62-turbo)
list(JOIN ORVO_DEBIAN_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# A GL driver (Mesa's here; a GPU vendor's elsewhere), EGL for rendering without a display.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libglx-mesa0, libegl1, libegl-mesa0")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg")
set(CPACK_PACKAGE_FILE_NAME orvo-show_${PROJECT_VERSION}_amd64)
include(CPack)

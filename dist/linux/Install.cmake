# Installing like a desktop program: `cmake --install build --prefix PREFIX`
# puts the program in PREFIX/bin, its read-only files and the demo bank in
# PREFIX/share/pellbrook (found from PREFIX/bin, see platform/AppFolders.h),
# and the desktop entry, icon and AppStream metadata where desktops look for
# them.  `cpack -G DEB` in the build folder makes the Debian package.
set(PELLBROOK_ID io.github.pellbrook.Pellbrook)
set(PELLBROOK_DIST ${CMAKE_SOURCE_DIR}/dist/linux)
set(PELLBROOK_SHARE ${CMAKE_INSTALL_DATADIR}/pellbrook)
# Written by hand: CMAKE_INSTALL_DOCDIR would follow the project's capital.
set(PELLBROOK_DOC ${CMAKE_INSTALL_DATADIR}/doc/pellbrook)

# The shipped demo bank is made afresh for installing, never taken from the
# build folder's bank, which holds the developer's own study.
set(PELLBROOK_SHIPPED_BANK ${CMAKE_BINARY_DIR}/shipped/VORDANBANK01.db)
add_custom_command(OUTPUT ${PELLBROOK_SHIPPED_BANK}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${PELLBROOK_SHIPPED_BANK}
  COMMAND makebank --out ${PELLBROOK_SHIPPED_BANK}
  DEPENDS makebank
  COMMENT "Demo question bank to install")
# The Debian changelog of a native package and the manual page, compressed
# as Debian expects (no name or time stamp in the gzip header).
configure_file(${PELLBROOK_DIST}/changelog.in ${CMAKE_BINARY_DIR}/shipped/changelog @ONLY)
configure_file(${PELLBROOK_DIST}/pellbrook.1 ${CMAKE_BINARY_DIR}/shipped/pellbrook.1 @ONLY)
foreach(doc changelog pellbrook.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/shipped/${doc}.gz
    COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/shipped/${doc}
    DEPENDS ${CMAKE_BINARY_DIR}/shipped/${doc})
endforeach()
add_custom_target(shipped_files ALL DEPENDS ${PELLBROOK_SHIPPED_BANK}
  ${CMAKE_BINARY_DIR}/shipped/changelog.gz ${CMAKE_BINARY_DIR}/shipped/pellbrook.1.gz)

install(TARGETS pellbrook RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/pic ${CMAKE_SOURCE_DIR}/sound ${CMAKE_SOURCE_DIR}/htm
  DESTINATION ${PELLBROOK_SHARE})
install(FILES ${PELLBROOK_SHIPPED_BANK} DESTINATION ${PELLBROOK_SHARE}/data)
install(FILES ${PELLBROOK_DIST}/${PELLBROOK_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PELLBROOK_DIST}/${PELLBROOK_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PELLBROOK_DIST}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PELLBROOK_DIST}/copyright ${CMAKE_BINARY_DIR}/shipped/changelog.gz DESTINATION ${PELLBROOK_DOC})
install(FILES ${CMAKE_BINARY_DIR}/shipped/pellbrook.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellbrook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Pellbrook developers <pellbrook@users.noreply.github.com>")
set(CPACK_PACKAGE_VENDOR "Pellbrook developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "study program for a professional qualification examination")
set(CPACK_PACKAGE_DESCRIPTION "Pellbrook prepares a candidate for a national professional qualification
examination. It holds the study book's chapters, its graded key points and
its exercise bank: practise chapter by chapter or key point by key point
with every answer judged and counted, sit timed mock examinations marked
automatically, and follow the study with a daily log, a study plan and
progress charts. Its texts are Chinese.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/pellbrook/pellbrook")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Libraries the program links are found by dpkg-shlibdeps; what it loads at
# run time is named here: the SQLite driver and the window-system plugins
# of Qt, the menu's QML modules, Qt's Chinese texts, the font the menu asks
# for by name and the sound font of the music.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6sql6-sqlite, qt6-qpa-plugins, qml6-module-qtquick, qml6-module-qtqml-workerscript, qml6-module-qtquick-window, qt6-translations-l10n, fonts-wqy-microhei, timgm6mb-soundfont")
include(CPack)

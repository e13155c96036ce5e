# What `cmake --install` puts in place, and the Debian package CPack makes of
# it: the program, its menu entry, its icons (SVG, and PNGs for launchers that
# want pixels), its AppStream metainfo and its manual page.
include(GNUInstallDirs)
# Installing (and so packaging) takes what is built, without building the
# tests and benchmarks first; the package command builds what it installs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(VELKOR_APP_ID org.velkor.Velkor)
set(VELKOR_HOMEPAGE "https://velkor.example" CACHE STRING
    "The project's web address, as the package and the metainfo name it")
set(VELKOR_RELEASE_DATE 2026-12-10)
set(VELKOR_CONTACT "Velkor maintainers <maintainers@users.noreply.c-seed-a7301203.example>")

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(velkor_pngs)
foreach(size 48 128)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${VELKOR_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png}
            ${CMAKE_SOURCE_DIR}/resources/velkor.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/velkor.svg VERBATIM)
  list(APPEND velkor_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants the changelog packed as small as gzip makes it, with no time
# stamp inside, so that two builds give the same bytes.
set(velkor_changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${velkor_changelog}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${velkor_changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
set(velkor_manual ${CMAKE_BINARY_DIR}/velkor.1.gz)
add_custom_command(OUTPUT ${velkor_manual}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/velkor.1 > ${velkor_manual}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/velkor.1 VERBATIM)
add_custom_target(velkor_install_files ALL
  DEPENDS ${velkor_pngs} ${velkor_changelog} ${velkor_manual})

configure_file(${CMAKE_SOURCE_DIR}/packaging/${VELKOR_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${VELKOR_APP_ID}.metainfo.xml @ONLY)

install(TARGETS velkor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VELKOR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/velkor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VELKOR_APP_ID}.svg)
install(FILES ${CMAKE_BINARY_DIR}/${VELKOR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${velkor_manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${velkor_changelog}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velkor)
set(CPACK_PACKAGE_VENDOR Velkor)
set(CPACK_PACKAGE_CONTACT ${VELKOR_CONTACT})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "duplicate file finder for the desktop")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velkor scans a folder for the files matching a name pattern, compares them\n"
    "pairwise by name, size, times, type or content, and sends the extra copy of\n"
    "each pair to the trash or moves it into a folder, by a keep rule the user\n"
    "chooses. Nothing is ever deleted for good. The interface is in Simplified\n"
    "Chinese.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELKOR_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What the libraries' dependencies don't bring: the Chinese fonts, the MIME
# database the file types are named from, the desktop's opener, the window
# system and SVG plugins Qt loads at run time, and Qt's own Chinese texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-noto-cjk, shared-mime-info, xdg-utils, qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n")
include(CPack)

# What `cmake --install` puts where. On Linux the usual desktop layout under
# the prefix: the program, its desktop entry, the icon in the hicolor theme,
# the AppStream metadata, the manual page and the README. On Windows one
# flat folder: the program and the README (the zip CPack makes).
include(GNUInstallDirs)

set(QUORVEL_DIST_DIR "${PROJECT_SOURCE_DIR}/dist")
set(QUORVEL_DIST_OUT "${CMAKE_BINARY_DIR}/dist")
set(QUORVEL_DOC_DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvel")
# The sizes tools/make_art.py draws the theme icon at (res/icons/).
set(QUORVEL_ICON_SIZES 16 22 24 32 48 64 128 256)

if(QUORVEL_BACKEND STREQUAL "win32")
  install(TARGETS quorvel RUNTIME DESTINATION .)
  install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION .)
  return()
endif()

install(TARGETS quorvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The results site is a program of its own in this project; it goes beside
# the desktop program when it is part of the build. Checked once the whole
# project has been read, wherever its folder is added.
function(quorvel_install_results_site)
  if(TARGET quorvel-results)
    install(TARGETS quorvel-results RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endfunction()
cmake_language(DEFER DIRECTORY "${PROJECT_SOURCE_DIR}" CALL quorvel_install_results_site)

configure_file("${QUORVEL_DIST_DIR}/app.desktop.in"
  "${QUORVEL_DIST_OUT}/${QUORVEL_APP_ID}.desktop" @ONLY)
configure_file("${QUORVEL_DIST_DIR}/app.metainfo.xml.in"
  "${QUORVEL_DIST_OUT}/${QUORVEL_APP_ID}.metainfo.xml" @ONLY)
configure_file("${QUORVEL_DIST_DIR}/quorvel.1.in" "${QUORVEL_DIST_OUT}/quorvel.1" @ONLY)

# Manual pages are installed compressed; -n keeps the output the same from
# build to build.
add_custom_command(
  OUTPUT "${QUORVEL_DIST_OUT}/quorvel.1.gz"
  COMMAND gzip -9 -n -c "${QUORVEL_DIST_OUT}/quorvel.1" > "${QUORVEL_DIST_OUT}/quorvel.1.gz"
  DEPENDS "${QUORVEL_DIST_OUT}/quorvel.1"
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(quorvel_man_page ALL DEPENDS "${QUORVEL_DIST_OUT}/quorvel.1.gz")

install(FILES "${QUORVEL_DIST_OUT}/${QUORVEL_APP_ID}.desktop"
  DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
install(FILES "${QUORVEL_DIST_OUT}/${QUORVEL_APP_ID}.metainfo.xml"
  DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/metainfo")
foreach(size IN LISTS QUORVEL_ICON_SIZES)
  install(FILES "${PROJECT_SOURCE_DIR}/res/icons/quorvel-${size}.png"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps"
    RENAME "${QUORVEL_APP_ID}.png")
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/res/icons/quorvel.svg"
  DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps"
  RENAME "${QUORVEL_APP_ID}.svg")
install(FILES "${QUORVEL_DIST_OUT}/quorvel.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION "${QUORVEL_DOC_DESTINATION}")

# The packages CPack makes from the install rules (cmake/QuorvelInstall.cmake):
# a .deb on Linux, a .zip on Windows. Both carry the project's version, the
# one `quorvel --version` prints.
set(CPACK_PACKAGE_NAME "quorvel")
set(CPACK_PACKAGE_VENDOR "Ostrin")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.quorvel.net/")
set(CPACK_PACKAGE_CONTACT "Ostrin <support@quorvel.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "benchmark for translucent and colour-keyed windows")
# Lines of the long description as a Debian control file wants them: CPack
# indents each line by one space.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Quorvel measures how fast the desktop moves and redraws translucent and"
  "colour-keyed windows. It shows the machine's graphics adapter, display mode"
  "and processor and whether the desktop blends translucent windows, drags a"
  "small test window 900 times across the screen under four settings, and"
  "shows the scores and a report, which can be saved and uploaded to a results"
  "site for comparison.")
set(CPACK_STRIP_FILES ON)

if(QUORVEL_BACKEND STREQUAL "win32")
  set(CPACK_GENERATOR "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "quorvel-${PROJECT_VERSION}-win64")
else()
  set(CPACK_GENERATOR "DEB")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION "x11")
  # The libraries the program links are found by dpkg-shlibdeps; web pages
  # open through xdg-open, which no library brings in.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
endif()

include(CPack)

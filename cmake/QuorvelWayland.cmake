# The Wayland backend's layer that speaks to the compositor: the connection
# and its globals, shared-memory buffers, the full-screen toplevel, the test
# window's subsurface and the compositor's presentation feedback. Native
# Linux builds only.
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
# Keys come through xkbcommon once the backend takes input.
pkg_check_modules(XKBCOMMON REQUIRED IMPORTED_TARGET xkbcommon)
pkg_get_variable(QUORVEL_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
pkg_get_variable(QUORVEL_WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT QUORVEL_WAYLAND_PROTOCOLS_DIR OR NOT QUORVEL_WAYLAND_SCANNER)
  message(FATAL_ERROR "wayland-protocols and libwayland-bin are needed (scripts/setup.sh installs them)")
endif()

# The client side of each protocol the backend uses, generated from the
# installed XML: a header and the interfaces' code.
set(QUORVEL_WAYLAND_GENERATED "${CMAKE_BINARY_DIR}/generated/wayland")
file(MAKE_DIRECTORY "${QUORVEL_WAYLAND_GENERATED}")
set(QUORVEL_WAYLAND_PROTOCOL_SOURCES)
foreach(protocol IN ITEMS stable/xdg-shell/xdg-shell stable/presentation-time/presentation-time
                          stable/viewporter/viewporter)
  get_filename_component(name "${protocol}" NAME)
  set(xml "${QUORVEL_WAYLAND_PROTOCOLS_DIR}/${protocol}.xml")
  set(header "${QUORVEL_WAYLAND_GENERATED}/${name}-client-protocol.h")
  set(code "${QUORVEL_WAYLAND_GENERATED}/${name}-protocol.c")
  add_custom_command(
    OUTPUT "${header}" "${code}"
    COMMAND "${QUORVEL_WAYLAND_SCANNER}" client-header "${xml}" "${header}"
    COMMAND "${QUORVEL_WAYLAND_SCANNER}" private-code "${xml}" "${code}"
    DEPENDS "${xml}"
    COMMENT "Generating the client code of ${name}"
    VERBATIM)
  list(APPEND QUORVEL_WAYLAND_PROTOCOL_SOURCES "${header}" "${code}")
endforeach()

quorvel_glob_sources(QUORVEL_WAYLAND_SOURCES src/platform/wayland)
add_library(quorvel_wayland STATIC ${QUORVEL_WAYLAND_SOURCES} ${QUORVEL_WAYLAND_PROTOCOL_SOURCES})
target_include_directories(quorvel_wayland PUBLIC src "${QUORVEL_WAYLAND_GENERATED}")
target_link_libraries(quorvel_wayland PUBLIC quorvel_linux PkgConfig::WAYLAND_CLIENT
  PkgConfig::XKBCOMMON)

# Opens a full-screen window, moves a subsurface along the test's path and
# prints what the compositor did: for the tests and for measuring. Not
# installed.
add_executable(quorvel_wayland_probe src/platform/wayland/probe/wayland_probe.cpp)
target_link_libraries(quorvel_wayland_probe PRIVATE quorvel_wayland quorvel_core)

# The X11 backend: Xlib windows, the software raster, FreeType and fontconfig
# for text.
find_package(X11 REQUIRED)
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
# The upload of results (libcurl4-openssl-dev).
find_package(CURL REQUIRED)
if(NOT X11_Xext_FOUND OR NOT X11_Xrandr_FOUND OR NOT X11_Xrender_FOUND)
  message(FATAL_ERROR "libxext-dev, libxrandr-dev and libxrender-dev are needed (scripts/setup.sh installs them)")
endif()

# Software drawing on 32-bit pixel surfaces, over the pixel kernels' own
# library (top CMakeLists.txt).
quorvel_glob_sources(QUORVEL_RASTER_SOURCES src/raster)
add_library(quorvel_raster STATIC ${QUORVEL_RASTER_SOURCES})
target_include_directories(quorvel_raster PUBLIC src)
target_link_libraries(quorvel_raster PUBLIC Freetype::Freetype Fontconfig::Fontconfig)
target_link_libraries(quorvel_raster PUBLIC quorvel_pixel_kernels quorvel_text)

set(QUORVEL_EMBEDDED "${CMAKE_BINARY_DIR}/generated/embedded_bitmaps.cpp")
quorvel_embed_bitmaps("${QUORVEL_EMBEDDED}")

# What any Linux desktop backend shares and is not X11: the /proc and sysfs
# readers, pci.ids, the kernel release, the NVIDIA files, files written
# atomically, libcurl, starting a browser. No X header reaches it.
quorvel_glob_sources(QUORVEL_LINUX_SOURCES src/platform/linux)
add_library(quorvel_linux STATIC ${QUORVEL_LINUX_SOURCES})
target_link_libraries(quorvel_linux PUBLIC quorvel_core CURL::libcurl Threads::Threads)

# The user interface the program draws itself, for the Linux desktops that
# give it windows and pixels but no controls (X11, Wayland): the controls'
# logic and drawing, the message box, dialog layouts, timers and the
# hand-over of calls between the test's worker and the window's thread. A
# backend plugs in what shows the pixels and turns its input into events;
# no X or Wayland header reaches it.
quorvel_glob_sources(QUORVEL_DRAWN_SOURCES src/platform/drawn/handover
  src/platform/drawn/controls src/platform/drawn/dialogs)
add_library(quorvel_drawn STATIC ${QUORVEL_DRAWN_SOURCES})
target_link_libraries(quorvel_drawn PUBLIC quorvel_linux quorvel_core quorvel_raster
  Threads::Threads)

# The X11 backend, from the bottom up: the display connection and what the
# server offers, painting, controls, windows and their loop, the X server's
# facts; the platform and services on top.
quorvel_glob_sources(QUORVEL_X11_SOURCES src/platform/x11 src/platform/x11/display
  src/platform/x11/painting src/platform/x11/controls src/platform/x11/windows
  src/platform/x11/facts)
list(FILTER QUORVEL_X11_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(quorvel_x11 STATIC ${QUORVEL_X11_SOURCES} "${QUORVEL_EMBEDDED}")
target_link_libraries(quorvel_x11 PUBLIC quorvel_drawn quorvel_linux quorvel_core quorvel_raster
  X11::X11 X11::Xext X11::Xrandr X11::Xrender)

add_executable(quorvel src/platform/x11/main.cpp)
target_link_libraries(quorvel PRIVATE quorvel_x11)

# The Wayland backend's compositor layer, built beside the X11 backend.
if(NOT CMAKE_CROSSCOMPILING)
  include(cmake/QuorvelWayland.cmake)
endif()

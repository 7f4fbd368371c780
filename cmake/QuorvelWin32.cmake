# The Win32 backend: USER32 dialogs and controls, GDI, MSIMG32, DirectDraw,
# the registry, WinINet and the shell.
enable_language(RC)
set(QUORVEL_WIN32_LIBS user32 gdi32 msimg32 advapi32 shell32 version wininet comctl32 uuid ole32)

quorvel_glob_sources(QUORVEL_WIN32_SOURCES src/platform/win32)
list(FILTER QUORVEL_WIN32_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(quorvel_win32 STATIC ${QUORVEL_WIN32_SOURCES})
target_compile_definitions(quorvel_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(quorvel_win32 PUBLIC quorvel_core ${QUORVEL_WIN32_LIBS})

# The resources: dialog templates, bitmaps, icon, strings and the version
# Explorer shows, which is the project's version like --version's.
set(QUORVEL_VERSION_PATCH_NUMBER 0)
if(NOT PROJECT_VERSION_PATCH STREQUAL "")
  set(QUORVEL_VERSION_PATCH_NUMBER ${PROJECT_VERSION_PATCH})
endif()
set(QUORVEL_VERSION_TWEAK_NUMBER 0)
if(NOT PROJECT_VERSION_TWEAK STREQUAL "")
  set(QUORVEL_VERSION_TWEAK_NUMBER ${PROJECT_VERSION_TWEAK})
endif()
set(QUORVEL_VERSION_HEADER "${CMAKE_BINARY_DIR}/generated/quorvel_version.h")
configure_file("${PROJECT_SOURCE_DIR}/res/quorvel_version.h.in" "${QUORVEL_VERSION_HEADER}" @ONLY)
set(QUORVEL_RC "${PROJECT_SOURCE_DIR}/res/quorvel.rc")
set_source_files_properties(${QUORVEL_RC} PROPERTIES
  OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/src/platform/resource_ids.h;${QUORVEL_VERSION_HEADER}")
add_library(quorvel_resources OBJECT ${QUORVEL_RC})
target_include_directories(quorvel_resources PRIVATE "${PROJECT_SOURCE_DIR}/res"
  "${CMAKE_BINARY_DIR}/generated")

add_executable(quorvel WIN32 src/platform/win32/main.cpp $<TARGET_OBJECTS:quorvel_resources>)
target_link_libraries(quorvel PRIVATE quorvel_win32)

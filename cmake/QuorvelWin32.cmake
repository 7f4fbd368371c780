# The Win32 backend: USER32 dialogs and controls, GDI, MSIMG32, DirectDraw,
# the registry, WinINet and the shell.
enable_language(RC)
set(QUORVEL_WIN32_LIBS user32 gdi32 msimg32 advapi32 shell32 version wininet comctl32 uuid ole32)

quorvel_glob_sources(QUORVEL_WIN32_SOURCES src/platform/win32)
list(FILTER QUORVEL_WIN32_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(quorvel_win32 STATIC ${QUORVEL_WIN32_SOURCES})
target_compile_definitions(quorvel_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(quorvel_win32 PUBLIC quorvel_core ${QUORVEL_WIN32_LIBS})

# The resources: dialog templates, bitmaps, icon, strings.
set(QUORVEL_RC "${PROJECT_SOURCE_DIR}/res/quorvel.rc")
set_source_files_properties(${QUORVEL_RC} PROPERTIES
  OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/src/platform/resource_ids.h")
add_library(quorvel_resources OBJECT ${QUORVEL_RC})
target_include_directories(quorvel_resources PRIVATE "${PROJECT_SOURCE_DIR}/res")

add_executable(quorvel WIN32 src/platform/win32/main.cpp $<TARGET_OBJECTS:quorvel_resources>)
target_link_libraries(quorvel PRIVATE quorvel_win32)

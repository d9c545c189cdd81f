# The desktop around the panel: window manager hints (X11, xcb-ewmh), session lock and colour
# scheme (D-Bus), and the watch on the parent process.
pkg_check_modules(TAVU_EWMH REQUIRED IMPORTED_TARGET xcb-ewmh xcb)
list(APPEND TAVU_PLATFORM_SOURCES
    color_scheme.cpp color_scheme.hpp
    parent_watch.cpp parent_watch.hpp
    session_lock.cpp session_lock.hpp
    window_hints.cpp window_hints.hpp
)
# The colour scheme speaks in the palette's scheme type (a header-only enumeration).
if(NOT TARGET tavu_color_scheme_type)
    add_library(tavu_color_scheme_type INTERFACE)
    target_include_directories(tavu_color_scheme_type INTERFACE ${PROJECT_SOURCE_DIR}/src/view)
endif()
list(APPEND TAVU_PLATFORM_LIBS PkgConfig::TAVU_EWMH tavu_color_scheme_type)

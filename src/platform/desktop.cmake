# The desktop around the panel: window manager hints (X11, xcb-ewmh), session lock and colour
# scheme (D-Bus), and the watch on the parent process.
pkg_check_modules(TAVU_EWMH REQUIRED IMPORTED_TARGET xcb-ewmh xcb)
list(APPEND TAVU_PLATFORM_SOURCES
    color_scheme.cpp color_scheme.hpp
    parent_watch.cpp parent_watch.hpp
    session_lock.cpp session_lock.hpp
    window_hints.cpp window_hints.hpp
)
list(APPEND TAVU_PLATFORM_LIBS PkgConfig::TAVU_EWMH)

# Application icons from desktop entries and the icon theme (GIO), and whether shaped windows
# are composited (the pickers' popovers).
pkg_check_modules(TAVU_GIO REQUIRED IMPORTED_TARGET gio-unix-2.0)
pkg_check_modules(TAVU_POPOVER_XCB REQUIRED IMPORTED_TARGET xcb)
list(APPEND TAVU_PLATFORM_SOURCES
    app_icons.cpp app_icons.hpp
    window_compositing.cpp window_compositing.hpp
)
list(APPEND TAVU_PLATFORM_LIBS PkgConfig::TAVU_GIO PkgConfig::TAVU_POPOVER_XCB)

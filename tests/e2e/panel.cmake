# The helper as a real process on a real X server (Xvfb, bare and under openbox; under kwin_x11 the
# walk through a window manager alone), on a private D-Bus, driven through real pipes.
pkg_check_modules(TAVU_E2E_XCB REQUIRED IMPORTED_TARGET xcb)
add_executable(tavu_x_tool x_tool.cpp)
target_link_libraries(tavu_x_tool PRIVATE PkgConfig::TAVU_E2E_XCB)

find_program(TAVU_DBUS_RUN_SESSION dbus-run-session REQUIRED)
add_test(NAME panel_e2e
    COMMAND ${TAVU_DBUS_RUN_SESSION} -- /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/panel_e2e.py
        --helper $<TARGET_FILE:Tavu_Live_Translate_Helper> --x-tool $<TARGET_FILE:tavu_x_tool>)
set_tests_properties(panel_e2e PROPERTIES LABELS e2e TIMEOUT 300
    ENVIRONMENT "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/system_bus;LANGUAGE=en")

# kwin_x11 rather than mutter: half the packages to install (84 MB against 187 MB).
find_program(TAVU_KWIN_X11 kwin_x11 REQUIRED)
add_test(NAME panel_e2e_kwin_x11
    COMMAND ${TAVU_DBUS_RUN_SESSION} -- /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/panel_e2e.py
        --helper $<TARGET_FILE:Tavu_Live_Translate_Helper> --x-tool $<TARGET_FILE:tavu_x_tool>
        --wm kwin_x11 FramedPanelTest)
set_tests_properties(panel_e2e_kwin_x11 PROPERTIES LABELS e2e TIMEOUT 300
    ENVIRONMENT "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/system_bus;LANGUAGE=en")

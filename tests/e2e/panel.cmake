# The helper as a real process on a real X server (Xvfb, bare and under openbox), on a private D-Bus,
# driven through real pipes.
pkg_check_modules(TAVU_E2E_XCB REQUIRED IMPORTED_TARGET xcb)
add_executable(tavu_x_tool x_tool.cpp)
target_link_libraries(tavu_x_tool PRIVATE PkgConfig::TAVU_E2E_XCB)

find_program(TAVU_DBUS_RUN_SESSION dbus-run-session REQUIRED)
add_test(NAME panel_e2e
    COMMAND ${TAVU_DBUS_RUN_SESSION} -- /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/panel_e2e.py
        --helper $<TARGET_FILE:Tavu_Live_Translate_Helper> --x-tool $<TARGET_FILE:tavu_x_tool>)
set_tests_properties(panel_e2e PROPERTIES LABELS e2e TIMEOUT 300
    ENVIRONMENT "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/system_bus;LANGUAGE=en")

# Start-up time, memory and idle wake-ups of the helper process on Xvfb:
#   cmake --build <build> --target bench_panel   (use an optimised build)
if(TARGET Tavu_Live_Translate_Helper)
    if(NOT TARGET tavu_x_tool)
        pkg_check_modules(TAVU_BENCH_XCB REQUIRED IMPORTED_TARGET xcb)
        add_executable(tavu_x_tool ${PROJECT_SOURCE_DIR}/tests/e2e/x_tool.cpp)
        target_link_libraries(tavu_x_tool PRIVATE PkgConfig::TAVU_BENCH_XCB)
    endif()
    find_program(TAVU_BENCH_DBUS_RUN_SESSION dbus-run-session REQUIRED)
    add_custom_target(bench_panel
        COMMAND ${TAVU_BENCH_DBUS_RUN_SESSION} -- /usr/bin/python3
            ${CMAKE_CURRENT_SOURCE_DIR}/panel_bench.py
            --helper $<TARGET_FILE:Tavu_Live_Translate_Helper>
            --x-tool $<TARGET_FILE:tavu_x_tool>
        DEPENDS Tavu_Live_Translate_Helper tavu_x_tool
        USES_TERMINAL)
endif()

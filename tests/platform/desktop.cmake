# The desktop adapters. The D-Bus tests run under a dbus-run-session of their own, with fake
# desktop services (a Python script on the system interpreter) on that private bus.
add_unit_test(NAME parent_watch_test SOURCES parent_watch_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/shell/qt_gtest_main.cpp LIBS tavu_platform Qt6::Test)

find_program(TAVU_DBUS_RUN_SESSION dbus-run-session REQUIRED)
foreach(name session_lock_test color_scheme_test)
    add_executable(${name} ${name}.cpp fake_desktop.hpp
        ${PROJECT_SOURCE_DIR}/tests/shell/qt_gtest_main.cpp)
    target_link_libraries(${name} PRIVATE tavu_shell tavu_platform Qt6::Test Qt6::DBus
        GTest::gtest)
    target_compile_definitions(${name} PRIVATE
        TAVU_FAKE_DESKTOP="${CMAKE_CURRENT_SOURCE_DIR}/fake_desktop.py")
    add_test(NAME ${name} COMMAND ${TAVU_DBUS_RUN_SESSION} -- $<TARGET_FILE:${name}>)
    # Never the desktop's system bus either: logind is faked on the private session bus.
    set_tests_properties(${name} PROPERTIES LABELS dbus TIMEOUT 300 ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/system_bus")
endforeach()

# What the view probes of the AT-SPI tests share, and how each such test runs: on a desktop of
# its own (an X server, a session bus and an accessibility bus, tests/e2e/run_desktop.sh), with
# the system Python, which has the Atspi bindings.
include_guard(GLOBAL)
add_library(atspi_probe_support STATIC ${CMAKE_CURRENT_LIST_DIR}/atspi_probe_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/atspi_probe_support.hpp)
target_include_directories(atspi_probe_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(atspi_probe_support PUBLIC tavu_view tavu_model Qt6::Widgets)

# add_atspi_view_test(AREA): builds AREA_atspi_probe and runs AREA_atspi_test.py against it.
function(add_atspi_view_test area)
    add_executable(${area}_atspi_probe ${CMAKE_CURRENT_LIST_DIR}/${area}_atspi_probe.cpp)
    target_link_libraries(${area}_atspi_probe PRIVATE atspi_probe_support)
    add_test(NAME ${area}_atspi_test
        COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/run_desktop.sh /usr/bin/python3
            ${CMAKE_CURRENT_LIST_DIR}/${area}_atspi_test.py $<TARGET_FILE:${area}_atspi_probe>)
    set_tests_properties(${area}_atspi_test PROPERTIES LABELS "${area};e2e" TIMEOUT 120)
endfunction()

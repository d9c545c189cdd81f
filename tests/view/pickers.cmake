# Tests of the pair label, the language and audio pickers and the capture status.
add_unit_test(NAME view_logic_test SOURCES view_logic_test.cpp LIBS tavu_view LABELS pickers)

add_library(picker_test_support STATIC picker_test_support.cpp picker_test_support.hpp)
target_link_libraries(picker_test_support PUBLIC tavu_view tavu_model Qt6::Widgets Qt6::Test
    GTest::gtest)
add_unit_test(NAME popover_test SOURCES popover_test.cpp LIBS picker_test_support
    LABELS pickers)
add_unit_test(NAME language_picker_test SOURCES language_picker_test.cpp LIBS picker_test_support
    LABELS pickers)
add_unit_test(NAME audio_picker_test SOURCES audio_picker_test.cpp LIBS picker_test_support
    LABELS pickers)
add_unit_test(NAME capture_status_test SOURCES capture_status_test.cpp LIBS picker_test_support
    LABELS pickers)
add_unit_test(NAME picker_popovers_test SOURCES picker_popovers_test.cpp LIBS picker_test_support
    LABELS pickers)

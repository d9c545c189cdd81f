# Tests of the captions column and its footer row.
add_unit_test(NAME captions_logic_test SOURCES captions_logic_test.cpp LIBS tavu_view
    LABELS captions ENV "TZ=IST-5:30")
add_unit_test(NAME captions_entries_test SOURCES captions_entries_test.cpp LIBS tavu_view
    LABELS captions)

add_library(captions_test_support STATIC captions_test_support.cpp captions_test_support.hpp)
target_link_libraries(captions_test_support PUBLIC tavu_view Qt6::Widgets Qt6::Test GTest::gtest)
add_unit_test(NAME captions_view_test SOURCES captions_view_test.cpp
    LIBS captions_test_support LABELS captions)
add_unit_test(NAME captions_footer_test SOURCES captions_footer_test.cpp
    LIBS captions_test_support LABELS captions)

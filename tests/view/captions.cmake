# Tests of the captions column and its footer row.
add_unit_test(NAME captions_logic_test SOURCES captions_logic_test.cpp LIBS tavu_view
    LABELS captions ENV "TZ=IST-5:30")
add_unit_test(NAME captions_entries_test SOURCES captions_entries_test.cpp LIBS tavu_view
    LABELS captions)

# The cards' times are read in UTC.
add_unit_test(NAME captions_view_test SOURCES captions_view_test.cpp
    LIBS view_test_support LABELS captions ENV "TZ=UTC")
add_scale2_test(captions_view_test captions)
set_property(TEST captions_view_test_scale2 APPEND PROPERTY ENVIRONMENT "TZ=UTC")
add_unit_test(NAME captions_footer_test SOURCES captions_footer_test.cpp
    LIBS view_test_support LABELS captions)

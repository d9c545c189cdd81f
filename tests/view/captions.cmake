# Tests of the captions column and its footer row.
add_unit_test(NAME captions_logic_test SOURCES captions_logic_test.cpp LIBS tavu_view
    LABELS captions ENV "TZ=IST-5:30")
add_unit_test(NAME captions_entries_test SOURCES captions_entries_test.cpp LIBS tavu_view
    LABELS captions)

add_unit_test(NAME captions_view_test SOURCES captions_view_test.cpp
    LIBS view_test_support LABELS captions)
# The same column with every size doubled in device pixels.
add_test(NAME captions_view_test_scale2 COMMAND captions_view_test)
set_tests_properties(captions_view_test_scale2 PROPERTIES LABELS captions TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2;TAVU_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
add_unit_test(NAME captions_footer_test SOURCES captions_footer_test.cpp
    LIBS view_test_support LABELS captions)

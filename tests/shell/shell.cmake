# The shell: placement rules (pure), and the panel with its delegate under the offscreen platform.
add_unit_test(NAME placement_test SOURCES placement_test.cpp LIBS tavu_shell)
add_unit_test(NAME panel_test SOURCES panel_test.cpp qt_gtest_main.cpp
    LIBS tavu_shell Qt6::Test LABELS widgets)
# The panel in other languages, and the completeness of every catalogue in translations/.
add_unit_test(NAME translations_test SOURCES translations_test.cpp qt_gtest_main.cpp
    LIBS tavu_shell LABELS widgets)

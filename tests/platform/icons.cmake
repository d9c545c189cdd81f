# Application icons looked up through desktop entries and an icon theme installed by the test.
add_unit_test(NAME app_icons_test SOURCES app_icons_test.cpp LIBS tavu_platform)

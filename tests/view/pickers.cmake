# Tests of the pair label, the language and audio pickers and the capture status.
add_unit_test(NAME view_logic_test SOURCES view_logic_test.cpp LIBS tavu_view)

# Tests of the pair label, the language and audio pickers and the capture status.
add_unit_test(NAME view_logic_test SOURCES view_logic_test.cpp LIBS tavu_view LABELS pickers)
foreach(name popover language_picker audio_picker capture_status picker_popovers)
    add_unit_test(NAME ${name}_test SOURCES ${name}_test.cpp LIBS view_test_support
        LABELS pickers)
endforeach()

# The panel's face: button looks, symbols, accessibility, the header, the limit card.
foreach(name button symbols accessibility view layout)
    add_unit_test(NAME face_${name}_test SOURCES face_${name}_test.cpp
        LIBS view_test_support LABELS face)
endforeach()

# The same checks with every size doubled in device pixels.
foreach(name button symbols view layout)
    add_test(NAME face_${name}_test_scale2 COMMAND face_${name}_test)
    set_tests_properties(face_${name}_test_scale2 PROPERTIES LABELS face TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2;TAVU_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endforeach()

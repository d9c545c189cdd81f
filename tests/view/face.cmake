# The panel's face: button looks, symbols, accessibility, the header, the limit card.
foreach(name button symbols accessibility view layout)
    add_unit_test(NAME face_${name}_test SOURCES face_${name}_test.cpp
        LIBS view_test_support LABELS face)
endforeach()
foreach(name button symbols view layout)
    add_scale2_test(face_${name}_test face)
endforeach()

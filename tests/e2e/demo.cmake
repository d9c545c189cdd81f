# The demo host: its own logic, and a full run of it against the real helper.
if(TARGET tavu_demo_host_core)
    add_unit_test(NAME demo_host_test SOURCES demo_host_test.cpp LIBS tavu_demo_host_core
        LABELS demo)
endif()

# Checks a demo record: every line the helper wrote must decode as a command.
if(TARGET tavu_demo_host_core)
    add_executable(record_check record_check.cpp)
    target_link_libraries(record_check PRIVATE tavu_demo_host_core)
endif()

if(TARGET tavu_demo_host AND TARGET Tavu_Live_Translate_Helper AND TARGET record_check)
    foreach(case limit reconnect)
        add_test(NAME e2e_demo_${case}
            COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_desktop.sh /usr/bin/python3
                ${CMAKE_CURRENT_SOURCE_DIR}/demo_e2e.py $<TARGET_FILE:tavu_demo_host>
                $<TARGET_FILE:Tavu_Live_Translate_Helper> $<TARGET_FILE:record_check> ${case})
        set_tests_properties(e2e_demo_${case} PROPERTIES LABELS e2e TIMEOUT 300)
    endforeach()
endif()

# A screen reader reading the whole panel over and over, past the end of every list, while a fast
# session streams in and controls get pressed at random: the helper must live through it.
if(TARGET tavu_demo_host AND TARGET Tavu_Live_Translate_Helper)
    add_test(NAME e2e_screen_reader_stress
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_desktop.sh /usr/bin/python3
            ${CMAKE_CURRENT_SOURCE_DIR}/screen_reader_stress.py $<TARGET_FILE:tavu_demo_host>
            $<TARGET_FILE:Tavu_Live_Translate_Helper> --seconds 20 --scenario limit)
    set_tests_properties(e2e_screen_reader_stress PROPERTIES LABELS e2e TIMEOUT 300)
endif()

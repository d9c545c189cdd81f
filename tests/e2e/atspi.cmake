# The real helper over real pipes, its panel driven through AT-SPI by role and label. Each test
# starts its own X server, session bus and accessibility bus (run_desktop.sh).
if(TARGET Tavu_Live_Translate_Helper)
    foreach(case
            status_follows_newest_snapshot
            session_buttons_follow_the_session
            close_stops_then_hides
            language_choice_writes_its_command
            copy_latest_puts_the_newest_translation_on_the_clipboard)
        add_test(NAME e2e_atspi_${case}
            COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_desktop.sh /usr/bin/python3
                ${CMAKE_CURRENT_SOURCE_DIR}/atspi_e2e.py $<TARGET_FILE:Tavu_Live_Translate_Helper>
                ${case})
        set_tests_properties(e2e_atspi_${case} PROPERTIES LABELS e2e TIMEOUT 180)
    endforeach()
    # The captions as a screen reader reads them.
    add_test(NAME captions_atspi_test
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_desktop.sh /usr/bin/python3
            ${CMAKE_CURRENT_SOURCE_DIR}/atspi_e2e.py $<TARGET_FILE:Tavu_Live_Translate_Helper>
            captions_read_as_a_list)
    set_tests_properties(captions_atspi_test PROPERTIES LABELS "captions;e2e" TIMEOUT 180)
endif()

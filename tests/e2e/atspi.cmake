# The real helper over real pipes, its panel and pickers driven through AT-SPI by role and label.
# Each test runs one case of atspi_e2e.py on a desktop of its own: an X server, a session bus and
# an accessibility bus (run_desktop.sh).
if(TARGET Tavu_Live_Translate_Helper)
    function(add_atspi_test name case labels)
        add_test(NAME ${name}
            COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_desktop.sh /usr/bin/python3
                ${CMAKE_CURRENT_SOURCE_DIR}/atspi_e2e.py $<TARGET_FILE:Tavu_Live_Translate_Helper>
                ${case})
        set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 180)
    endfunction()

    foreach(case status_follows_newest_snapshot session_buttons_follow_the_session
            close_stops_then_hides language_choice_writes_its_command
            copy_latest_puts_the_newest_translation_on_the_clipboard)
        add_atspi_test(e2e_atspi_${case} ${case} e2e)
    endforeach()
    foreach(case audio_choice_writes_one_command_and_closes
            long_language_lists_build_only_what_shows)
        add_atspi_test(e2e_pickers_${case} ${case} "e2e;pickers")
    endforeach()
    add_atspi_test(captions_atspi_test captions_read_as_a_list "captions;e2e")
    # The cards' times are read in UTC.
    set_property(TEST captions_atspi_test APPEND PROPERTY ENVIRONMENT "TZ=UTC")
endif()

# What a blind user hears: Orca reading the panel while a session streams in.
if(TARGET Tavu_Live_Translate_Helper)
    find_program(TAVU_ORCA orca REQUIRED)
    add_test(NAME e2e_orca
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_desktop.sh /usr/bin/python3
            ${CMAKE_CURRENT_SOURCE_DIR}/orca_e2e.py $<TARGET_FILE:Tavu_Live_Translate_Helper>)
    set_tests_properties(e2e_orca PROPERTIES LABELS "e2e;screen_reader" TIMEOUT 180
        ENVIRONMENT "TZ=UTC")
endif()

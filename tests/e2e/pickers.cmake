# The pickers of the real helper driven through AT-SPI; each test on a desktop of its own.
if(TARGET Tavu_Live_Translate_Helper)
    foreach(case
            audio_choice_writes_one_command_and_closes
            long_language_lists_build_only_what_shows)
        add_test(NAME e2e_pickers_${case}
            COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run_desktop.sh /usr/bin/python3
                ${CMAKE_CURRENT_SOURCE_DIR}/pickers_e2e.py
                $<TARGET_FILE:Tavu_Live_Translate_Helper> ${case})
        set_tests_properties(e2e_pickers_${case} PROPERTIES LABELS "e2e;pickers" TIMEOUT 180)
    endforeach()
endif()

# The language and audio pickers, their popover and the capture status.
list(APPEND TAVU_VIEW_SOURCES
    popover.cpp popover.hpp
    lazy_list.cpp lazy_list.hpp
    lazy_list_accessible.cpp lazy_list_accessible.hpp
    picker_rows.cpp picker_rows.hpp
    language_column.cpp language_column.hpp
    language_search_field.cpp language_search_field.hpp
    swap_button.cpp swap_button.hpp
    language_picker.cpp language_picker.hpp
    audio_picker.cpp audio_picker.hpp
    notice_text.cpp notice_text.hpp
    capture_status.cpp capture_status.hpp
    picker_popovers.cpp picker_popovers.hpp
)
list(APPEND TAVU_VIEW_LIBS tavu_platform)

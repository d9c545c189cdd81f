# The captions column and its footer row.
list(APPEND TAVU_VIEW_SOURCES
    captions_accessible.cpp captions_accessible.hpp
    captions_active_card.cpp captions_active_card.hpp
    captions_card.cpp captions_card.hpp
    captions_empty_state.cpp captions_empty_state.hpp
    captions_entries.cpp captions_entries.hpp
    captions_footer.cpp captions_footer.hpp
    captions_list.cpp captions_list.hpp
    captions_list_selection.cpp
    captions_logic.cpp captions_logic.hpp
    captions_text.cpp captions_text.hpp
    captions_toggle.cpp captions_toggle.hpp
    captions_view.cpp captions_view.hpp
)

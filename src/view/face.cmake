# The panel's face: button looks, symbols, accessibility, the root view, its header and the
# limit-reached card.
find_file(TAVU_MATERIAL_ICONS_FONT MaterialIcons-Regular.ttf
    PATHS /usr/share/fonts/truetype/material-design-icons-iconfont
    NO_DEFAULT_PATH REQUIRED)
configure_file(${CMAKE_CURRENT_LIST_DIR}/symbols.qrc.in ${CMAKE_CURRENT_BINARY_DIR}/symbols.qrc
    @ONLY)
qt_add_resources(TAVU_FACE_RESOURCES ${CMAKE_CURRENT_BINARY_DIR}/symbols.qrc)

list(APPEND TAVU_VIEW_SOURCES
    accessibility.cpp accessibility.hpp
    announcer.cpp announcer.hpp
    button_styles.cpp button_styles.hpp
    divider.cpp divider.hpp
    footer_area.cpp footer_area.hpp
    header_buttons.cpp header_buttons.hpp
    limit_card.cpp limit_card.hpp
    root_view.cpp root_view.hpp
    status.cpp status.hpp
    symbols.cpp symbols.hpp
    top_bar.cpp top_bar.hpp
    view_state.cpp view_state.hpp
    view_support.cpp view_support.hpp
    ${TAVU_FACE_RESOURCES}
)

# The panel's fixed texts in other languages: translations/*.ts compiled with lrelease and built
# into the library as resources under :/i18n.
list(APPEND TAVU_VIEW_SOURCES localization.cpp localization.hpp)
find_program(TAVU_LRELEASE lrelease HINTS /usr/lib/qt6/bin NO_DEFAULT_PATH)
if(NOT TAVU_LRELEASE)
    message(FATAL_ERROR "lrelease not found: run scripts/setup (qt6-l10n-tools)")
endif()
file(GLOB TAVU_TRANSLATION_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/translations/Tavu_Live_Translate_Helper_*.ts)
# English is the source language; its file is only the template for translators.
list(FILTER TAVU_TRANSLATION_SOURCES EXCLUDE REGEX "_en\\.ts$")
set(TAVU_TRANSLATIONS)
foreach(ts ${TAVU_TRANSLATION_SOURCES})
    get_filename_component(name ${ts} NAME_WE)
    set(qm ${CMAKE_CURRENT_BINARY_DIR}/i18n/${name}.qm)
    add_custom_command(OUTPUT ${qm}
        COMMAND ${TAVU_LRELEASE} -silent -removeidentical ${ts} -qm ${qm}
        DEPENDS ${ts} VERBATIM)
    list(APPEND TAVU_TRANSLATIONS ${qm})
endforeach()

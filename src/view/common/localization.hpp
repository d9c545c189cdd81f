#pragma once

#include <QLocale>

// The panel's fixed texts in the user's language. Every text is looked up by its English wording,
// so a language without a translation, or a text a translation lacks, shows in English. Host texts
// (status, captions, language and source names) are never translated.
//
// Installs, on the running application, the translation of the panel for the first of the
// locale's interface languages that has one, and Qt's own for the same language when the system
// has it, in place of the ones an earlier call installed. Returns the language installed ("de",
// "pt_BR"), or an empty string for English. The view shows the new language when next built.
QString installPanelTranslations(const QLocale &locale = QLocale());

// The languages the panel is translated into, besides English.
QStringList panelTranslationLanguages();

#include "localization.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

const QString kTranslationsDir = QStringLiteral(":/i18n");
const QString kCatalogue = QStringLiteral("Tavu_Live_Translate_Helper");

// The translators installed last, removed when another language is installed.
QPointer<QTranslator> g_panelTranslator;
QPointer<QTranslator> g_qtTranslator;

void removeInstalled()
{
    for (QPointer<QTranslator> *installed : {&g_panelTranslator, &g_qtTranslator}) {
        if (*installed) {
            QCoreApplication::removeTranslator(*installed);
            delete installed->data();
        }
    }
}

// English is the source language: it never needs a catalogue.
bool isEnglish(const QString &uiLanguage)
{
    return uiLanguage == QLatin1String("en") || uiLanguage.startsWith(QLatin1String("en-"))
        || uiLanguage.startsWith(QLatin1String("en_"));
}

} // namespace

QString installPanelTranslations(const QLocale &locale)
{
    auto *app = QCoreApplication::instance();
    if (!app)
        return {};
    removeInstalled();
    for (const QString &language : locale.uiLanguages()) {
        // The user's first language wins, English included: a later one must not replace it.
        if (isEnglish(language))
            return {};
        auto *panel = new QTranslator(app);
        if (!panel->load(QLocale(language), kCatalogue, QStringLiteral("_"), kTranslationsDir)) {
            delete panel;
            continue;
        }
        QCoreApplication::installTranslator(panel);
        g_panelTranslator = panel;
        // Qt's own texts (the search field's context menu), when the system carries them.
        auto *qt = new QTranslator(app);
        if (qt->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt);
            g_qtTranslator = qt;
        } else {
            delete qt;
        }
        return panel->language();
    }
    return {};
}

QStringList panelTranslationLanguages()
{
    QStringList languages;
    const QString prefix = kCatalogue + QLatin1Char('_');
    for (const QString &file : QDir(kTranslationsDir).entryList({prefix + QStringLiteral("*.qm")}))
        languages << file.mid(prefix.size()).chopped(3);
    return languages;
}

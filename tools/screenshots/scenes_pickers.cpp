// The language and audio pickers, open under their header buttons.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardPaths>

#include "pickers/audio_picker.hpp"
#include "pickers/language_column.hpp"
#include "pickers/language_picker.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/popover.hpp"
#include "root_view.hpp"
#include "scenes.hpp"

namespace {

using View = LiveTranslationHelperView;
using Model = LiveTranslationHelperModel;

// The offscreen platform has no icon theme; give it the one a desktop would.
void useDesktopIconTheme()
{
    if (!QIcon::themeName().isEmpty())
        return;
    QStringList paths;
    for (const QString &dir :
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        paths << QDir(dir).filePath(QStringLiteral("icons"));
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(QStringLiteral("hicolor"));
}

QWidget *languagePopover(View &view)
{
    return view.findChild<LiveTranslationPopover *>(
        QStringLiteral("liveTranslation.languagePopover"));
}

QWidget *audioPopover(View &view)
{
    return view.findChild<LiveTranslationPopover *>(
        QStringLiteral("liveTranslation.audioSourcePopover"));
}

void openLanguages(View &view, Model &)
{
    view.viewState()->setLanguagesPresented(true);
    QApplication::processEvents();
}

void openAudio(View &view, Model &)
{
    useDesktopIconTheme();
    view.viewState()->setAudioPresented(true);
    QApplication::processEvents();
}

LiveTranslationHelperSnapshot manyLanguages(int count)
{
    static const char *const names[] = {"Arabic", "Bengali", "Catalan", "Czech", "Danish", "Dutch",
        "English", "Estonian", "Finnish", "French", "German", "Greek", "Hebrew", "Hindi",
        "Hungarian", "Indonesian", "Italian", "Japanese", "Korean", "Latvian", "Norwegian",
        "Polish", "Portuguese (Brazil)", "Romanian", "Russian", "Spanish", "Swedish", "Thai",
        "Turkish", "Ukrainian", "Vietnamese"};
    LiveTranslationHelperSnapshot s = sampleSnapshot();
    s.sourceLanguages = {{"multi", "Detect automatically"}};
    s.targetLanguages.clear();
    const int named = int(std::size(names));
    for (int i = 0; i < count; ++i) {
        std::string name = names[i % named];
        if (i >= named)
            name += " " + std::to_string(i / named + 1);
        const std::string id = "x" + std::to_string(i);
        s.sourceLanguages.push_back({id, name});
        s.targetLanguages.push_back({id, name});
    }
    return s;
}

// The keyboard's way into a list: the focus on its chosen row, with the ring.
void focusList(LiveTranslationLazyList *list)
{
    list->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

std::vector<Scene> makeScenes()
{
    std::vector<Scene> scenes;

    LiveTranslationHelperSnapshot chosen = manyLanguages(31);
    chosen.sourceLanguage = "x10"; // German
    chosen.targetLanguage = "x6"; // English
    scenes.push_back({"language-picker", chosen, &openLanguages, &languagePopover});

    // Detecting the source: the swap button is disabled; a search filters both columns.
    scenes.push_back({"language-picker-search", manyLanguages(31),
        [](View &view, Model &model) {
            openLanguages(view, model);
            auto *picker = view.findChild<LiveTranslationLanguagePicker *>();
            picker->searchField()->setText(QStringLiteral("  AN "));
        },
        &languagePopover});

    scenes.push_back({"language-picker-keyboard", chosen,
        [](View &view, Model &model) {
            openLanguages(view, model);
            focusList(view.findChild<LiveTranslationLanguagePicker *>()->sourceColumn()->list());
        },
        &languagePopover});

    LiveTranslationHelperSnapshot thousand = manyLanguages(1000);
    thousand.sourceLanguage = "x500";
    thousand.targetLanguage = "x6";
    scenes.push_back({"language-picker-1000-scrolled", thousand,
        [](View &view, Model &model) {
            openLanguages(view, model);
            auto *picker = view.findChild<LiveTranslationLanguagePicker *>();
            picker->targetColumn()->list()->focusEntry(740, Qt::TabFocusReason);
        },
        &languagePopover});

    LiveTranslationHelperSnapshot apps = sampleSnapshot();
    apps.audioSources = {{"mac-audio", "Mac Audio"}, {"bundle:display-im6.q16", "ImageMagick"},
        {"bundle:vim", "Vim"}, {"bundle:python3.11", "Python (file icon)"},
        {"bundle:org.mozilla.firefox", "Firefox"}, {"Bundle:vim", "Vim, named in the wrong case"}};
    apps.selectedAudioSourceID = "bundle:vim";
    apps.captureAudioLevel = 0.62F;
    apps.captureFallbackNotice = "Vim is not playing audio; capturing all Mac audio instead.";
    apps.droppedCaptureBuffers = 12;
    scenes.push_back({"audio-picker-icons", apps, &openAudio, &audioPopover});

    // Opened and closed in the other scheme first: reopened, it must be all in this one.
    scenes.push_back({"audio-picker-after-scheme-switch", apps,
        [](View &view, Model &model) {
            const LiveTranslationColorScheme scheme = view.colorScheme();
            view.setColorScheme(scheme == LiveTranslationColorScheme::dark
                    ? LiveTranslationColorScheme::light
                    : LiveTranslationColorScheme::dark);
            openAudio(view, model);
            view.viewState()->setAudioPresented(false);
            view.setColorScheme(scheme);
            openAudio(view, model);
        },
        &audioPopover});

    scenes.push_back({"audio-picker-keyboard", apps,
        [](View &view, Model &model) {
            openAudio(view, model);
            auto *list = view.findChild<LiveTranslationAudioPicker *>()->list();
            focusList(list);
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(QApplication::focusWidget(), &down);
            QApplication::processEvents();
        },
        &audioPopover});

    LiveTranslationHelperSnapshot quiet = sampleSnapshot();
    quiet.audioSources = {{"mac-audio", "Mac Audio"}};
    quiet.captureAudioLevel = 0.0F;
    quiet.captureFallbackNotice = ""; // a notice without words: the symbol alone, leading
    scenes.push_back({"audio-picker-one-source", quiet, &openAudio, &audioPopover});

    LiveTranslationHelperSnapshot many = apps;
    for (int i = 0; i < 40; ++i)
        many.audioSources.push_back(
            {"bundle:com.example.app" + std::to_string(i), "Application " + std::to_string(i)});
    many.selectedAudioSourceID = "bundle:com.example.app39";
    // A notice longer than its row: the lines that fit, the last one elided.
    many.captureFallbackNotice.emplace();
    for (int i = 0; i < 12; ++i)
        many.captureFallbackNotice->append("Application 39 stopped playing audio for a moment; ");
    many.droppedCaptureBuffers = 0;
    many.captureAudioLevel = 1.5F;
    scenes.push_back({"audio-picker-long-scrolled", many,
        [](View &view, Model &model) {
            openAudio(view, model);
            auto *picker = view.findChild<LiveTranslationAudioPicker *>();
            picker->list()->verticalScrollBar()->setValue(
                picker->list()->verticalScrollBar()->maximum());
        },
        &audioPopover});
    return scenes;
}

const SceneRegistration registration(&makeScenes);

} // namespace

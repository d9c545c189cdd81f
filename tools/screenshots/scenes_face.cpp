// The header, its status and session buttons, and the limit-reached card.
#include <QWidget>

#include "root_view.hpp"
#include "scenes.hpp"

namespace {

using Lifecycle = LiveTranslationHelperLifecycle;

LiveTranslationHelperSnapshot session(Lifecycle lifecycle, std::string status)
{
    LiveTranslationHelperSnapshot s = sampleSnapshot();
    s.lifecycle = lifecycle;
    s.statusMessage = std::move(status);
    s.isSessionActive = true;
    s.sourceLanguage = "de";
    s.targetLanguage = "en";
    s.selectedAudioSourceID = "bundle:org.mozilla.firefox";
    return s;
}

std::vector<Scene> makeScenes()
{
    std::vector<Scene> scenes;
    scenes.push_back({"initial", LiveTranslationHelperSnapshot::initial(), {}, {}});
    scenes.push_back({"inactive", sampleSnapshot(), {}, {}});
    scenes.push_back({"listening", session(Lifecycle::listening, "Listening"), {}, {}});
    scenes.push_back({"stopping", session(Lifecycle::stopping, "Stopping…"), {}, {}});

    LiveTranslationHelperSnapshot limit = sampleSnapshot();
    limit.canRequestMoreTime = true;
    limit.statusMessage = "Live Translate limit reached";
    scenes.push_back({"limit-reached", limit, {}, {}});

    LiveTranslationHelperSnapshot failure
        = session(Lifecycle::listening, "Connection lost. Retrying…");
    failure.hasFailure = true;
    scenes.push_back({"failure", failure, {}, {}});

    LiveTranslationHelperSnapshot markup = sampleSnapshot();
    markup.statusMessage = "<b>bold</b> <img src=x> & a status far too long to fit the header";
    markup.selectedAudioSourceID = "bundle:com.example.long";
    markup.actualAudioSourceDescription = "A very long application name & more";
    scenes.push_back({"long-texts", markup, {}, {}});

    // Keyboard focus on the Start button, as after pressing Tab.
    scenes.push_back({"keyboard-focus", sampleSnapshot(),
        [](LiveTranslationHelperView &view, LiveTranslationHelperModel &) {
            view.window()->activateWindow();
            if (auto *start
                = view.findChild<QWidget *>(QStringLiteral("liveTranslation.startButton")))
                start->setFocus(Qt::TabFocusReason);
        },
        {}});
    return scenes;
}

const SceneRegistration registration(&makeScenes);

} // namespace

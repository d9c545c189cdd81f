// Shows the panel's view in a real window for the AT-SPI test. Reads scene names on standard
// input, one a line, and applies that scene's snapshot; writes what the view does on standard
// output: "command <wire name>", "hide panel", "languages <0|1>", "audio <0|1>".
#include <QApplication>

#include "atspi_probe_support.hpp"
#include "model.hpp"
#include "root_view.hpp"

using atspiprobe::say;

namespace {

LiveTranslationHelperSnapshot scene(const QByteArray &name, std::uint64_t generation)
{
    LiveTranslationHelperSnapshot s;
    s.generation = generation;
    s.statusMessage = "Ready";
    s.isStartEnabled = true;
    s.audioSources = {{"mac-audio", "Mac Audio"}, {"bundle:org.example.Player", "Player"}};
    if (name == "limit") {
        s.canRequestMoreTime = true;
    } else if (name == "listening") {
        s.isSessionActive = true;
        s.lifecycle = LiveTranslationHelperLifecycle::listening;
        s.statusMessage = "Listening";
        s.sourceLanguage = "de";
        s.selectedAudioSourceID = "bundle:org.example.Player";
    } else if (name == "markup") {
        s.statusMessage = "<b>x</b> <img src=\"y\">";
    }
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("face_atspi_probe"));

    LiveTranslationHelperModel model;
    model.setCommandSender(
        [](const LiveTranslationHelperCommand &c) { say("command", wireName(c.kind)); });
    model.setPanelHider([] { say("hide", "panel"); });

    atspiprobe::ProbeWindow window(&model);
    QObject::connect(window.view(), &LiveTranslationHelperView::languagesPresentedChanged,
        [](bool on) { say("languages", on ? "1" : "0"); });
    QObject::connect(window.view(), &LiveTranslationHelperView::audioPresentedChanged,
        [](bool on) { say("audio", on ? "1" : "0"); });
    return window.run(scene, "inactive");
}

// Shows the panel's view in a real window for the AT-SPI test. Reads scene names on standard
// input, one a line, and applies that scene's snapshot; writes what the view does on standard
// output: "command <wire name>", "hide panel", "languages <0|1>", "audio <0|1>".
#include <QApplication>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

#include "model.hpp"
#include "root_view.hpp"

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

void say(const char *what, const char *value)
{
    std::printf("%s %s\n", what, value);
    std::fflush(stdout);
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

    QWidget window;
    window.setWindowTitle(QStringLiteral("Live Translate"));
    window.resize(520, 760);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *view = new LiveTranslationHelperView(&model, &window);
    layout->addWidget(view);
    QObject::connect(view, &LiveTranslationHelperView::languagesPresentedChanged,
        [](bool on) { say("languages", on ? "1" : "0"); });
    QObject::connect(view, &LiveTranslationHelperView::audioPresentedChanged,
        [](bool on) { say("audio", on ? "1" : "0"); });

    std::uint64_t generation = 0;
    model.applySnapshot(scene("inactive", ++generation));
    window.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            QApplication::quit();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            model.applySnapshot(scene(line, ++generation));
            say("applied", line.constData());
        }
    });
    say("ready", "1");
    return QApplication::exec();
}

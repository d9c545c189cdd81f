// Shows the panel in a real window for the captions' AT-SPI test. Reads scene names on standard
// input, one a line, applies that scene's snapshot and answers "applied <scene>"; writes each
// command the view sends as "command <wire name> <value>".
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
    s.statusMessage = "Listening";
    s.lifecycle = LiveTranslationHelperLifecycle::listening;
    s.isSessionActive = true;
    const auto card = [](int i, std::string source, std::string translation) {
        return LiveTranslationHelperCommittedCard {
            "card-" + std::to_string(i), std::move(source), std::move(translation), 7e8 + i};
    };
    if (name == "cards" || name == "hidden") {
        s.committedCards = {card(0, "Guten Morgen", "Good morning"),
            card(1, "Wie geht es?", "<b>How</b> are you?")};
        s.activeSourceText = "Danke";
        s.activeTranslatedText = "Thank you";
        s.showsSourceText = name == "cards";
    } else if (name == "many") {
        for (int i = 0; i < 500; ++i)
            s.committedCards.push_back(
                card(i, "Satz " + std::to_string(i), "Sentence " + std::to_string(i)));
    }
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("captions_atspi_probe"));

    LiveTranslationHelperModel model;
    model.setCommandSender([](const LiveTranslationHelperCommand &c) {
        std::printf("command %s %s\n", wireName(c.kind),
            c.carriesBool() ? (c.boolValue ? "true" : "false") : c.stringValue.c_str());
        std::fflush(stdout);
    });

    QWidget window;
    window.setWindowTitle(QStringLiteral("Live Translate"));
    window.resize(520, 760);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *view = new LiveTranslationHelperView(&model, &window);
    view->setReduceMotion(true);
    layout->addWidget(view);
    std::uint64_t generation = 0;
    model.applySnapshot(scene("empty", ++generation));
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
            std::printf("applied %s\n", line.constData());
            std::fflush(stdout);
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QApplication::exec();
}

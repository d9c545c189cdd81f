// Shows the panel in a real window for the captions' AT-SPI test. Reads scene names on standard
// input, one a line, applies that scene's snapshot and answers "applied <scene>"; writes each
// command the view sends as "command <wire name> <value>".
#include <QApplication>
#include <cstdio>

#include "atspi_probe_support.hpp"
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

    atspiprobe::ProbeWindow window(&model);
    window.view()->setReduceMotion(true);
    return window.run(scene, "empty");
}

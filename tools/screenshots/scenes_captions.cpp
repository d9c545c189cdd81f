// The captions column and its footer: the empty states, the live card, many cards with and
// without originals, long compound words, right-to-left and Japanese text, a selection.
#include <QCoreApplication>
#include <QElapsedTimer>

#include "captions/list.hpp"
#include "root_view.hpp"
#include "scenes.hpp"

namespace {

using Lifecycle = LiveTranslationHelperLifecycle;
using Card = LiveTranslationHelperCommittedCard;

// 2024-05-14 09:41:00 UTC in seconds since 2001-01-01.
constexpr double kStart = 737372460;

LiveTranslationHelperSnapshot listening(std::string source, std::string target)
{
    LiveTranslationHelperSnapshot s = sampleSnapshot();
    s.lifecycle = Lifecycle::listening;
    s.statusMessage = "Listening";
    s.isSessionActive = true;
    s.sourceLanguage = std::move(source);
    s.targetLanguage = std::move(target);
    return s;
}

std::vector<Card> cards(const std::vector<std::pair<std::string, std::string>> &texts)
{
    std::vector<Card> result;
    for (std::size_t i = 0; i < texts.size(); ++i)
        result.push_back({"card-" + std::to_string(i), texts[i].first, texts[i].second,
            kStart + 17.0 * static_cast<double>(i)});
    return result;
}

const std::vector<std::pair<std::string, std::string>> kGerman = {
    {"Guten Morgen und herzlich willkommen zur heutigen Sitzung.",
        "Good morning and a warm welcome to today's meeting."},
    {"Wir beginnen mit einem kurzen Rückblick auf das letzte Quartal.",
        "We'll start with a short review of the last quarter."},
    {"Die Zahlen sind besser als erwartet, vor allem im Export.",
        "The numbers are better than expected, especially in exports."},
    {"Danach spricht Frau Keller über die neue Produktlinie.",
        "After that, Ms Keller will talk about the new product line."},
    {"Bitte stellen Sie Ihre Fragen am Ende der Präsentation.",
        "Please ask your questions at the end of the presentation."},
    {"Gibt es bis hierhin schon Anmerkungen?", "Are there any comments so far?"},
};

std::vector<std::pair<std::string, std::string>> many(int count)
{
    std::vector<std::pair<std::string, std::string>> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(kGerman[static_cast<std::size_t>(i) % kGerman.size()]);
    return texts;
}

// Lets the scroll to the newest card finish.
void settle(LiveTranslationHelperView &, LiveTranslationHelperModel &)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 400)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

std::vector<Scene> makeScenes()
{
    std::vector<Scene> scenes;
    LiveTranslationHelperSnapshot waiting = listening("multi", "en");
    scenes.push_back({"captions-listening-empty", waiting, {}, {}});

    LiveTranslationHelperSnapshot live = listening("de", "en");
    live.committedCards = cards({kGerman[0], kGerman[1]});
    live.activeSourceText = "Die Zahlen sind besser als erwartet, vor allem";
    live.activeTranslatedText = "The numbers are better than expected, especially";
    scenes.push_back({"captions-live", live, settle, {}});

    LiveTranslationHelperSnapshot hearing = listening("de", "en");
    hearing.committedCards = cards({kGerman[0]});
    hearing.activeSourceText = "Wir beginnen mit";
    scenes.push_back({"captions-hearing", hearing, settle, {}});

    LiveTranslationHelperSnapshot stored = sampleSnapshot();
    stored.sourceLanguage = "de";
    stored.committedCards = cards(many(60));
    scenes.push_back({"captions-many", stored, settle, {}});
    stored.showsSourceText = false;
    scenes.push_back({"captions-many-translations-only", stored, settle, {}});

    LiveTranslationHelperSnapshot compounds = listening("en", "de");
    compounds.committedCards = cards({
        {"The insurance company for legal expenses raised its rates.",
            "Die Rechtsschutzversicherungsgesellschaften erhöhen ihre Beiträge."},
        {"The captain of the Danube steamship company wore his cap.",
            "Der Donaudampfschifffahrtsgesellschaftskapitän trug seine "
            "Donaudampfschifffahrtsgesellschaftskapitänsmütze."},
        {"Beef labelling supervision duties delegation law",
            "Rindfleischetikettierungsüberwachungsaufgabenübertragungsgesetz"},
    });
    compounds.activeSourceText = "Speed limit";
    compounds.activeTranslatedText = "Geschwindigkeitsbegrenzungsüberwachungsanlage";
    scenes.push_back({"captions-german-compounds", compounds, settle, {}});

    LiveTranslationHelperSnapshot arabic = listening("en", "ar");
    arabic.committedCards = cards({
        {"Good evening, everyone.", "مساء الخير جميعاً."},
        {"Tonight we talk about the history of the city and its old markets.",
            "نتحدث الليلة عن تاريخ المدينة وأسواقها القديمة."},
        {"The first market opened in 1887 near the harbour.",
            "افتُتح السوق الأول عام 1887 بالقرب من الميناء."},
    });
    arabic.activeSourceText = "Many of the traders came from";
    arabic.activeTranslatedText = "جاء كثير من التجار من";
    scenes.push_back({"captions-arabic", arabic, settle, {}});

    LiveTranslationHelperSnapshot japanese = listening("en", "ja");
    japanese.committedCards = cards({
        {"Thank you for joining us today.", "本日はご参加いただきありがとうございます。"},
        {"Let's look at the schedule for the next three months.",
            "今後3か月のスケジュールを見てみましょう。"},
        {"The launch is planned for the end of October.",
            "リリースは10月末を予定しています。東京と大阪の両方のチームが準備を進めています。"},
    });
    japanese.activeSourceText = "Any questions";
    scenes.push_back({"captions-japanese", japanese, settle, {}});

    // A million letters without a break: the texts end in an ellipsis where the room ends.
    LiveTranslationHelperSnapshot runs = listening("en", "ar");
    std::string arabicRun;
    for (int i = 0; i < 200000; ++i)
        arabicRun += "\u0628";
    runs.committedCards = cards({{"Short source", arabicRun}});
    runs.activeSourceText = std::string(1000000, 'm');
    runs.activeTranslatedText = std::string(1000000, 'w');
    scenes.push_back({"captions-unbroken-runs", runs, settle, {}});

    // Keyboard focus in the list, as after Tab: the list's ring and the current card's, on a
    // card and on the live card.
    LiveTranslationHelperSnapshot focusable = stored;
    focusable.showsSourceText = true;
    focusable.isSessionActive = true;
    focusable.activeSourceText = "Und jetzt";
    focusable.activeTranslatedText = "And now";
    for (const auto &[name, fromNewest] : {std::pair {"captions-keyboard-focus-card", 1},
             std::pair {"captions-keyboard-focus-live", 0}}) {
        scenes.push_back({name, focusable,
            [fromNewest](LiveTranslationHelperView &view, LiveTranslationHelperModel &model) {
                settle(view, model);
                view.window()->activateWindow();
                auto *list = view.findChild<LiveTranslationCaptionList *>();
                list->setFocus(Qt::TabFocusReason);
                list->setCurrentItem(list->itemCount() - 1 - static_cast<std::size_t>(fromNewest));
                settle(view, model);
            },
            {}});
    }

    LiveTranslationHelperSnapshot selected = sampleSnapshot();
    selected.committedCards = cards({kGerman[2], kGerman[3]});
    scenes.push_back({"captions-selection", selected,
        [](LiveTranslationHelperView &view, LiveTranslationHelperModel &model) {
            settle(view, model);
            view.findChild<LiveTranslationCaptionList *>()->selectAll();
        },
        {}});
    return scenes;
}

const SceneRegistration registration(&makeScenes);

} // namespace

// What a snapshot costs the panel as the caption history grows: the snapshot applied to the model
// and the whole panel (520 x 760) rendered to an image, offscreen, median of many runs.
//   captions_bench            the table: same cards, one card appended, first snapshot, 2 MiB line
//   captions_bench --memory   peak resident memory with 10,000 cards, scrolled through once
//   captions_bench --runs     one unbroken run of letters as the live caption and as a card
//   captions_bench --repeat same|appended CARDS   one figure again and again, for a profiler
// Build in a Release directory to measure; the list scrolls at once (reduced motion) so that each
// image shows the settled panel.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <time.h>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>

#include "captions/list.hpp"
#include "model.hpp"
#include "root_view.hpp"
#include "wire_codec.hpp"

namespace {

constexpr int kRuns = 60;
constexpr int kWidth = 520;
constexpr int kHeight = 760;
constexpr std::size_t kLineLimit = 2097152; // line feed included

// Phrases of the kind a session produces, in several scripts and lengths.
constexpr std::array<std::pair<const char *, const char *>, 8> kPhrases = {{
    {"Guten Morgen und herzlich willkommen zur heutigen Sitzung des Verwaltungsrats.",
        "Good morning and a warm welcome to today's meeting of the board."},
    {"Die Rechtsschutzversicherungsgesellschaften erhöhen ihre Beiträge.",
        "Legal expenses insurers are raising their premiums."},
    {"¿Podemos revisar las cifras del último trimestre antes de la pausa?",
        "Can we go over last quarter's figures before the break?"},
    {"本日はご参加いただきありがとうございます。", "Thank you for joining us today."},
    {"Thank you, everyone, for coming tonight.", "شكراً لكم جميعاً على حضوركم الليلة."},
    {"Nous reprendrons la discussion après le déjeuner, vers quatorze heures.",
        "We will pick the discussion up again after lunch, around two o'clock."},
    {"Kiitos, seuraavaksi käymme läpi budjetin.", "Thanks, next we'll go through the budget."},
    {"The launch is planned for the end of October in both regions.",
        "リリースは両地域とも10月末を予定しています。"},
}};

LiveTranslationHelperSnapshot session(std::size_t cards)
{
    LiveTranslationHelperSnapshot s;
    s.generation = 1;
    s.lifecycle = LiveTranslationHelperLifecycle::listening;
    s.statusMessage = "Listening";
    s.isSessionActive = true;
    s.isStartEnabled = true;
    s.sourceLanguage = "multi";
    s.targetLanguage = "en";
    s.sourceLanguages = {{"multi", "Detect automatically"}, {"de", "German"}, {"ja", "Japanese"}};
    s.targetLanguages = {{"en", "English"}, {"de", "German"}, {"ar", "Arabic"}};
    s.audioSources = {{"mac-audio", "Mac Audio"}, {"bundle:org.mozilla.firefox", "Firefox"}};
    s.captureAudioLevel = 0.3F;
    s.activeSourceText = "Und jetzt zum nächsten Punkt der";
    s.activeTranslatedText = "And now to the next item on the";
    // Counted from the newest card, so that every history shows the same cards in view and the
    // figures differ only by what the history's length costs.
    for (std::size_t i = 0; i < cards; ++i) {
        const auto &[source, translation] = kPhrases[(cards - 1 - i) % kPhrases.size()];
        s.committedCards.push_back({"card-" + std::to_string(i), source, translation,
            737372460.0 + 4.5 * static_cast<double>(i)});
    }
    return s;
}

struct Panel {
    LiveTranslationHelperModel model;
    QWidget window;
    LiveTranslationHelperView *view;
    QImage image {kWidth, kHeight, QImage::Format_ARGB32_Premultiplied};

    Panel()
        : view(new LiveTranslationHelperView(&model, &window))
    {
        window.resize(kWidth, kHeight);
        view->resize(kWidth, kHeight);
        view->setReduceMotion(true);
        window.show();
        QApplication::processEvents();
    }

    // The timed part of every figure: the snapshot applied and the panel rendered. As in the
    // helper, the model hands the snapshot it replaces back in `snapshot`, and the next snapshot
    // is written into that storage: nothing is freed, here or later.
    void applyAndRender(LiveTranslationHelperSnapshot &snapshot)
    {
        model.applySnapshot(std::move(snapshot));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        view->QWidget::render(&image);
    }
};

// Wall time, and the main thread's processor time, which a busy machine disturbs less.
struct Figure {
    double wallMs = 0;
    double cpuMs = 0;
};

double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class Samples {
public:
    template <typename Run> void measure(Run run)
    {
        QElapsedTimer timer;
        const double cpuBefore = threadCpuMs();
        timer.start();
        run();
        m_wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        m_cpu.push_back(threadCpuMs() - cpuBefore);
    }
    Figure medians() const { return {median(m_wall), median(m_cpu)}; }

private:
    std::vector<double> m_wall;
    std::vector<double> m_cpu;
};

// prepare(next, i) writes the run's snapshot into `next`, which holds what the previous run's
// model replaced, outside the timed part.
template <typename Prepare, typename Run> Figure medianOfRuns(Prepare prepare, Run run)
{
    Samples samples;
    LiveTranslationHelperSnapshot next;
    for (int i = 0; i < kRuns; ++i) {
        prepare(next, i);
        samples.measure([&] { run(next); });
        QApplication::processEvents(); // repaints outside the timed part
    }
    return samples.medians();
}

Figure sameCards(std::size_t count)
{
    Panel panel;
    const LiveTranslationHelperSnapshot base = session(count);
    LiveTranslationHelperSnapshot first = base;
    panel.applyAndRender(first);
    return medianOfRuns(
        [&](LiveTranslationHelperSnapshot &next, int i) {
            next = base;
            next.generation = static_cast<std::uint64_t>(i) + 2;
            next.captureAudioLevel = static_cast<float>(i % 10) / 10.0F;
        },
        [&](LiveTranslationHelperSnapshot &next) { panel.applyAndRender(next); });
}

Figure oneAppended(std::size_t count)
{
    Panel panel;
    LiveTranslationHelperSnapshot base = session(count + kRuns);
    base.committedCards.resize(count);
    LiveTranslationHelperSnapshot all = session(count + kRuns);
    LiveTranslationHelperSnapshot first = base;
    panel.applyAndRender(first);
    return medianOfRuns(
        [&](LiveTranslationHelperSnapshot &next, int i) {
            base.committedCards.push_back(all.committedCards[count + static_cast<std::size_t>(i)]);
            base.generation = static_cast<std::uint64_t>(i) + 2;
            next = base;
        },
        [&](LiveTranslationHelperSnapshot &next) { panel.applyAndRender(next); });
}

Figure firstSnapshot(std::size_t count)
{
    const LiveTranslationHelperSnapshot full = session(count);
    Samples samples;
    for (int i = 0; i < kRuns; ++i) {
        Panel panel;
        LiveTranslationHelperSnapshot next = full;
        samples.measure([&] { panel.applyAndRender(next); });
    }
    return samples.medians();
}

QByteArray cell(const Figure &figure)
{
    return QByteArray::number(figure.wallMs, 'f', 2) + " ("
        + QByteArray::number(figure.cpuMs, 'f', 2) + ")";
}

void largestLine()
{
    // Grow the history until the snapshot's line would no longer fit the line decoder.
    LiveTranslationHelperSnapshot snapshot = session(0);
    std::string line;
    const LiveTranslationHelperSnapshot pool = session(100000);
    for (std::size_t step = 8192; step > 0; step /= 2) {
        while (true) {
            LiveTranslationHelperSnapshot bigger = snapshot;
            for (std::size_t i = 0; i < step; ++i)
                bigger.committedCards.push_back(pool.committedCards[bigger.committedCards.size()]);
            std::string encoded
                = encodeHostMessage(LiveTranslationHelperHostMessage::makeSnapshot(bigger));
            if (encoded.size() + 1 > kLineLimit)
                break;
            snapshot = std::move(bigger);
            line = std::move(encoded);
        }
    }
    Panel panel;
    // Decoded into the snapshot the model replaced last time, as the helper's line decoder does.
    WireDecoder decoder;
    LiveTranslationHelperHostMessage message;
    WireDecodeError error;
    int generation = 1;
    const Figure figure = medianOfRuns([](LiveTranslationHelperSnapshot &, int) {},
        [&](LiveTranslationHelperSnapshot &) {
            if (!decoder.decodeHostMessage(line, message, error))
                std::abort();
            message.snapshot->generation = ++generation;
            panel.applyAndRender(*message.snapshot);
        });
    std::printf("\n2 MiB line: %zu cards, %zu bytes; decode + apply + render: %s ms\n",
        snapshot.committedCards.size(), line.size(), cell(figure).constData());
}

// A snapshot whose live caption and one card hold nothing but one run of `units` UTF-16 units
// without a break opportunity: letters, or letters each under three combining marks. One unit
// differs from run to run, so that every snapshot lays the texts out again.
Figure unbrokenRun(std::size_t units, bool marks)
{
    const std::string unit = marks ? "a\u0301\u0323\u0308" : "a";
    const std::size_t perUnit = marks ? 4 : 1;
    std::string run;
    run.reserve(units / perUnit * unit.size());
    for (std::size_t i = 0; i < units / perUnit; ++i)
        run += unit;
    Panel panel;
    LiveTranslationHelperSnapshot base = session(0);
    base.committedCards.push_back({"long", run, run, 737372460.0});
    base.activeSourceText = run;
    base.activeTranslatedText = run;
    return medianOfRuns(
        [&](LiveTranslationHelperSnapshot &next, int i) {
            next = base;
            next.generation = static_cast<std::uint64_t>(i) + 2;
            const char letter = static_cast<char>('b' + i % 20);
            next.committedCards[0].translatedText[0] = letter;
            next.committedCards[0].sourceText[0] = letter;
            (*next.activeTranslatedText)[0] = letter;
            (*next.activeSourceText)[0] = letter;
        },
        [&](LiveTranslationHelperSnapshot &next) { panel.applyAndRender(next); });
}

int unbrokenRuns()
{
    std::printf("median of %d runs, ms, wall (main thread processor): live caption and one card "
                "(source and translation) each one unbroken run, applied + panel rendered\n",
        kRuns);
    std::printf("%10s %18s %18s\n", "units", "letters", "marked letters");
    for (const std::size_t units : {10000, 100000, 1000000}) {
        std::printf("%10zu %18s %18s\n", units, cell(unbrokenRun(units, false)).constData(),
            cell(unbrokenRun(units, true)).constData());
    }
    return 0;
}

long peakResidentKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int memory()
{
    const long before = peakResidentKiB();
    Panel panel;
    LiveTranslationHelperSnapshot snapshot = session(10000);
    panel.applyAndRender(snapshot);
    // Every card comes into view once, so every height is measured and layouts come and go.
    auto *list = panel.view->findChild<LiveTranslationCaptionList *>();
    QScrollBar *bar = list->verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        panel.view->QWidget::render(&panel.image);
    }
    std::printf("peak resident memory with 10,000 cards, scrolled through: %.1f MB "
                "(%.1f MB before the panel)\n",
        static_cast<double>(peakResidentKiB()) / 1024.0, static_cast<double>(before) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--memory") == 0)
        return memory();
    if (argc > 1 && std::strcmp(argv[1], "--runs") == 0)
        return unbrokenRuns();
    // One figure again and again, for a profiler:  --repeat same|appended CARDS
    if (argc > 3 && std::strcmp(argv[1], "--repeat") == 0) {
        const bool same = std::strcmp(argv[2], "same") == 0;
        const auto count = static_cast<std::size_t>(std::atol(argv[3]));
        for (int i = 0; i < 20; ++i) {
            const Figure figure = same ? sameCards(count) : oneAppended(count);
            std::printf("%s\n", cell(figure).constData());
        }
        return 0;
    }

    std::printf("median of %d runs, ms, wall (main thread processor): snapshot applied + "
                "panel %dx%d rendered to an image\n",
        kRuns, kWidth, kHeight);
    std::printf("%8s %18s %18s %18s\n", "cards", "same cards", "one appended", "first snapshot");
    for (const std::size_t count : {0, 100, 1000, 10000}) {
        const Figure same = sameCards(count);
        const Figure appended = oneAppended(count);
        const QByteArray first = count >= 1000 ? cell(firstSnapshot(count)) : QByteArray("-");
        std::printf("%8zu %18s %18s %18s\n", count, cell(same).constData(),
            cell(appended).constData(), first.constData());
    }
    largestLine();
    return 0;
}

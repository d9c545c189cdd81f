// Render-pass costs of the panel face, offscreen. Figures are per pass.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "bench_support.hpp"
#include "face/top_bar.hpp"
#include "model.hpp"
#include "root_view.hpp"

namespace {

LiveTranslationHelperSnapshot listening()
{
    LiveTranslationHelperSnapshot s;
    s.generation = 1;
    s.lifecycle = LiveTranslationHelperLifecycle::listening;
    s.isSessionActive = true;
    s.statusMessage = "Listening";
    s.sourceLanguage = "de";
    for (int i = 0; i < 60; ++i) {
        const std::string id = "l" + std::to_string(i);
        s.sourceLanguages.push_back({id, "Language " + std::to_string(i)});
        s.targetLanguages.push_back({id, "Language " + std::to_string(i)});
    }
    s.audioSources = {{"mac-audio", "Mac Audio"}, {"bundle:org.example.Player", "Player"}};
    s.selectedAudioSourceID = "bundle:org.example.Player";
    return s;
}

struct Panel {
    LiveTranslationHelperModel model;
    LiveTranslationHelperView view {&model};

    Panel()
    {
        view.resize(520, 760);
        model.applySnapshot(listening());
        view.show();
        QApplication::processEvents();
    }
};

// The whole view's pass when the snapshot shows nothing new (the host resends the same state).
void renderUnchanged(benchmark::State &state)
{
    Panel panel;
    for (auto _ : state)
        panel.view.render();
}
BENCHMARK(renderUnchanged);

// The header alone, same inputs.
void topBarUnchanged(benchmark::State &state)
{
    Panel panel;
    auto *bar = panel.view.findChild<LiveTranslationTopBar *>();
    const auto palette = LiveTranslationPalette::light();
    const LiveTranslationHelperSnapshot &snapshot = panel.model.snapshot();
    for (auto _ : state)
        bar->render(snapshot, palette);
}
BENCHMARK(topBarUnchanged);

// A level update: a new snapshot whose header inputs are equal, through the model's notification.
void levelOnlySnapshot(benchmark::State &state)
{
    Panel panel;
    LiveTranslationHelperSnapshot s = listening();
    for (auto _ : state) {
        ++s.generation;
        s.captureAudioLevel = static_cast<float>(s.generation % 100) / 100.0F;
        panel.model.applySnapshot(s);
    }
}
BENCHMARK(levelOnlySnapshot);

// The status text changes every pass; widgets update and are repainted.
void statusChangeAndPaint(benchmark::State &state)
{
    Panel panel;
    LiveTranslationHelperSnapshot s = listening();
    for (auto _ : state) {
        ++s.generation;
        s.statusMessage = s.generation % 2 ? "Listening" : "Reconnecting";
        panel.model.applySnapshot(s);
        QApplication::processEvents();
    }
}
BENCHMARK(statusChangeAndPaint);

// Painting the header once, offscreen.
void paintHeader(benchmark::State &state)
{
    Panel panel;
    auto *bar = panel.view.findChild<LiveTranslationTopBar *>();
    QPixmap target(bar->size());
    for (auto _ : state)
        bar->QWidget::render(&target);
}
BENCHMARK(paintHeader);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

// The language picker with 1,000 languages in each column: what opening it costs (the popover
// shown, both columns filtered, the visible rows built, the whole popover painted), and what one
// typed search character costs (both columns filtered again, their rows rebound and painted),
// what one scroll step in a column costs, and what a snapshot that changes only the audio level
// costs it while open.
// Targets: opening at most 30 ms, a typed character at most 10 ms (medians).
//
//   build/<release dir>/bench/pickers_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "bench_support.hpp"
#include "common/view_state.hpp"
#include "model.hpp"
#include "pickers/language_column.hpp"
#include "pickers/language_picker.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/popover.hpp"

namespace {

constexpr int kLanguages = 1000;
constexpr int kRepetitions = 15;

LiveTranslationHelperSnapshot thousandLanguages()
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.sourceLanguage = "l500";
    snapshot.targetLanguage = "l3";
    for (int i = 0; i < kLanguages; ++i) {
        const std::string name
            = "Language " + QString::number(i).rightJustified(4, '0').toStdString();
        snapshot.sourceLanguages.push_back({"l" + std::to_string(i), name});
        snapshot.targetLanguages.push_back({"l" + std::to_string(i), name + " (target)"});
    }
    return snapshot;
}

struct Scene {
    LiveTranslationHelperModel model;
    QWidget window;
    QPushButton *anchor;
    LiveTranslationViewState state;

    Scene()
        : anchor(new QPushButton(QStringLiteral("AUTO → EN"), &window))
    {
        model.applySnapshot(thousandLanguages());
        window.setGeometry(20, 20, 500, 60);
        anchor->setGeometry(200, 10, 100, 24);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
};

// A fresh picker each time: construction, first render and building the visible rows.
void openLanguagePicker(benchmark::State &state)
{
    Scene scene;
    const auto palette = LiveTranslationPalette::light();
    for (auto _ : state) {
        auto *popover = new LiveTranslationPopover(&scene.window);
        auto *picker = new LiveTranslationLanguagePicker(&scene.model, &scene.state);
        popover->setContent(picker);
        popover->setColors(palette);
        picker->render(scene.model.snapshot(), palette);
        popover->present(scene.anchor);
        benchmark::DoNotOptimize(popover->grab());

        state.PauseTiming();
        delete popover;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// Reopening the picker the view keeps.
void reopenLanguagePicker(benchmark::State &state)
{
    Scene scene;
    const auto palette = LiveTranslationPalette::dark();
    LiveTranslationPopover popover(&scene.window);
    auto *picker = new LiveTranslationLanguagePicker(&scene.model, &scene.state);
    popover.setContent(picker);
    popover.setColors(palette);
    picker->render(scene.model.snapshot(), palette);
    for (auto _ : state) {
        popover.present(scene.anchor);
        benchmark::DoNotOptimize(popover.grab());
        state.PauseTiming();
        popover.dismiss();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// One character typed into the search field ("Language 0" then "5", or Backspace back), with
// both columns filtered and painted.
void typeSearchCharacter(benchmark::State &state)
{
    Scene scene;
    const auto palette = LiveTranslationPalette::light();
    LiveTranslationPopover popover(&scene.window);
    auto *picker = new LiveTranslationLanguagePicker(&scene.model, &scene.state);
    popover.setContent(picker);
    popover.setColors(palette);
    popover.present(scene.anchor);
    QTest::keyClicks(picker->searchField(), QStringLiteral("Language 0"));
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            QTest::keyClick(picker->searchField(), Qt::Key_Backspace);
        else
            QTest::keyClick(picker->searchField(), '5');
        typed = !typed;
        benchmark::DoNotOptimize(popover.grab());
    }
}

// A snapshot that changes only the audio level while the picker is open with a search typed:
// what every level update costs the open picker.
void levelSnapshotWhileOpen(benchmark::State &state)
{
    Scene scene;
    const auto palette = LiveTranslationPalette::light();
    LiveTranslationPopover popover(&scene.window);
    auto *picker = new LiveTranslationLanguagePicker(&scene.model, &scene.state);
    popover.setContent(picker);
    popover.setColors(palette);
    popover.present(scene.anchor);
    QTest::keyClicks(picker->searchField(), QStringLiteral("language 05"));
    LiveTranslationHelperSnapshot snapshot = scene.model.snapshot();
    for (auto _ : state) {
        snapshot.captureAudioLevel = snapshot.captureAudioLevel > 0.5F ? 0.1F : 0.9F;
        scene.model.applySnapshot(snapshot);
        picker->render(scene.model.snapshot(), palette);
    }
}

// One scroll step in the FROM list of 1,000 rows (down and back): releasing the rows that leave
// the view and building the ones that come in, without the painting.
void scrollOneStep(benchmark::State &state)
{
    Scene scene;
    const auto palette = LiveTranslationPalette::light();
    LiveTranslationPopover popover(&scene.window);
    auto *picker = new LiveTranslationLanguagePicker(&scene.model, &scene.state);
    popover.setContent(picker);
    popover.setColors(palette);
    picker->render(scene.model.snapshot(), palette);
    popover.present(scene.anchor);
    QScrollBar *bar = picker->sourceColumn()->list()->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const int step = bar->singleStep() * 3;
    bool down = true;
    for (auto _ : state) {
        bar->setValue(bar->value() + (down ? step : -step));
        down = !down;
    }
}

BENCHMARK(openLanguagePicker)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(reopenLanguagePicker)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(typeSearchCharacter)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(scrollOneStep)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(levelSnapshotWhileOpen)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

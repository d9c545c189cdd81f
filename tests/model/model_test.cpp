#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model.hpp"

namespace {

using Command = LiveTranslationHelperCommand;
using Snapshot = LiveTranslationHelperSnapshot;

Snapshot snapshotWith(std::uint64_t generation, std::string status)
{
    Snapshot snapshot;
    snapshot.generation = generation;
    snapshot.statusMessage = std::move(status);
    return snapshot;
}

// Counts the model's notifications and records the appearances it sets.
struct Recorder {
    int notifications = 0;
    std::vector<LiveTranslationAppearance> appearances;

    explicit Recorder(LiveTranslationHelperModel &model)
    {
        model.setAppearanceSetter(
            [this](LiveTranslationAppearance a) { appearances.push_back(a); });
        QObject::connect(
            &model, &LiveTranslationHelperModel::snapshotChanged, [this] { ++notifications; });
    }
};

TEST(ModelGeneration, StartsInitialAndTakesEveryGenerationNotBelowItsOwnNotifyingEachTime)
{
    LiveTranslationHelperModel model;
    EXPECT_EQ(model.snapshot().statusMessage, "Connecting to Tavu");
    EXPECT_EQ(model.snapshot().generation, 0U);
    Recorder recorder(model);
    model.applySnapshot(snapshotWith(0, "first"));
    EXPECT_EQ(model.snapshot().statusMessage, "first");
    model.applySnapshot(snapshotWith(7, "a"));
    model.applySnapshot(snapshotWith(7, "b"));
    model.applySnapshot(snapshotWith(7, "b")); // unchanged, and still a replacement
    EXPECT_EQ(model.snapshot().statusMessage, "b");
    EXPECT_EQ(recorder.notifications, 4);
}

TEST(ModelGeneration, OlderGenerationChangesNothingNotEvenTheAppearance)
{
    LiveTranslationHelperModel model;
    Recorder recorder(model);
    auto newer = snapshotWith(7, "kept");
    newer.appearanceMode = "dark";
    model.applySnapshot(newer);
    auto older = snapshotWith(5, "stale");
    older.appearanceMode = "light";
    model.applySnapshot(older);
    EXPECT_EQ(model.snapshot().statusMessage, "kept");
    EXPECT_EQ(recorder.notifications, 1);
    EXPECT_EQ(recorder.appearances, std::vector {LiveTranslationAppearance::dark});
}

TEST(ModelGeneration, ComparesGenerationsAsUnsigned64Bit)
{
    LiveTranslationHelperModel model;
    model.applySnapshot(snapshotWith(UINT64_MAX, "max"));
    model.applySnapshot(snapshotWith(1ULL << 63U, "lower"));
    EXPECT_EQ(model.snapshot().statusMessage, "max");
    model.applySnapshot(snapshotWith(UINT64_MAX, "same"));
    EXPECT_EQ(model.snapshot().statusMessage, "same");
}

TEST(ModelGeneration, ATakenSnapshotIsExchangedForTheReplacedOneAndAStaleOneIsLeftAlone)
{
    LiveTranslationHelperModel model;
    Recorder recorder(model);
    auto first = snapshotWith(3, "first");
    first.committedCards = {{"c1", "source", "translation", 1.0}};
    model.applySnapshot(std::move(first));
    EXPECT_EQ(first.statusMessage, "Connecting to Tavu"); // the initial one comes back

    auto second = snapshotWith(4, "second");
    model.applySnapshot(std::move(second));
    EXPECT_EQ(model.snapshot(), snapshotWith(4, "second"));
    EXPECT_EQ(second.statusMessage, "first");
    EXPECT_EQ(second.committedCards.size(), 1U);

    auto stale = snapshotWith(2, "stale");
    model.applySnapshot(std::move(stale));
    EXPECT_EQ(stale, snapshotWith(2, "stale"));
    model.applySnapshot(snapshotWith(1, "also stale")); // copied
    EXPECT_EQ(model.snapshot(), snapshotWith(4, "second"));
    EXPECT_EQ(recorder.notifications, 2);

    const auto newer = snapshotWith(9, "newer"); // a copied snapshot stays with its owner
    model.applySnapshot(newer);
    EXPECT_EQ(newer, snapshotWith(9, "newer"));
    EXPECT_EQ(model.snapshot(), snapshotWith(9, "newer"));
}

TEST(ModelAppearance, OnlyExactLightAndDarkForceAScheme)
{
    EXPECT_EQ(appearanceFromMode("light"), LiveTranslationAppearance::light);
    EXPECT_EQ(appearanceFromMode("dark"), LiveTranslationAppearance::dark);
    for (const char *mode : {"Dark", "LIGHT", "system", "", " dark", "dark "})
        EXPECT_EQ(appearanceFromMode(mode), LiveTranslationAppearance::system) << mode;
}

TEST(ModelClosePanel, StopsARunningSessionHidesThePanelAndTellsTheHost)
{
    LiveTranslationHelperModel model;
    // Before wiring, commands are dropped, not kept for later.
    model.closePanel();
    model.sendCommand(Command::start());
    std::string log;
    model.setCommandSender([&log](const Command &command) {
        log += command.kind == Command::Kind::stop ? "stop "
            : command.kind == Command::Kind::hide  ? "hide "
                                                   : "other ";
    });
    model.setPanelHider([&log] { log += "panel "; });
    model.closePanel();
    EXPECT_EQ(log, "panel hide ");
    auto running = snapshotWith(1, "running");
    running.isSessionActive = true;
    model.applySnapshot(running);
    model.closePanel();
    EXPECT_EQ(log, "panel hide stop panel hide ");
}

} // namespace

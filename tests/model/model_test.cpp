#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model.hpp"
#include "wire_codec.hpp"

namespace {

using Appearance = LiveTranslationAppearance;
using Command = LiveTranslationHelperCommand;
using Snapshot = LiveTranslationHelperSnapshot;

Snapshot snapshotWith(std::uint64_t generation, std::string status, std::string mode = "system")
{
    Snapshot snapshot;
    snapshot.generation = generation;
    snapshot.statusMessage = std::move(status);
    snapshot.appearanceMode = std::move(mode);
    return snapshot;
}

TEST(ModelGeneration, TakesEveryGenerationNotBelowItsOwnAsUnsigned64BitNotifyingEachTime)
{
    LiveTranslationHelperModel model;
    EXPECT_EQ(model.snapshot().statusMessage, "Connecting to Tavu");
    int notifications = 0;
    std::vector<Appearance> appearances;
    model.setAppearanceSetter([&](Appearance appearance) { appearances.push_back(appearance); });
    QObject::connect(
        &model, &LiveTranslationHelperModel::snapshotChanged, [&] { ++notifications; });
    model.applySnapshot(snapshotWith(0, "first")); // the initial generation is 0, and so any
    model.applySnapshot(snapshotWith(7, "a"));
    model.applySnapshot(snapshotWith(7, "b", "dark"));
    model.applySnapshot(snapshotWith(7, "b", "dark")); // unchanged, and still a replacement
    model.applySnapshot(snapshotWith(5, "stale", "light")); // changes nothing, not the appearance
    EXPECT_EQ(model.snapshot().statusMessage, "b");
    EXPECT_EQ(notifications, 4);
    EXPECT_EQ(appearances,
        (std::vector {Appearance::system, Appearance::system, Appearance::dark, Appearance::dark}));

    model.applySnapshot(snapshotWith(UINT64_MAX, "max"));
    model.applySnapshot(snapshotWith(1ULL << 63U, "lower"));
    EXPECT_EQ(model.snapshot().statusMessage, "max");
    model.applySnapshot(snapshotWith(UINT64_MAX, "same"));
    EXPECT_EQ(model.snapshot().statusMessage, "same");
}

TEST(ModelGeneration, ATakenSnapshotIsExchangedForTheReplacedOneAndAStaleOneIsLeftAlone)
{
    LiveTranslationHelperModel model;
    auto first = snapshotWith(3, "first");
    model.applySnapshot(std::move(first));
    EXPECT_EQ(first.statusMessage, "Connecting to Tavu"); // the initial one comes back
    auto second = snapshotWith(4, "second");
    model.applySnapshot(std::move(second));
    EXPECT_EQ(second, snapshotWith(3, "first"));
    auto stale = snapshotWith(2, "stale");
    model.applySnapshot(std::move(stale));
    EXPECT_EQ(stale, snapshotWith(2, "stale"));
    EXPECT_EQ(model.snapshot(), snapshotWith(4, "second"));
    const auto newer = snapshotWith(9, "newer"); // a copied snapshot stays with its owner
    model.applySnapshot(newer);
    EXPECT_EQ(newer, snapshotWith(9, "newer"));
    EXPECT_EQ(model.snapshot(), snapshotWith(9, "newer"));
}

TEST(ModelAppearance, OnlyExactLightAndDarkForceAScheme)
{
    EXPECT_EQ(appearanceFromMode("light"), Appearance::light);
    EXPECT_EQ(appearanceFromMode("dark"), Appearance::dark);
    for (const char *mode : {"Dark", "LIGHT", "system", "", " dark", "dark "})
        EXPECT_EQ(appearanceFromMode(mode), Appearance::system) << mode;
}

TEST(ModelClosePanel, StopsARunningSessionHidesThePanelAndTellsTheHost)
{
    LiveTranslationHelperModel model;
    // Before wiring, commands are dropped, not kept for later.
    model.closePanel();
    model.sendCommand(Command::start());
    std::string log;
    model.setCommandSender([&log](const Command &command) { log += encodeCommand(command); });
    model.setPanelHider([&log] { log += "panel "; });
    model.closePanel();
    EXPECT_EQ(log, R"(panel {"type":"hide"})");
    auto running = snapshotWith(1, "running");
    running.isSessionActive = true;
    model.applySnapshot(running);
    log.clear();
    model.closePanel();
    EXPECT_EQ(log, R"({"type":"stop"}panel {"type":"hide"})");
}

} // namespace

#include <gtest/gtest.h>
#include <vector>

#include "model.hpp"

namespace {

using Command = LiveTranslationHelperCommand;

LiveTranslationHelperSnapshot snapshotWith(std::uint64_t generation, std::string status = "x")
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.generation = generation;
    snapshot.statusMessage = std::move(status);
    return snapshot;
}

struct Recorder {
    int notifications = 0;
    std::vector<LiveTranslationAppearance> appearances;

    void attach(LiveTranslationHelperModel &model)
    {
        model.setAppearanceSetter(
            [this](LiveTranslationAppearance a) { appearances.push_back(a); });
        QObject::connect(
            &model, &LiveTranslationHelperModel::snapshotChanged, [this] { ++notifications; });
    }
};

TEST(ModelGeneration, StartsWithTheInitialSnapshotAndAcceptsAnyFirstGeneration)
{
    LiveTranslationHelperModel model;
    EXPECT_EQ(model.snapshot(), LiveTranslationHelperSnapshot::initial());
    EXPECT_EQ(model.snapshot().statusMessage, "Connecting to Tavu");

    Recorder recorder;
    recorder.attach(model);
    model.applySnapshot(snapshotWith(0, "first"));
    EXPECT_EQ(model.snapshot().statusMessage, "first");
    EXPECT_EQ(recorder.notifications, 1);
}

TEST(ModelGeneration, EqualGenerationReplacesAndNotifiesEvenWhenUnchanged)
{
    LiveTranslationHelperModel model;
    Recorder recorder;
    recorder.attach(model);
    model.applySnapshot(snapshotWith(7, "a"));
    model.applySnapshot(snapshotWith(7, "b"));
    model.applySnapshot(snapshotWith(7, "b"));
    EXPECT_EQ(model.snapshot().statusMessage, "b");
    EXPECT_EQ(recorder.notifications, 3);
}

TEST(ModelGeneration, OlderGenerationChangesNothingNotEvenTheAppearance)
{
    LiveTranslationHelperModel model;
    Recorder recorder;
    recorder.attach(model);
    auto newer = snapshotWith(7, "kept");
    newer.appearanceMode = "dark";
    model.applySnapshot(newer);
    auto older = snapshotWith(5, "stale");
    older.appearanceMode = "light";
    model.applySnapshot(older);
    EXPECT_EQ(model.snapshot().statusMessage, "kept");
    EXPECT_EQ(recorder.notifications, 1);
    ASSERT_EQ(recorder.appearances.size(), 1U);
    EXPECT_EQ(recorder.appearances.back(), LiveTranslationAppearance::dark);
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

TEST(ModelGeneration, TakingASnapshotHandsBackTheReplacedOneAndNotifies)
{
    LiveTranslationHelperModel model;
    Recorder recorder;
    recorder.attach(model);
    auto first = snapshotWith(3, "first");
    first.committedCards = {{"c1", "source", "translation", 1.0}};
    model.applySnapshot(std::move(first));
    EXPECT_EQ(first, LiveTranslationHelperSnapshot::initial()); // the storage comes back

    auto second = snapshotWith(4, "second");
    model.applySnapshot(std::move(second));
    EXPECT_EQ(model.snapshot(), snapshotWith(4, "second"));
    auto replaced = snapshotWith(3, "first");
    replaced.committedCards = {{"c1", "source", "translation", 1.0}};
    EXPECT_EQ(second, replaced);
    EXPECT_EQ(recorder.notifications, 2);
}

TEST(ModelGeneration, StaleSnapshotIsLeftUntouchedWhetherTakenOrCopied)
{
    LiveTranslationHelperModel model;
    Recorder recorder;
    recorder.attach(model);
    model.applySnapshot(snapshotWith(8, "current"));
    auto stale = snapshotWith(2, "stale");
    model.applySnapshot(std::move(stale));
    EXPECT_EQ(stale, snapshotWith(2, "stale"));
    const auto copied = snapshotWith(1, "also stale");
    model.applySnapshot(copied);
    EXPECT_EQ(model.snapshot(), snapshotWith(8, "current"));
    EXPECT_EQ(recorder.notifications, 1);

    // A copied snapshot stays with its owner.
    const auto newer = snapshotWith(9, "newer");
    model.applySnapshot(newer);
    EXPECT_EQ(newer, snapshotWith(9, "newer"));
    EXPECT_EQ(model.snapshot(), newer);
}

TEST(ModelAppearance, OnlyExactLightAndDarkForceAScheme)
{
    EXPECT_EQ(appearanceFromMode("light"), LiveTranslationAppearance::light);
    EXPECT_EQ(appearanceFromMode("dark"), LiveTranslationAppearance::dark);
    for (const char *mode : {"Dark", "LIGHT", "system", "", " dark", "dark "})
        EXPECT_EQ(appearanceFromMode(mode), LiveTranslationAppearance::system) << mode;
}

TEST(ModelClosePanel, CommandsBeforeWiringAreLostWithoutHarm)
{
    LiveTranslationHelperModel model;
    model.closePanel();
    model.sendCommand(Command::start());
    // Dropped, not kept for later: once wired, only what comes next goes out.
    std::vector<Command::Kind> sent;
    model.setCommandSender([&sent](const Command &command) { sent.push_back(command.kind); });
    model.sendCommand(Command::stop());
    EXPECT_EQ(sent, std::vector<Command::Kind> {Command::Kind::stop});
}

} // namespace

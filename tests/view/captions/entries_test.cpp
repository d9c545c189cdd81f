#include <gtest/gtest.h>

#include "captions/entries.hpp"

namespace {

using Card = LiveTranslationHelperCommittedCard;
using Cards = std::vector<Card>;

Card card(const std::string &id, const std::string &translation = "text")
{
    return {
        .id = id, .sourceText = "source of " + id, .translatedText = translation, .committedAt = 1};
}

Cards cards(int from, int to)
{
    Cards result;
    for (int i = from; i < to; ++i)
        result.push_back(card("c" + std::to_string(i)));
    return result;
}

// Every unmeasured card is estimated at 40 (one line of each text), spaced 10 apart.
class CaptionEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        entries.setSpacing(10);
        entries.setEstimate({.textWidth = 1000,
            .fixedHeight = 10,
            .sourceGap = 0,
            .sourceLineHeight = 10,
            .sourceUnitWidth = 1,
            .translationLineHeight = 20,
            .translationUnitWidth = 1,
            .showsSource = true});
    }

    LiveTranslationCaptionEntries entries;
};

TEST_F(CaptionEntriesTest, SameCardsChangeNothingAndKeepMeasuredHeights)
{
    EXPECT_TRUE(entries.update(cards(0, 3)).countChanged);
    entries.setMeasuredHeight(1, 77);
    const auto update = entries.update(cards(0, 3));
    EXPECT_FALSE(update.changed);
    EXPECT_FALSE(update.countChanged);
    EXPECT_TRUE(entries.isMeasured(1));
    EXPECT_EQ(entries.height(1), 77);
    EXPECT_EQ(entries.height(0), 40);
}

TEST_F(CaptionEntriesTest, AppendingKeepsEveryCardBeforeItAndItsPlace)
{
    entries.update(cards(0, 3));
    entries.setMeasuredHeight(2, 60);
    EXPECT_EQ(entries.top(2), 100);
    const auto update = entries.update(cards(0, 5));
    EXPECT_TRUE(update.countChanged);
    EXPECT_EQ(update.firstChanged, 3u);
    EXPECT_TRUE(update.moved.empty());
    EXPECT_EQ(entries.height(2), 60);
    EXPECT_EQ(entries.top(3), 170);
    EXPECT_EQ(entries.top(4), 220);
    EXPECT_EQ(entries.totalHeight(), 260);
}

TEST_F(CaptionEntriesTest, ReplacingWithTheSameNumberOfCardsIsAChangeButNotACountChange)
{
    entries.update(cards(0, 3));
    const auto update = entries.update(cards(10, 13));
    EXPECT_TRUE(update.changed);
    EXPECT_FALSE(update.countChanged);
    EXPECT_EQ(entries.card(0).id, "c10");
}

TEST_F(CaptionEntriesTest, DroppingTheOldestFollowsCardsByIdWithTheirHeights)
{
    entries.update(cards(0, 5));
    entries.setMeasuredHeight(3, 90);
    entries.setMeasuredHeight(0, 99);
    auto next = cards(2, 6);
    const auto update = entries.update(next);
    EXPECT_TRUE(update.countChanged);
    ASSERT_EQ(update.moved.size(), 5u);
    EXPECT_FALSE(update.moved[0].has_value());
    EXPECT_FALSE(update.moved[1].has_value());
    EXPECT_EQ(update.moved[3], 1u);
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries.height(1), 90);
    EXPECT_EQ(entries.top(0), 0);
    EXPECT_EQ(entries.top(2), 40 + 10 + 90 + 10);
}

TEST_F(CaptionEntriesTest, AnEditedCardIsMeasuredAgainAndMovedCardsAreNot)
{
    entries.update(cards(0, 4));
    for (std::size_t i = 0; i < 4; ++i)
        entries.setMeasuredHeight(i, 50 + static_cast<qreal>(i));
    Cards next = {card("c0", "revised"), card("c3"), card("c1"), card("new")};
    const auto update = entries.update(next);
    EXPECT_FALSE(update.countChanged);
    EXPECT_FALSE(update.moved[0].has_value()); // edited
    EXPECT_EQ(update.moved[1], 2u);
    EXPECT_FALSE(update.moved[2].has_value()); // gone
    EXPECT_EQ(update.moved[3], 1u);
    EXPECT_FALSE(entries.isMeasured(0));
    EXPECT_EQ(entries.card(0).translatedText, "revised");
    EXPECT_EQ(entries.height(1), 53);
    EXPECT_EQ(entries.height(2), 51);
    EXPECT_FALSE(entries.isMeasured(3));
    EXPECT_EQ(entries.top(3), 40 + 53 + 51 + 3 * 10);
}

TEST_F(CaptionEntriesTest, RepeatedIdsAreMatchedInOrder)
{
    Cards twice = {card("same", "one"), card("same", "two")};
    entries.update(twice);
    entries.setMeasuredHeight(0, 61);
    entries.setMeasuredHeight(1, 62);
    Cards next = {card("x"), card("same", "one"), card("same", "two")};
    const auto update = entries.update(next);
    EXPECT_EQ(update.moved[0], 1u);
    EXPECT_EQ(update.moved[1], 2u);
    EXPECT_EQ(entries.height(1), 61);
    EXPECT_EQ(entries.height(2), 62);
}

TEST_F(CaptionEntriesTest, RemovingTheNewestAndRemovingAll)
{
    entries.update(cards(0, 4));
    entries.setMeasuredHeight(1, 70);
    auto update = entries.update(cards(0, 2));
    EXPECT_TRUE(update.countChanged);
    EXPECT_EQ(update.firstChanged, 2u);
    EXPECT_EQ(entries.totalHeight(), 40 + 10 + 70);
    update = entries.update({});
    EXPECT_TRUE(update.countChanged);
    EXPECT_EQ(entries.totalHeight(), 0);
    EXPECT_EQ(entries.range(0, 100), (std::pair<std::size_t, std::size_t> {0, 0}));
}

TEST_F(CaptionEntriesTest, NewMeasuresMakeEveryHeightAnEstimateAgain)
{
    entries.update(cards(0, 2));
    entries.setMeasuredHeight(0, 70);
    auto estimate = entries.estimate();
    estimate.showsSource = false;
    entries.setEstimate(estimate);
    EXPECT_FALSE(entries.isMeasured(0));
    EXPECT_EQ(entries.height(0), 30);
    EXPECT_EQ(entries.top(1), 40);
}

TEST_F(CaptionEntriesTest, RangeAndIndexFindCardsByHeight)
{
    entries.update(cards(0, 1000)); // tops every 50: card i spans [50i, 50i + 40)
    EXPECT_EQ(entries.range(0, 1), (std::pair<std::size_t, std::size_t> {0, 1}));
    EXPECT_EQ(entries.range(40, 50), (std::pair<std::size_t, std::size_t> {1, 1})); // in a gap
    EXPECT_EQ(entries.range(45, 151), (std::pair<std::size_t, std::size_t> {1, 4}));
    EXPECT_EQ(entries.range(49980, 60000), (std::pair<std::size_t, std::size_t> {999, 1000}));
    EXPECT_EQ(entries.indexAt(-5), 0u);
    EXPECT_EQ(entries.indexAt(44), 0u);
    EXPECT_EQ(entries.indexAt(46), 1u);
    EXPECT_EQ(entries.indexAt(1e9), 999u);

    // Measuring a card moves every card below it, and only those.
    entries.setMeasuredHeight(500, 140);
    EXPECT_EQ(entries.top(500), 25000);
    EXPECT_EQ(entries.top(501), 25150);
    EXPECT_EQ(entries.totalHeight(), 999 * 50 + 40 + 100);
}

} // namespace

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include <QLocale>

#include "captions/entries.hpp"
#include "captions/logic.hpp"

namespace {

LiveTranslationHelperSnapshot withTranslations(std::initializer_list<const char *> translations)
{
    LiveTranslationHelperSnapshot snapshot;
    for (const char *text : translations) {
        const std::string n = std::to_string(snapshot.committedCards.size());
        snapshot.committedCards.push_back(
            {.id = "c" + n, .sourceText = "source " + n, .translatedText = text});
    }
    return snapshot;
}

TEST(CaptionsRules, WhatShowsAndWhatCanBeCopiedFollowsWhichTextsArePresent)
{
    using Text = std::optional<std::string>;
    // Empty state, live section, active source, active translation, copy latest, copy all.
    const auto rules = [](const LiveTranslationHelperSnapshot &s) {
        std::string flags;
        for (const bool rule :
            {showsCaptionsEmptyState(s), showsActiveSection(s), hasActiveSource(s),
                hasActiveTranslation(s), canCopyLatestCaption(s), canCopyAllCaptions(s)})
            flags += rule ? '1' : '0';
        return flags;
    };
    const auto live = [](bool session, Text source, Text translation) {
        LiveTranslationHelperSnapshot s;
        s.isSessionActive = session;
        s.activeSourceText = std::move(source);
        s.activeTranslatedText = std::move(translation);
        return s;
    };
    EXPECT_EQ(rules(live(false, {}, {})), "100000");
    EXPECT_EQ(rules(live(true, {}, {})), "110000");
    EXPECT_EQ(rules(live(false, {}, "")), "110010"); // present though empty
    EXPECT_EQ(rules(live(false, "", {})), "010000");
    EXPECT_EQ(rules(live(false, "x", "y")), "011110");
    EXPECT_EQ(rules(withTranslations({"a"})), "000011");
    EXPECT_FALSE(latestCaptionToCopy(live(false, {}, "")).has_value());
}

TEST(CaptionsCopy, AllJoinsTranslationsByLineFeedsAndLatestTakesTheNewestTrimmed)
{
    EXPECT_EQ(allCaptionsToCopy(withTranslations({"a", "", "b"})), QStringLiteral("a\n\nb"));
    EXPECT_EQ(allCaptionsToCopy(withTranslations({"  a ", " b  "})), QStringLiteral("a \n b"));
    EXPECT_FALSE(allCaptionsToCopy(withTranslations({"", "\n", " \t"})).has_value());

    auto snapshot = withTranslations({"one", "  two\n"});
    snapshot.activeTranslatedText = "live"; // neither copy takes the live text or any source
    EXPECT_EQ(allCaptionsToCopy(snapshot), QStringLiteral("one\n  two"));
    EXPECT_EQ(latestCaptionToCopy(snapshot), QStringLiteral("two"));
    snapshot.committedCards.back().translatedText = " \n ";
    EXPECT_FALSE(latestCaptionToCopy(snapshot).has_value());

    LiveTranslationHelperSnapshot live;
    live.activeSourceText = "original";
    EXPECT_FALSE(latestCaptionToCopy(live).has_value());
    live.activeTranslatedText = "\u00a0translated\u2003"; // Unicode spaces trim as well
    EXPECT_EQ(latestCaptionToCopy(live), QStringLiteral("translated"));
}

TEST(CaptionsTime, LocalHourAndMinuteOfTheReferenceDateAndNoneOutsideTheClocksYears)
{
    // The test runs with TZ=IST-5:30, a zone half an hour off from whole hours.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(captionTimeText(0, english), QStringLiteral("5:30 AM"));
    // 700000000 is 2023-03-08 20:26:40 UTC; read as Unix time it would be 1992.
    EXPECT_EQ(captionTimeText(700000000.999, english), QStringLiteral("1:56 AM"));
    EXPECT_EQ(captionTimeText(-978307200, english), QStringLiteral("5:30 AM")); // 1970
    // Formats that carry seconds lose them.
    EXPECT_EQ(captionTimeText(700000000, QLocale::c()), QStringLiteral("01:56"));

    const double inf = std::numeric_limits<double>::infinity();
    for (const double date : {inf, -inf, std::nan(""), 3e11, -7e10})
        EXPECT_TRUE(captionTimeText(date, QLocale::c()).isEmpty()) << date;
    EXPECT_EQ(captionTimeText(2e11, QLocale::c()), QStringLiteral("01:03")); // year 8338
}

TEST(CaptionsEstimate, WideCharactersCountTwiceAndMultibyteCharactersOnce)
{
    EXPECT_EQ(estimatedTextUnits("Grüße"), 5);
    EXPECT_EQ(estimatedTextUnits("مرحبا"), 5);
    EXPECT_EQ(estimatedTextUnits("日本語"), 6);
    EXPECT_EQ(estimatedTextUnits("한국"), 4);
    EXPECT_EQ(estimatedTextUnits("\U0001F600\uFF21"), 4);
}

using Card = LiveTranslationHelperCommittedCard;
using Cards = std::vector<Card>;
using Moves = std::vector<std::optional<std::size_t>>;
using Range = std::pair<std::size_t, std::size_t>;

Card card(const std::string &id, const std::string &translation = "text")
{
    return {.id = id, .sourceText = "source of " + id, .translatedText = translation};
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
        // Width 1000, fixed 10, no source gap, lines of 10 and 20 with a unit 1 wide.
        entries.setEstimate({1000, 10, 0, 10, 1, 20, 1, true});
    }
    // Each card as "id@top:height", with a star when measured, then the total height.
    std::string shape()
    {
        std::string result;
        for (std::size_t i = 0; i < entries.size(); ++i)
            result += entries.card(i).id + "@" + std::to_string(int(entries.top(i))) + ":"
                + std::to_string(int(entries.height(i))) + (entries.isMeasured(i) ? "* " : " ");
        return result + "= " + std::to_string(int(entries.totalHeight()));
    }

    LiveTranslationCaptionEntries entries;
};

TEST_F(CaptionEntriesTest, SameCardsKeepTheirHeightsAndAppendedOrRemovedNewestKeepThoseBefore)
{
    EXPECT_TRUE(entries.update(cards(0, 3)).countChanged);
    entries.setMeasuredHeight(1, 60);
    EXPECT_EQ(shape(), "c0@0:40 c1@50:60* c2@120:40 = 160");
    EXPECT_FALSE(entries.update(cards(0, 3)).changed);
    auto update = entries.update(cards(0, 5));
    EXPECT_TRUE(update.countChanged);
    EXPECT_EQ(update.firstChanged, 3u);
    EXPECT_TRUE(update.moved.empty());
    EXPECT_EQ(shape(), "c0@0:40 c1@50:60* c2@120:40 c3@170:40 c4@220:40 = 260");
    update = entries.update(cards(0, 2));
    EXPECT_TRUE(update.countChanged);
    EXPECT_EQ(update.firstChanged, 2u);
    EXPECT_EQ(shape(), "c0@0:40 c1@50:60* = 110");

    update = entries.update(cards(10, 12));
    EXPECT_TRUE(update.changed);
    EXPECT_FALSE(update.countChanged);
    EXPECT_EQ(shape(), "c10@0:40 c11@50:40 = 90");
    EXPECT_TRUE(entries.update({}).countChanged);
    EXPECT_EQ(shape(), "= 0");
    EXPECT_EQ(entries.range(0, 100), (Range {0, 0}));
}

TEST_F(CaptionEntriesTest, DroppingTheOldestFollowsCardsByIdWithTheirHeights)
{
    entries.update(cards(0, 5));
    entries.setMeasuredHeight(3, 90);
    entries.setMeasuredHeight(0, 99);
    const auto update = entries.update(cards(2, 6));
    EXPECT_TRUE(update.countChanged);
    EXPECT_EQ(update.moved, (Moves {{}, {}, 0, 1, 2}));
    EXPECT_EQ(shape(), "c2@0:40 c3@50:90* c4@150:40 c5@200:40 = 240");
}

TEST_F(CaptionEntriesTest, EditedCardsAreMeasuredAgainAndMovedOnesAreNot)
{
    entries.update(cards(0, 4));
    for (std::size_t i = 0; i < 4; ++i)
        entries.setMeasuredHeight(i, 50 + static_cast<qreal>(i));
    auto update = entries.update({card("c0", "revised"), card("c3"), card("c1"), card("new")});
    EXPECT_FALSE(update.countChanged);
    EXPECT_EQ(update.moved, (Moves {{}, 2, {}, 1}));
    EXPECT_EQ(entries.card(0).translatedText, "revised");
    EXPECT_EQ(shape(), "c0@0:40 c3@50:53* c1@113:51* new@174:40 = 214");
}

TEST_F(CaptionEntriesTest, RangeAndIndexFindCardsByHeightAndAMeasureMovesOnlyTheCardsBelow)
{
    entries.update(cards(0, 1000)); // tops every 50: card i spans [50i, 50i + 40)
    EXPECT_EQ(entries.range(40, 50), (Range {1, 1})); // in a gap
    EXPECT_EQ(entries.range(45, 151), (Range {1, 4}));
    EXPECT_EQ(entries.range(49980, 60000), (Range {999, 1000}));
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

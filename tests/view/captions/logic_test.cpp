#include <gtest/gtest.h>
#include <limits>

#include <QLocale>

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
    LiveTranslationHelperSnapshot s;
    EXPECT_TRUE(showsCaptionsEmptyState(s));
    EXPECT_FALSE(showsActiveSection(s));
    EXPECT_FALSE(canCopyLatestCaption(s));
    s.isSessionActive = true;
    EXPECT_TRUE(showsActiveSection(s));
    s.isSessionActive = false;
    s.activeTranslatedText = ""; // present though empty: shows, and enables copying nothing
    EXPECT_TRUE(showsCaptionsEmptyState(s));
    EXPECT_TRUE(showsActiveSection(s));
    EXPECT_FALSE(hasActiveTranslation(s));
    EXPECT_TRUE(canCopyLatestCaption(s));
    EXPECT_FALSE(latestCaptionToCopy(s).has_value());
    EXPECT_FALSE(canCopyAllCaptions(s));
    s.activeTranslatedText.reset();
    s.activeSourceText = "";
    EXPECT_FALSE(showsCaptionsEmptyState(s));
    EXPECT_TRUE(showsActiveSection(s));
    EXPECT_FALSE(hasActiveSource(s));
    EXPECT_FALSE(canCopyLatestCaption(s)); // a source alone copies nothing
    s.activeSourceText = "x";
    EXPECT_TRUE(hasActiveSource(s));
    s.activeTranslatedText = "y";
    EXPECT_TRUE(hasActiveTranslation(s));

    const auto cards = withTranslations({"a"});
    EXPECT_FALSE(showsCaptionsEmptyState(cards));
    EXPECT_FALSE(showsActiveSection(cards));
    EXPECT_TRUE(canCopyLatestCaption(cards));
    EXPECT_TRUE(canCopyAllCaptions(cards));
}

TEST(CaptionsCopy, AllJoinsTranslationsByLineFeedsAndLatestTakesTheNewestTrimmed)
{
    EXPECT_EQ(allCaptionsToCopy(withTranslations({"a", "", "b"})), QStringLiteral("a\n\nb"));
    EXPECT_EQ(allCaptionsToCopy(withTranslations({"  a ", " b  "})), QStringLiteral("a \n b"));
    EXPECT_FALSE(allCaptionsToCopy(withTranslations({"", "\n", " \t"})).has_value());
    EXPECT_FALSE(allCaptionsToCopy(withTranslations({})).has_value());

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
    EXPECT_EQ(captionTimeText(700000000, QLocale(QLocale::German)), QStringLiteral("01:56"));
    // Formats that carry seconds lose them.
    EXPECT_EQ(captionTimeText(700000000, QLocale::c()), QStringLiteral("01:56"));
    EXPECT_EQ(captionTimeText(700000000, QLocale(QLocale::Finnish)), QStringLiteral("1.56"));

    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (const double date : {kInf, -kInf, std::numeric_limits<double>::quiet_NaN(), 3e11, -7e10})
        EXPECT_TRUE(captionTimeText(date, QLocale::c()).isEmpty()) << date;
    EXPECT_EQ(captionTimeText(2e11, QLocale::c()), QStringLiteral("01:03")); // year 8338
}

TEST(CaptionsEstimate, WideCharactersCountTwiceAndMultibyteCharactersOnce)
{
    EXPECT_EQ(estimatedTextUnits(""), 0);
    EXPECT_EQ(estimatedTextUnits("Grüße"), 5);
    EXPECT_EQ(estimatedTextUnits("مرحبا"), 5);
    EXPECT_EQ(estimatedTextUnits("日本語"), 6);
    EXPECT_EQ(estimatedTextUnits("한국"), 4);
    EXPECT_EQ(estimatedTextUnits("\U0001F600\uFF21"), 4);
}

} // namespace

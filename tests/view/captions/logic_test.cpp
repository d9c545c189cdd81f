#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include <QLocale>

#include "captions/logic.hpp"

namespace {

using Card = LiveTranslationHelperCommittedCard;

LiveTranslationHelperSnapshot withTranslations(std::initializer_list<const char *> translations)
{
    LiveTranslationHelperSnapshot snapshot;
    int n = 0;
    for (const char *text : translations) {
        ++n;
        snapshot.committedCards.push_back({.id = "c" + std::to_string(n),
            .sourceText = "source " + std::to_string(n),
            .translatedText = text,
            .committedAt = 0});
    }
    return snapshot;
}

TEST(CaptionsRules, EmptyStateOnlyWithoutCardsAndWithoutActiveSource)
{
    LiveTranslationHelperSnapshot snapshot;
    EXPECT_TRUE(showsCaptionsEmptyState(snapshot));
    snapshot.isSessionActive = true;
    EXPECT_TRUE(showsCaptionsEmptyState(snapshot));
    snapshot.activeTranslatedText = "hola"; // a translation alone keeps the empty state
    EXPECT_TRUE(showsCaptionsEmptyState(snapshot));
    snapshot.activeSourceText = ""; // present, even empty
    EXPECT_FALSE(showsCaptionsEmptyState(snapshot));
    EXPECT_FALSE(showsCaptionsEmptyState(withTranslations({"a"})));
}

TEST(CaptionsRules, ActiveSectionDuringSessionOrWhileAnyActiveTextIsPresent)
{
    LiveTranslationHelperSnapshot snapshot;
    EXPECT_FALSE(showsActiveSection(snapshot));
    snapshot.isSessionActive = true;
    EXPECT_TRUE(showsActiveSection(snapshot));
    snapshot.isSessionActive = false;
    snapshot.activeTranslatedText = "";
    EXPECT_TRUE(showsActiveSection(snapshot));
    EXPECT_FALSE(hasActiveTranslation(snapshot)); // empty counts as absent for the card itself
    snapshot.activeTranslatedText.reset();
    snapshot.activeSourceText = "";
    EXPECT_TRUE(showsActiveSection(snapshot));
    EXPECT_FALSE(hasActiveSource(snapshot));
    snapshot.activeSourceText = "x";
    EXPECT_TRUE(hasActiveSource(snapshot));
}

TEST(CaptionsRules, CopyButtonsEnabledByCardsAndPresentActiveTranslation)
{
    LiveTranslationHelperSnapshot snapshot;
    EXPECT_FALSE(canCopyLatestCaption(snapshot));
    EXPECT_FALSE(canCopyAllCaptions(snapshot));
    snapshot.activeSourceText = "only a source";
    EXPECT_FALSE(canCopyLatestCaption(snapshot));
    snapshot.activeTranslatedText = "";
    EXPECT_TRUE(canCopyLatestCaption(snapshot)); // enabled, though it copies nothing
    EXPECT_FALSE(latestCaptionToCopy(snapshot).has_value());
    EXPECT_FALSE(canCopyAllCaptions(snapshot));
    const auto cards = withTranslations({"a"});
    EXPECT_TRUE(canCopyLatestCaption(cards));
    EXPECT_TRUE(canCopyAllCaptions(cards));
}

TEST(CaptionsCopy, AllJoinsTranslationsWithOneLineFeedAndTrimsTheWholeOnce)
{
    EXPECT_EQ(allCaptionsToCopy(withTranslations({"a", "", "b"})), QStringLiteral("a\n\nb"));
    EXPECT_EQ(allCaptionsToCopy(withTranslations({"  a ", " b  "})), QStringLiteral("a \n b"));
    EXPECT_EQ(allCaptionsToCopy(withTranslations({"", "a", ""})), QStringLiteral("a"));
    EXPECT_FALSE(allCaptionsToCopy(withTranslations({"   "})).has_value());
    EXPECT_FALSE(allCaptionsToCopy(withTranslations({"", "\n", " \t"})).has_value());
    EXPECT_FALSE(allCaptionsToCopy(withTranslations({})).has_value());

    auto snapshot = withTranslations({"one", "two"});
    snapshot.activeTranslatedText = "live";
    EXPECT_EQ(allCaptionsToCopy(snapshot), QStringLiteral("one\ntwo")); // no live text, no sources
}

TEST(CaptionsCopy, LatestTakesOnlyTheNewestTranslationTrimmedAndNeverASource)
{
    auto snapshot = withTranslations({"first", "  second\n"});
    snapshot.activeTranslatedText = "live";
    EXPECT_EQ(latestCaptionToCopy(snapshot), QStringLiteral("second"));

    // A blank newest card copies nothing, even with a live translation waiting.
    snapshot = withTranslations({"first", " \n "});
    snapshot.activeTranslatedText = "live";
    EXPECT_FALSE(latestCaptionToCopy(snapshot).has_value());

    LiveTranslationHelperSnapshot live;
    live.activeSourceText = "original";
    EXPECT_FALSE(latestCaptionToCopy(live).has_value());
    live.activeTranslatedText = "\u00a0translated\u2003"; // Unicode spaces trim as well
    EXPECT_EQ(latestCaptionToCopy(live), QStringLiteral("translated"));
}

TEST(CaptionsTime, LocalHourAndMinuteOfTheReferenceDate)
{
    // The test runs with TZ=IST-5:30, a zone half an hour off from whole hours.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(captionTimeText(0, english), QStringLiteral("5:30 AM"));
    // 700000000 is 2023-03-08 20:26:40 UTC; read as Unix time it would be 1992.
    EXPECT_EQ(captionTimeText(700000000, english), QStringLiteral("1:56 AM"));
    EXPECT_EQ(captionTimeText(700000000.999, english), QStringLiteral("1:56 AM"));
    EXPECT_EQ(captionTimeText(-978307200, english), QStringLiteral("5:30 AM")); // 1970
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(captionTimeText(700000000, german), QStringLiteral("01:56"));
    // Formats that carry seconds lose them; hour and minute are all a card shows.
    EXPECT_EQ(captionTimeText(700000000, QLocale::c()), QStringLiteral("01:56"));
    EXPECT_EQ(captionTimeText(700000000, QLocale(QLocale::Finnish, QLocale::Finland)),
        QStringLiteral("1.56"));
}

TEST(CaptionsTime, DatesNoClockShowsGiveNoText)
{
    const QLocale locale = QLocale::c();
    for (const double date :
        {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
            std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300, 3e11, -7e10})
        EXPECT_TRUE(captionTimeText(date, locale).isEmpty()) << date;
    EXPECT_FALSE(captionTimeText(2e11, locale).isEmpty()); // year 8339 still has a clock
}

TEST(CaptionsEstimate, WideCharactersCountTwiceAndMultibyteCharactersOnce)
{
    EXPECT_EQ(estimatedTextUnits(""), 0);
    EXPECT_EQ(estimatedTextUnits("hello"), 5);
    EXPECT_EQ(estimatedTextUnits("Grüße"), 5);
    EXPECT_EQ(estimatedTextUnits("مرحبا"), 5);
    EXPECT_EQ(estimatedTextUnits("日本語"), 6);
    EXPECT_EQ(estimatedTextUnits("한국"), 4);
}

} // namespace

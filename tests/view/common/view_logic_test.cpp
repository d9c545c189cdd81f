#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include <QStringList>

#include "common/view_logic.hpp"

namespace {

using Option = LiveTranslationHelperLanguageOption;

LiveTranslationHelperSnapshot pair(std::string source, std::string target)
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.sourceLanguage = std::move(source);
    snapshot.targetLanguage = std::move(target);
    return snapshot;
}

QStringList ids(const std::vector<Option> &options)
{
    QStringList result;
    for (const auto &option : options)
        result << QString::fromStdString(option.id);
    return result;
}

const std::vector<Option> kLanguages = {
    {"es", "Spanish"},
    {"de", "German"},
    {"pt-br", "Portuguese (Brazil)"},
    {"ja", "日本語 Japanese"},
    {"x", "Straße"},
};

TEST(PairLabel, HostDetectedSourceReadsAutoOnlyForTheExactIds)
{
    EXPECT_EQ(languagePairLabel(pair("multi", "en")), QStringLiteral("AUTO → EN"));
    EXPECT_EQ(languagePairLabel(pair("auto", "en")), QStringLiteral("AUTO → EN"));
    // Letter case makes another id: upper-cased like any other.
    EXPECT_EQ(languagePairLabel(pair("Multi", "en")), QStringLiteral("MULTI → EN"));
    EXPECT_EQ(languagePairLabel(pair("AUTO ", "en")), QStringLiteral("AUTO  → EN"));
    EXPECT_EQ(languagePairLabel(pair("de", "pt-br")), QStringLiteral("DE → PT-BR"));
}

TEST(PairLabel, TargetHasNoSpecialCasesAndBothSidesUseFullUpperCasing)
{
    EXPECT_EQ(languagePairLabel(pair("de", "auto")), QStringLiteral("DE → AUTO"));
    EXPECT_EQ(languagePairLabel(pair("de", "multi")), QStringLiteral("DE → MULTI"));
    // Full case mapping: one letter may become two.
    EXPECT_EQ(languagePairLabel(pair("straße", "ß")), QStringLiteral("STRASSE → SS"));
    EXPECT_EQ(languagePairLabel(pair("ﬁ", "ŉ")), QStringLiteral("FI → ʼN"));
    EXPECT_EQ(languagePairLabel(pair("ı", "é")), QStringLiteral("I → É"));
    // Empty ids still give both sides and the arrow.
    EXPECT_EQ(languagePairLabel(pair("", "")), QStringLiteral(" → "));
    EXPECT_EQ(languagePairLabel(pair("zh-hans", "")), QStringLiteral("ZH-HANS → "));
}

TEST(SwapRule, DisabledOnlyWhileTheHostDetectsTheSource)
{
    EXPECT_FALSE(canSwapLanguages(pair("multi", "en")));
    EXPECT_FALSE(canSwapLanguages(pair("auto", "en")));
    EXPECT_TRUE(canSwapLanguages(pair("Multi", "en")));
    EXPECT_TRUE(canSwapLanguages(pair("AUTO", "en")));
    EXPECT_TRUE(canSwapLanguages(pair("en", "auto")));
    EXPECT_TRUE(canSwapLanguages(pair("en", "en")));
    EXPECT_TRUE(canSwapLanguages(pair("", "")));
    auto active = pair("de", "en");
    active.isSessionActive = true;
    EXPECT_TRUE(canSwapLanguages(active));
}

TEST(LanguageFilter, BlankSearchKeepsEverythingInOrder)
{
    for (const QString &blank : {QString(), QStringLiteral("   "), QStringLiteral("\n\t \r\n"),
             QStringLiteral("\u00A0\u2003")})
        EXPECT_EQ(filteredLanguages(kLanguages, blank), kLanguages) << blank.toStdString();
    EXPECT_TRUE(filteredLanguages({}, QStringLiteral("x")).empty());
}

TEST(LanguageFilter, TrimmedWordMatchesDisplayNamesInAnyCase)
{
    for (const QString &search : {QStringLiteral("span"), QStringLiteral("SPAN"),
             QStringLiteral(" span"), QStringLiteral("\tsPaN \n"), QStringLiteral("anis")})
        EXPECT_EQ(ids(filteredLanguages(kLanguages, search)), QStringList {"es"})
            << search.toStdString();
    // Inner blanks are part of the text.
    EXPECT_EQ(
        ids(filteredLanguages(kLanguages, QStringLiteral("(brazil)"))), QStringList {"pt-br"});
    EXPECT_TRUE(filteredLanguages(kLanguages, QStringLiteral("span ish")).empty());
    EXPECT_EQ(ids(filteredLanguages(kLanguages, QStringLiteral("日本"))), QStringList {"ja"});
    // Full case mappings on both sides: ß matches SS and ss.
    EXPECT_EQ(ids(filteredLanguages(kLanguages, QStringLiteral("STRASSE"))), QStringList {"x"});
    EXPECT_EQ(ids(filteredLanguages(kLanguages, QStringLiteral("asse"))), QStringList {"x"});
    EXPECT_EQ(ids(filteredLanguages({{"i", "İnce"}, {"f", "ﬁnnish"}}, QStringLiteral("FI"))),
        QStringList {"f"});
    // Composed and decomposed spellings find each other.
    const std::vector<LiveTranslationHelperLanguageOption> forms
        = {{"fr", "Fran\u00E7ais"}, {"fr-d", "Franc\u0327ais"}, {"ko", "\uD55C\uAD6D\uC5B4"},
            {"ko-d", "\u1112\u1161\u11AB\u1100\u116E\u11A8\u110B\u1165"}};
    for (const QString &search : {QStringLiteral("FRAN\u00C7"), QStringLiteral("franc\u0327")})
        EXPECT_EQ(ids(filteredLanguages(forms, search)), (QStringList {"fr", "fr-d"}));
    for (const QString &search :
        {QStringLiteral("\uD55C\uAD6D"), QStringLiteral("\u1112\u1161\u11AB\u1100\u116E\u11A8")})
        EXPECT_EQ(ids(filteredLanguages(forms, search)), (QStringList {"ko", "ko-d"}));
}

TEST(LanguageFilter, NeverSearchesTheIdAndKeepsOrderAndDuplicates)
{
    EXPECT_TRUE(filteredLanguages(kLanguages, QStringLiteral("de")).empty());
    EXPECT_TRUE(filteredLanguages(kLanguages, QStringLiteral("pt-")).empty());
    const std::vector<Option> twice = {{"a", "Arabic"}, {"b", "Bengali"}, {"a", "Arabic"}};
    EXPECT_EQ(ids(filteredLanguages(twice, QStringLiteral("a"))), (QStringList {"a", "b", "a"}));
    EXPECT_EQ(ids(filteredLanguages(twice, QStringLiteral("ara"))), (QStringList {"a", "a"}));
}

LiveTranslationHelperSnapshot audio(std::vector<LiveTranslationHelperAudioOption> sources,
    std::string selected, std::string actual = "Captured thing")
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.audioSources = std::move(sources);
    snapshot.selectedAudioSourceID = std::move(selected);
    snapshot.actualAudioSourceDescription = std::move(actual);
    return snapshot;
}

TEST(AudioTitle, FirstExactMatchDecidesAndMacAudioAlwaysReadsAllMacAudio)
{
    EXPECT_EQ(audioSourceTitle(audio({{"mac-audio", "System sound"}}, "mac-audio")),
        QStringLiteral("All Mac audio"));
    EXPECT_EQ(audioSourceTitle(audio({{"mac-audio", ""}, {"bundle:a", "Alpha"}}, "bundle:a")),
        QStringLiteral("Alpha"));
    EXPECT_EQ(
        audioSourceTitle(audio({{"x", "First"}, {"x", "Second"}}, "x")), QStringLiteral("First"));
    // An empty display name is shown as it is, not replaced.
    EXPECT_EQ(audioSourceTitle(audio({{"x", ""}}, "x")), QString());
}

TEST(AudioTitle, NoMatchShowsWhatIsCaptured)
{
    EXPECT_EQ(audioSourceTitle(audio({}, "mac-audio")), QStringLiteral("Captured thing"));
    EXPECT_EQ(audioSourceTitle(audio({{"mac-audio", "A"}}, "Mac-Audio")),
        QStringLiteral("Captured thing"));
    EXPECT_EQ(audioSourceTitle(audio({{"bundle:a", "A"}}, "")), QStringLiteral("Captured thing"));
    EXPECT_EQ(audioSourceTitle(audio({}, "", "")), QString());
}

TEST(CapturePercent, TruncatesTheSinglePrecisionProductTowardZero)
{
    EXPECT_EQ(capturePercent(0.0F), 0);
    EXPECT_EQ(capturePercent(-0.0F), 0);
    EXPECT_EQ(capturePercent(0.537F), 53);
    EXPECT_EQ(capturePercent(0.999F), 99);
    EXPECT_EQ(capturePercent(1.0F), 100);
    EXPECT_EQ(capturePercent(1.5F), 150);
    EXPECT_EQ(capturePercent(0.009F), 0);
    EXPECT_EQ(capturePercent(-0.009F), 0);
    EXPECT_EQ(capturePercent(-0.537F), -53);
    EXPECT_EQ(capturePercent(std::numeric_limits<float>::denorm_min()), 0);
}

TEST(CapturePercent, LevelsWithoutAPercentageGiveADefinedValue)
{
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(capturePercent(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(capturePercent(-std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(capturePercent(std::numeric_limits<float>::infinity()), kMax);
    EXPECT_EQ(capturePercent(-std::numeric_limits<float>::infinity()), kMin);
    EXPECT_EQ(capturePercent(1e30F), kMax);
    EXPECT_EQ(capturePercent(-1e30F), kMin);
    EXPECT_EQ(capturePercent(std::numeric_limits<float>::max()), kMax);
    // Right at the edges of the 64-bit range.
    EXPECT_EQ(capturePercent(std::ldexp(1.0F, 63) / 100.0F), kMax);
    const float below = std::nextafter(std::ldexp(1.0F, 63), 0.0F);
    EXPECT_EQ(capturePercent(below / 100.0F) > 0, true);
    EXPECT_EQ(capturePercent(-std::ldexp(1.0F, 63) / 100.0F), kMin);
}

} // namespace

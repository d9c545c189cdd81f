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

QStringList ids(const std::vector<Option> &options, const QString &search)
{
    QStringList result;
    for (const auto &option : filteredLanguages(options, search))
        result << QString::fromStdString(option.id);
    return result;
}

TEST(LanguagePair, OnlyTheExactDetectingSourceIdsReadAutoAndDisableTheSwap)
{
    const struct {
        const char *source, *target;
        QString label;
        bool canSwap;
    } cases[] = {
        {"multi", "en", QStringLiteral("AUTO → EN"), false},
        {"auto", "en", QStringLiteral("AUTO → EN"), false},
        {"Multi", "en", QStringLiteral("MULTI → EN"), true}, // letter case makes another id
        {"de", "pt-br", QStringLiteral("DE → PT-BR"), true},
        {"de", "auto", QStringLiteral("DE → AUTO"), true}, // the target has no special case
        {"straße", "ß", QStringLiteral("STRASSE → SS"), true}, // full case mapping
        {"", "", QStringLiteral(" → "), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(languagePairLabel(pair(c.source, c.target)), c.label);
        EXPECT_EQ(canSwapLanguages(pair(c.source, c.target)), c.canSwap);
    }
}

TEST(LanguageFilter, TrimmedTextMatchesDisplayNamesInAnyCaseAndForm)
{
    const std::vector<Option> languages
        = {{"es", "Spanish"}, {"de", "German"}, {"pt-br", "Portuguese (Brazil)"}, {"x", "Straße"}};
    for (const QString &blank : {QString(), QStringLiteral("\n\t \r\n"), QStringLiteral("\u2003")})
        EXPECT_EQ(filteredLanguages(languages, blank), languages);
    for (const QString &search : {QStringLiteral("SPAN"), QStringLiteral("\tsPaN \n")})
        EXPECT_EQ(ids(languages, search), QStringList {"es"}) << search.toStdString();
    EXPECT_TRUE(ids(languages, QStringLiteral("span ish")).empty()); // inner blanks count
    EXPECT_EQ(ids(languages, QStringLiteral("STRASSE")), QStringList {"x"});
    EXPECT_TRUE(ids(languages, QStringLiteral("pt-")).empty()); // ids are never searched
    // Composed and decomposed spellings find each other.
    const std::vector<Option> forms = {{"fr", "Fran\u00E7ais"}, {"fr-d", "Franc\u0327ais"}};
    for (const QString &search : {QStringLiteral("FRAN\u00C7"), QStringLiteral("franc\u0327")})
        EXPECT_EQ(ids(forms, search), (QStringList {"fr", "fr-d"}));
    const std::vector<Option> twice = {{"a", "Arabic"}, {"b", "Bengali"}, {"a", "Arabic"}};
    EXPECT_EQ(ids(twice, QStringLiteral("a")), (QStringList {"a", "b", "a"}));
}

TEST(AudioTitle, FirstExactMatchElseWhatIsCaptured)
{
    const auto title = [](std::vector<LiveTranslationHelperAudioOption> sources,
                           std::string selected, std::string actual = "Captured thing") {
        LiveTranslationHelperSnapshot snapshot;
        snapshot.audioSources = std::move(sources);
        snapshot.selectedAudioSourceID = std::move(selected);
        snapshot.actualAudioSourceDescription = std::move(actual);
        return audioSourceTitle(snapshot);
    };
    EXPECT_EQ(title({{"mac-audio", "System sound"}}, "mac-audio"), QStringLiteral("All Mac audio"));
    EXPECT_EQ(
        title({{"mac-audio", ""}, {"bundle:a", "Alpha"}}, "bundle:a"), QStringLiteral("Alpha"));
    EXPECT_EQ(title({{"x", "First"}, {"x", "Second"}}, "x"), QStringLiteral("First"));
    EXPECT_EQ(title({{"x", ""}}, "x"), QString()); // an empty name is not replaced
    EXPECT_EQ(title({{"mac-audio", "A"}}, "Mac-Audio"), QStringLiteral("Captured thing"));
    EXPECT_EQ(title({}, "", ""), QString());
}

TEST(CapturePercent, TruncatesTowardZeroAndSaturatesBeyondTheRange)
{
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    // Around zero and at the ends of the range; the capture status shows the plain values.
    const std::pair<float, std::int64_t> cases[] = {{-0.0F, 0}, {-0.009F, 0}, {-0.537F, -53},
        {0.999F, 99}, {kInf, kMax}, {-kInf, kMin}, {1e30F, kMax}, {-1e30F, kMin},
        {std::ldexp(1.0F, 63) / 100.0F, kMax}, {-std::ldexp(1.0F, 63) / 100.0F, kMin}};
    for (const auto &[level, percent] : cases)
        EXPECT_EQ(capturePercent(level), percent) << level;
    EXPECT_GT(capturePercent(std::nextafter(std::ldexp(1.0F, 63), 0.0F) / 100.0F), 0);
}

} // namespace

#include "view_logic.hpp"

#include <cmath>
#include <limits>

namespace {
bool hostDetectsLanguage(const std::string &sourceId)
{
    return sourceId == "multi" || sourceId == "auto";
}

// Qt's case-insensitive comparison folds one character to one character, so "STRASSE" would not
// find "Straße"; upper-casing first applies the full mappings (ß to SS, ﬁ to FI) on both sides.
// Both sides then take one normal form, so that a composed "ç" or Hangul syllable finds its
// decomposed spelling and the other way round.
QString fullyFolded(const QString &text)
{
    return text.toUpper().toCaseFolded().normalized(QString::NormalizationForm_C);
}
} // namespace

QString languagePairLabel(const LiveTranslationHelperSnapshot &snapshot)
{
    const QString source = hostDetectsLanguage(snapshot.sourceLanguage)
        ? QStringLiteral("AUTO")
        : fromWire(snapshot.sourceLanguage).toUpper();
    return source + QStringLiteral(" \u2192 ") + fromWire(snapshot.targetLanguage).toUpper();
}

bool canSwapLanguages(const LiveTranslationHelperSnapshot &snapshot)
{
    return !hostDetectsLanguage(snapshot.sourceLanguage);
}

std::vector<LiveTranslationHelperLanguageOption> filteredLanguages(
    const std::vector<LiveTranslationHelperLanguageOption> &options, const QString &search)
{
    const QString needle = search.trimmed();
    if (needle.isEmpty())
        return options;
    const QString foldedNeedle = fullyFolded(needle);
    std::vector<LiveTranslationHelperLanguageOption> result;
    for (const auto &option : options) {
        const QString name = fromWire(option.displayName);
        if (fullyFolded(name).contains(foldedNeedle))
            result.push_back(option);
    }
    return result;
}

QString audioOptionName(const LiveTranslationHelperAudioOption &option)
{
    return option.id == kEverythingAudioSourceId ? QStringLiteral("All Mac audio")
                                                 : fromWire(option.displayName);
}

QString audioSourceTitle(const LiveTranslationHelperSnapshot &snapshot)
{
    for (const auto &option : snapshot.audioSources) {
        if (option.id == snapshot.selectedAudioSourceID)
            return audioOptionName(option);
    }
    return fromWire(snapshot.actualAudioSourceDescription);
}

std::int64_t capturePercent(float level)
{
    const float percent = level * 100.0F;
    if (std::isnan(percent))
        return 0;
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    // 2^63 is exactly representable as a float; anything at or above it saturates.
    if (percent >= 9223372036854775808.0F)
        return kMax;
    if (percent < -9223372036854775808.0F)
        return kMin;
    return static_cast<std::int64_t>(percent);
}

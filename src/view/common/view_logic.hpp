#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>

#include "wire_types.hpp"

// Texts and rules the panel derives from a snapshot; pure functions, no widgets.

// "AUTO → EN": the source id ("multi" and "auto" read AUTO) and the target id, upper-cased.
QString languagePairLabel(const LiveTranslationHelperSnapshot &snapshot);

// The swap button is disabled while the host detects the source language.
bool canSwapLanguages(const LiveTranslationHelperSnapshot &snapshot);

// The options whose display name contains the trimmed search text, case-insensitively, in order.
std::vector<LiveTranslationHelperLanguageOption> filteredLanguages(
    const std::vector<LiveTranslationHelperLanguageOption> &options, const QString &search);

// The id of the audio source that captures everything the computer plays.
inline constexpr const char *kEverythingAudioSourceId = "mac-audio";

// How an audio option is named: "All Mac audio" for everything, else its display name.
QString audioOptionName(const LiveTranslationHelperAudioOption &option);

// The audio button's title: "All Mac audio", the chosen option's name, or what is captured.
QString audioSourceTitle(const LiveTranslationHelperSnapshot &snapshot);

// The level as whole percent, truncated toward zero; defined for every float (NaN gives 0,
// values beyond the 64-bit range saturate).
std::int64_t capturePercent(float level);

inline QString fromWire(const std::string &text)
{
    return QString::fromStdString(text);
}

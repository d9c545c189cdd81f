#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <QStringList>

#include "wire_types.hpp"

// What the demo host offers the user: the languages it pretends to understand and the audio
// sources it pretends to capture.

// Id of the source language that means "detect the spoken language".
inline constexpr const char *kDetectLanguageId = "multi";
// Id of the audio source that captures everything the computer plays.
inline constexpr const char *kAllAudioSourceId = "mac-audio";
// Prefix of audio source ids that name one application.
inline constexpr const char *kApplicationSourcePrefix = "bundle:";

// "multi" and "auto": the host detects the spoken language.
bool isDetectedLanguage(const std::string &id);

// The option with this id, or nothing.
template <class Option>
const Option *findOption(const std::vector<Option> &options, const std::string &id)
{
    const auto it = std::find_if(
        options.begin(), options.end(), [&](const Option &option) { return option.id == id; });
    return it == options.end() ? nullptr : &*it;
}

// Source languages: "multi" first, then every language by its English name.
std::vector<LiveTranslationHelperLanguageOption> demoSourceLanguages();
// Target languages: every language by its English name.
std::vector<LiveTranslationHelperLanguageOption> demoTargetLanguages();
// English name of a language id, or the id itself when it is unknown.
std::string languageName(const std::string &id);

// One application found among the installed desktop entries.
struct DesktopApplication {
    std::string desktopId; // "org.gnome.Nautilus" (the file's id without ".desktop")
    std::string name;
    int rank = 0; // lower ranks are likelier to play sound

    bool operator==(const DesktopApplication &) const = default;
};

// Reads the [Desktop Entry] group of one desktop file. Entries that are hidden, not shown, not
// applications or without an icon give nothing.
std::optional<DesktopApplication> readDesktopEntry(const QString &path, const QString &desktopId);

// Applications of the desktop entries in the given data directories (earlier ones win for the
// same id), the likeliest to play sound first, at most `limit`.
std::vector<DesktopApplication> findDesktopApplications(
    const QStringList &dataDirs, std::size_t limit);

// XDG_DATA_HOME followed by XDG_DATA_DIRS, with the standard defaults.
QStringList xdgDataDirs();

// "mac-audio" first, then the given applications as "bundle:<desktop id>", or, when there are
// none, a few applications that are not installed.
std::vector<LiveTranslationHelperAudioOption> demoAudioSources(
    const std::vector<DesktopApplication> &applications);

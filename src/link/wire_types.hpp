#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The values exchanged with the host, one JSON object per line. All are plain values that compare
// field by field. Texts are UTF-8. Dates are seconds since 2001-01-01 00:00:00 UTC.

enum class LiveTranslationHelperLifecycle {
    inactive,
    preparing,
    connecting,
    listening,
    reconnecting,
    stopping,
};

struct LiveTranslationHelperLanguageOption {
    std::string id;
    std::string displayName;

    bool operator==(const LiveTranslationHelperLanguageOption &) const = default;
};

struct LiveTranslationHelperAudioOption {
    std::string id;
    std::string displayName;

    bool operator==(const LiveTranslationHelperAudioOption &) const = default;
};

struct LiveTranslationHelperCommittedCard {
    std::string id;
    std::string sourceText;
    std::string translatedText;
    double committedAt = 0; // seconds since 2001-01-01 00:00:00 UTC

    bool operator==(const LiveTranslationHelperCommittedCard &) const = default;
};

// Seconds between the Unix epoch and the wire's reference date, 2001-01-01 00:00:00 UTC.
inline constexpr double kReferenceDateUnixSeconds = 978307200.0;

struct LiveTranslationHelperSnapshot {
    std::uint64_t generation = 0;
    LiveTranslationHelperLifecycle lifecycle = LiveTranslationHelperLifecycle::inactive;
    std::string statusMessage = "Connecting to Tavu";
    bool hasFailure = false;
    bool canRequestMoreTime = false;
    bool isSessionActive = false;
    bool isStartEnabled = false;
    std::string sourceLanguage = "multi";
    std::string targetLanguage = "en";
    std::string selectedAudioSourceID = "mac-audio";
    std::vector<LiveTranslationHelperLanguageOption> sourceLanguages;
    std::vector<LiveTranslationHelperLanguageOption> targetLanguages;
    std::vector<LiveTranslationHelperAudioOption> audioSources;
    std::string actualAudioSourceDescription = "Mac Audio";
    std::optional<std::string> captureFallbackNotice;
    std::int64_t droppedCaptureBuffers = 0;
    float captureAudioLevel = 0.0F;
    std::string appearanceMode = "system";
    bool showsSourceText = true;
    std::vector<LiveTranslationHelperCommittedCard> committedCards;
    std::optional<std::string> activeSourceText;
    std::optional<std::string> activeTranslatedText;

    // The snapshot held before the host has sent one.
    static const LiveTranslationHelperSnapshot &initial();

    bool operator==(const LiveTranslationHelperSnapshot &) const = default;
};

struct LiveTranslationHelperHostMessage {
    enum class Kind { snapshot, show, hide, toggle, terminate };

    Kind kind = Kind::show;
    // Present exactly when kind is Kind::snapshot.
    std::optional<LiveTranslationHelperSnapshot> snapshot;

    static LiveTranslationHelperHostMessage makeSnapshot(LiveTranslationHelperSnapshot value);
    static LiveTranslationHelperHostMessage make(Kind kind); // any kind but snapshot

    bool operator==(const LiveTranslationHelperHostMessage &) const = default;
};

struct LiveTranslationHelperCommand {
    enum class Kind {
        start,
        stop,
        cancel,
        hide,
        swapLanguages,
        requestMoreTime,
        setSourceLanguage,
        setTargetLanguage,
        setAudioSource,
        setShowsSourceText,
    };

    Kind kind = Kind::start;
    std::string stringValue; // only for the three kinds that carry a string
    bool boolValue = false; // only for setShowsSourceText

    static LiveTranslationHelperCommand setSourceLanguage(std::string id);
    static LiveTranslationHelperCommand setTargetLanguage(std::string id);
    static LiveTranslationHelperCommand setAudioSource(std::string id);
    static LiveTranslationHelperCommand setShowsSourceText(bool value);
    static LiveTranslationHelperCommand start();
    static LiveTranslationHelperCommand stop();
    static LiveTranslationHelperCommand cancel();
    static LiveTranslationHelperCommand swapLanguages();
    static LiveTranslationHelperCommand requestMoreTime();
    static LiveTranslationHelperCommand hide();

    bool carriesString() const;
    bool carriesBool() const { return kind == Kind::setShowsSourceText; }

    bool operator==(const LiveTranslationHelperCommand &) const = default;
};

// Wire names ("swap_languages", "listening", "snapshot", ...).
const char *wireName(LiveTranslationHelperLifecycle value);
const char *wireName(LiveTranslationHelperHostMessage::Kind value);
const char *wireName(LiveTranslationHelperCommand::Kind value);

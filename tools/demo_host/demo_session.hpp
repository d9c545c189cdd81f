#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "caption_stream.hpp"
#include "wire_types.hpp"

// What goes wrong in the demo's session, chosen on the command line.
enum class DemoScenario {
    normal, // everything works
    limit, // the account runs out of time after a few phrases
    reconnect, // the connection drops now and then and comes back
    fallback, // capture falls back to another source and drops buffers
};

std::optional<DemoScenario> scenarioFromName(const std::string &name);
const char *scenarioName(DemoScenario scenario);

struct DemoSessionSettings {
    DemoScenario scenario = DemoScenario::normal;
    std::string sourceLanguage = "es";
    std::string targetLanguage = "en";
    std::size_t maxCards = 200; // the oldest cards go beyond this many
    std::size_t backlogCards = 0; // cards of an earlier conversation, there from the start
    double speed = 1.0; // how fast people talk, 1 is natural
    std::uint32_t seed = 1;
    std::string appearanceMode = "system";
    std::vector<LiveTranslationHelperAudioOption> audioSources;
};

// The host's side of the panel: the state it shows and how it answers each command. Time comes
// in from outside (seconds on a steady clock) so that the session runs the same in tests.
class DemoHostSession final {
public:
    using WallClock = std::function<double()>; // seconds since 2001-01-01 00:00:00 UTC

    DemoHostSession(DemoSessionSettings settings, double now, WallClock wallClock = {});
    DemoHostSession(const DemoHostSession &) = delete;
    DemoHostSession &operator=(const DemoHostSession &) = delete;

    // Moves the session on to `now`; marks the state changed when it did.
    void advance(double now);
    // Answers one command as a host would. Returns what the host did, for the console.
    std::string handleCommand(const LiveTranslationHelperCommand &command, double now);

    bool hasChanges() const { return m_changed; }
    // The state as the next snapshot, under a new, higher generation.
    LiveTranslationHelperSnapshot takeSnapshot();
    const LiveTranslationHelperSnapshot &state() const { return m_state; }
    std::uint64_t generation() const { return m_generation; }

    // Drops the oldest committed cards, for a host that must keep its lines short.
    void dropOldestCards(std::size_t count);

private:
    enum class Phase {
        startingUp, // the host is still connecting to its service
        ready,
        preparing,
        connecting,
        listening,
        reconnecting,
        stopping,
        switching, // stopping to start again with other languages
        limitReached,
        requestingTime,
    };

    void enter(Phase phase, double at);
    void finishPhase(double at);
    void listen(double from, double to);
    void commit(std::string source, std::string translation);
    void refreshActiveCaption();
    void beginSession(double at);
    void endSession(double at, bool keepPartial);
    void restartForLanguages(double at);
    std::string applyLanguage(bool source, const std::string &id, double now);
    std::string pairText() const;
    std::string listeningStatus() const;
    void set(std::string &field, std::string value);
    void addBacklog(std::size_t count);

    DemoSessionSettings m_settings;
    WallClock m_wallClock;
    LiveTranslationHelperSnapshot m_state;
    std::uint64_t m_generation = 0;
    bool m_changed = true;
    Phase m_phase = Phase::startingUp;
    double m_phaseEnds = 0;
    double m_now;
    int m_reconnectAttempt = 0;
    std::size_t m_sessionPhrases = 0; // committed since the session started
    bool m_timeExhausted = false; // the account has no time left until more is requested
    bool m_dropDone = false; // the connection already dropped after these phrases
    std::uint64_t m_nextCardNumber = 1;
    double m_nextDropAt = 0; // stream time of the next dropped-buffer burst
    double m_streamTime = 0;
    double m_statusRevertsAt = -1; // when a passing status gives way to the listening one
    CaptionStream m_stream;
    std::mt19937 m_random;
};

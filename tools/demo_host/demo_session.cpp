#include "demo_session.hpp"

#include <algorithm>
#include <chrono>
#include <limits>

#include "demo_catalog.hpp"
#include "demo_phrases.hpp"

namespace {

// Seconds.
constexpr double kStartupDuration = 0.8;
constexpr double kPreparingDuration = 0.6;
constexpr double kConnectingDuration = 0.9;
constexpr double kStoppingDuration = 0.7;
constexpr double kSwitchingDuration = 0.5;
constexpr double kReconnectAttemptDuration = 1.5;
constexpr double kRequestDuration = 1.5;
constexpr double kPassingStatusDuration = 4.0;
constexpr double kDropBurstMin = 3.0; // stream seconds between bursts of dropped buffers
constexpr double kDropBurstMax = 8.0;
constexpr double kBacklogSpacing = 4.0; // seconds between the backlog's cards
constexpr double kNever = std::numeric_limits<double>::infinity();

constexpr int kReconnectAttempts = 3; // the last one succeeds
constexpr std::size_t kPhrasesBeforeLimit = 4;
constexpr std::size_t kPhrasesBetweenDrops = 3;

double systemWallClock()
{
    using namespace std::chrono;
    const auto unix = duration<double>(system_clock::now().time_since_epoch()).count();
    return unix - kReferenceDateUnixSeconds;
}

} // namespace

std::optional<DemoScenario> scenarioFromName(const std::string &name)
{
    for (DemoScenario scenario : {DemoScenario::normal, DemoScenario::limit,
             DemoScenario::reconnect, DemoScenario::fallback}) {
        if (name == scenarioName(scenario))
            return scenario;
    }
    return std::nullopt;
}

const char *scenarioName(DemoScenario scenario)
{
    switch (scenario) {
    case DemoScenario::normal: return "normal";
    case DemoScenario::limit: return "limit";
    case DemoScenario::reconnect: return "reconnect";
    case DemoScenario::fallback: return "fallback";
    }
    return "normal";
}

DemoHostSession::DemoHostSession(DemoSessionSettings settings, double now, WallClock wallClock)
    : m_settings(std::move(settings))
    , m_wallClock(wallClock ? std::move(wallClock) : WallClock(systemWallClock))
    , m_now(now)
    , m_stream(m_settings.seed, m_settings.speed)
    , m_random(m_settings.seed + 1)
{
    m_state.sourceLanguage = m_settings.sourceLanguage;
    m_state.targetLanguage = m_settings.targetLanguage;
    m_state.sourceLanguages = demoSourceLanguages();
    m_state.targetLanguages = demoTargetLanguages();
    m_state.audioSources = m_settings.audioSources;
    m_state.appearanceMode = m_settings.appearanceMode;
    m_state.selectedAudioSourceID = kAllAudioSourceId;
    m_state.actualAudioSourceDescription = "All system audio";
    addBacklog(m_settings.backlogCards);
    m_stream.startAt(m_settings.backlogCards);
    enter(Phase::startingUp, now);
}

void DemoHostSession::addBacklog(std::size_t count)
{
    const double now = m_wallClock();
    const auto &languages = phraseLanguages();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string spoken = isDetectedLanguage(m_state.sourceLanguage)
            ? languages[1 + i % (languages.size() - 1)]
            : m_state.sourceLanguage;
        m_state.committedCards.push_back(
            {"card-" + std::to_string(m_nextCardNumber++), phraseText(i, spoken),
                phraseText(i, m_state.targetLanguage), now - double(count - i) * kBacklogSpacing});
    }
    if (m_state.committedCards.size() > m_settings.maxCards)
        dropOldestCards(m_state.committedCards.size() - m_settings.maxCards);
}

void DemoHostSession::set(std::string &field, std::string value)
{
    if (field != value) {
        field = std::move(value);
        m_changed = true;
    }
}

std::string DemoHostSession::pairText() const
{
    const std::string source = isDetectedLanguage(m_state.sourceLanguage)
        ? std::string("Detected language")
        : languageName(m_state.sourceLanguage);
    return source + " → " + languageName(m_state.targetLanguage);
}

std::string DemoHostSession::listeningStatus() const
{
    // The pair button shows the languages; the status stays short enough to read at a glance.
    return m_stream.usesStandInText() ? "Listening · demo text in English" : "Listening";
}

void DemoHostSession::enter(Phase phase, double at)
{
    m_phase = phase;
    m_phaseEnds = kNever;
    m_changed = true;
    auto &s = m_state;
    const bool active = phase == Phase::preparing || phase == Phase::connecting
        || phase == Phase::listening || phase == Phase::reconnecting || phase == Phase::stopping
        || phase == Phase::switching;
    s.isSessionActive = active;
    s.isStartEnabled = phase == Phase::ready || phase == Phase::limitReached;
    s.canRequestMoreTime = phase == Phase::limitReached || phase == Phase::requestingTime;
    s.hasFailure = phase == Phase::reconnecting;
    switch (phase) {
    case Phase::startingUp:
        s.lifecycle = LiveTranslationHelperLifecycle::inactive;
        s.statusMessage = "Connecting to Tavu";
        m_phaseEnds = at + kStartupDuration;
        break;
    case Phase::ready:
        s.lifecycle = LiveTranslationHelperLifecycle::inactive;
        s.statusMessage = "Ready";
        break;
    case Phase::preparing:
        s.lifecycle = LiveTranslationHelperLifecycle::preparing;
        s.statusMessage = "Preparing audio…";
        m_phaseEnds = at + kPreparingDuration;
        break;
    case Phase::connecting:
        s.lifecycle = LiveTranslationHelperLifecycle::connecting;
        s.statusMessage = "Connecting to Tavu…";
        m_phaseEnds = at + kConnectingDuration;
        break;
    case Phase::listening:
        s.lifecycle = LiveTranslationHelperLifecycle::listening;
        s.statusMessage = listeningStatus();
        break;
    case Phase::reconnecting:
        s.lifecycle = LiveTranslationHelperLifecycle::reconnecting;
        s.statusMessage = "Connection lost · retry " + std::to_string(m_reconnectAttempt) + " of "
            + std::to_string(kReconnectAttempts);
        m_phaseEnds = at + kReconnectAttemptDuration;
        break;
    case Phase::stopping:
        s.lifecycle = LiveTranslationHelperLifecycle::stopping;
        s.statusMessage = "Stopping…";
        m_phaseEnds = at + kStoppingDuration;
        break;
    case Phase::switching:
        s.lifecycle = LiveTranslationHelperLifecycle::stopping;
        s.statusMessage = "Switching languages…";
        m_phaseEnds = at + kSwitchingDuration;
        break;
    case Phase::limitReached:
        s.lifecycle = LiveTranslationHelperLifecycle::inactive;
        s.statusMessage = "Time limit reached";
        break;
    case Phase::requestingTime:
        s.lifecycle = LiveTranslationHelperLifecycle::inactive;
        s.statusMessage = "Requesting more time…";
        m_phaseEnds = at + kRequestDuration;
        break;
    }
    if (!active || phase == Phase::preparing)
        s.captureAudioLevel = 0;
    m_statusRevertsAt = -1;
}

void DemoHostSession::finishPhase(double at)
{
    switch (m_phase) {
    case Phase::startingUp: enter(Phase::ready, at); break;
    case Phase::preparing:
        if (m_settings.scenario == DemoScenario::fallback) {
            const auto *chosen = findOption(m_state.audioSources, m_state.selectedAudioSourceID);
            const bool wholeSystem = m_state.selectedAudioSourceID == kAllAudioSourceId;
            m_state.captureFallbackNotice = wholeSystem || !chosen
                ? "System audio capture is unavailable; capturing the default output instead."
                : "Couldn't capture " + chosen->displayName
                    + "; capturing all system audio instead.";
            m_state.actualAudioSourceDescription = "Default output (fallback)";
            std::uniform_real_distribution<double> gap(kDropBurstMin, kDropBurstMax);
            m_nextDropAt = m_streamTime + gap(m_random);
        }
        enter(Phase::connecting, at);
        break;
    case Phase::connecting:
        if (m_timeExhausted) {
            endSession(at, false);
            enter(Phase::limitReached, at);
            m_state.statusMessage = "No time left";
        } else {
            enter(Phase::listening, at);
        }
        break;
    case Phase::reconnecting:
        if (m_reconnectAttempt < kReconnectAttempts) {
            ++m_reconnectAttempt;
            enter(Phase::reconnecting, at);
        } else {
            enter(Phase::listening, at);
            m_state.statusMessage = "Reconnected";
            m_statusRevertsAt = at + kPassingStatusDuration;
        }
        break;
    case Phase::stopping:
        endSession(at, true);
        enter(m_timeExhausted ? Phase::limitReached : Phase::ready, at);
        break;
    case Phase::switching: enter(Phase::preparing, at); break;
    case Phase::requestingTime:
        m_timeExhausted = false;
        enter(Phase::ready, at);
        m_state.statusMessage = "More time added";
        break;
    case Phase::ready:
    case Phase::listening:
    case Phase::limitReached: break;
    }
}

void DemoHostSession::advance(double now)
{
    while (true) {
        const double until = std::min(now, m_phaseEnds);
        if (until > m_now) {
            if (m_phase == Phase::listening || m_phase == Phase::reconnecting)
                listen(m_now, until);
            m_now = until;
        }
        if (m_phaseEnds > now)
            break;
        finishPhase(m_phaseEnds);
    }
    if (m_statusRevertsAt >= 0 && now >= m_statusRevertsAt && m_phase == Phase::listening) {
        m_statusRevertsAt = -1;
        set(m_state.statusMessage, listeningStatus());
    }
    const bool capturing = m_phase == Phase::connecting || m_phase == Phase::listening
        || m_phase == Phase::reconnecting || m_phase == Phase::stopping;
    if (capturing) {
        const bool speaking = m_phase != Phase::connecting && m_stream.isSpeaking();
        const float level = speechLevel(now, speaking, m_random);
        if (level != m_state.captureAudioLevel) {
            m_state.captureAudioLevel = level;
            m_changed = true;
        }
    }
}

void DemoHostSession::listen(double from, double to)
{
    // While reconnecting people go on talking, but nothing new is recognised.
    if (m_phase == Phase::reconnecting)
        return;
    m_streamTime += to - from;
    for (auto &finished : m_stream.advance(to - from))
        commit(std::move(finished.sourceText), std::move(finished.translatedText));
    refreshActiveCaption();
    if (m_settings.scenario == DemoScenario::fallback && m_streamTime >= m_nextDropAt) {
        std::uniform_int_distribution<int> burst(1, 4);
        std::uniform_real_distribution<double> gap(kDropBurstMin, kDropBurstMax);
        m_state.droppedCaptureBuffers += burst(m_random);
        m_nextDropAt = m_streamTime + gap(m_random);
        m_changed = true;
    }
    if (m_settings.scenario == DemoScenario::limit && m_sessionPhrases >= kPhrasesBeforeLimit) {
        m_timeExhausted = true;
        enter(Phase::stopping, to);
        m_state.statusMessage = "Time limit reached";
    } else if (m_settings.scenario == DemoScenario::reconnect && m_sessionPhrases > 0
        && m_sessionPhrases % kPhrasesBetweenDrops == 0 && !m_dropDone) {
        m_dropDone = true;
        m_reconnectAttempt = 1;
        enter(Phase::reconnecting, to);
    }
}

void DemoHostSession::commit(std::string source, std::string translation)
{
    m_state.committedCards.push_back({"card-" + std::to_string(m_nextCardNumber++),
        std::move(source), std::move(translation), m_wallClock()});
    if (m_state.committedCards.size() > m_settings.maxCards)
        dropOldestCards(m_state.committedCards.size() - m_settings.maxCards);
    ++m_sessionPhrases;
    m_dropDone = false;
    m_changed = true;
}

void DemoHostSession::refreshActiveCaption()
{
    auto source = m_stream.activeSource();
    auto translation = m_stream.activeTranslation();
    if (source != m_state.activeSourceText || translation != m_state.activeTranslatedText) {
        m_state.activeSourceText = std::move(source);
        m_state.activeTranslatedText = std::move(translation);
        m_changed = true;
    }
}

void DemoHostSession::dropOldestCards(std::size_t count)
{
    auto &cards = m_state.committedCards;
    count = std::min(count, cards.size());
    cards.erase(cards.begin(), cards.begin() + std::ptrdiff_t(count));
    m_changed = m_changed || count > 0;
}

void DemoHostSession::beginSession(double at)
{
    m_sessionPhrases = 0;
    m_dropDone = false;
    m_state.droppedCaptureBuffers = 0;
    m_state.captureFallbackNotice.reset();
    m_stream.setLanguages(m_state.sourceLanguage, m_state.targetLanguage);
    enter(Phase::preparing, at);
}

void DemoHostSession::endSession(double, bool keepPartial)
{
    if (auto partial = m_stream.partial();
        keepPartial && partial && !partial->translatedText.empty())
        commit(std::move(partial->sourceText), std::move(partial->translatedText));
    m_stream.dropActive();
    m_state.activeSourceText.reset();
    m_state.activeTranslatedText.reset();
    m_state.captureAudioLevel = 0;
    m_changed = true;
}

LiveTranslationHelperSnapshot DemoHostSession::takeSnapshot()
{
    m_state.generation = ++m_generation;
    m_changed = false;
    return m_state;
}

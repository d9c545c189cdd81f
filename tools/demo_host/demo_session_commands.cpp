#include <algorithm>

#include "demo_catalog.hpp"
#include "demo_session.hpp"

// How the demo's host answers each command of the panel.

void DemoHostSession::restartForLanguages(double at)
{
    switch (m_phase) {
    case Phase::preparing:
    case Phase::connecting:
    case Phase::listening:
    case Phase::reconnecting:
        endSession(at, false);
        enter(Phase::switching, at);
        break;
    default: break; // switching starts again with the newest pair in any case
    }
    m_stream.setLanguages(m_state.sourceLanguage, m_state.targetLanguage);
}

std::string DemoHostSession::applyLanguage(bool source, const std::string &id, double now)
{
    const auto &options = source ? m_state.sourceLanguages : m_state.targetLanguages;
    std::string &field = source ? m_state.sourceLanguage : m_state.targetLanguage;
    m_changed = true; // the helper hears back in any case
    if (!findOption(options, id))
        return "ignored: no language \"" + id + "\"";
    if (field == id)
        return "unchanged: " + languageName(id) + " is already chosen";
    field = id;
    restartForLanguages(now);
    return std::string(source ? "source" : "target") + " language is now " + languageName(id);
}

std::string DemoHostSession::handleCommand(const LiveTranslationHelperCommand &command, double now)
{
    using Kind = LiveTranslationHelperCommand::Kind;
    advance(now);
    const bool active = m_state.isSessionActive;
    switch (command.kind) {
    case Kind::start:
        if (m_phase != Phase::ready && m_phase != Phase::limitReached)
            return "ignored: cannot start now";
        beginSession(now);
        return "starting a session";
    case Kind::stop:
        if (!active || m_phase == Phase::stopping)
            return "ignored: no session to stop";
        if (m_phase == Phase::switching) {
            enter(Phase::stopping, now);
            return "stopping instead of switching";
        }
        enter(Phase::stopping, now);
        return "stopping the session";
    case Kind::cancel:
        if (!active)
            return "ignored: no session to cancel";
        endSession(now, false);
        enter(m_timeExhausted ? Phase::limitReached : Phase::ready, now);
        if (!m_timeExhausted)
            m_state.statusMessage = "Cancelled";
        return "cancelled the session; the active caption is dropped";
    case Kind::hide: return "the user closed the panel";
    case Kind::swapLanguages: {
        if (isDetectedLanguage(m_state.sourceLanguage))
            return "ignored: cannot swap while the language is detected";
        m_changed = true;
        if (!findOption(m_state.sourceLanguages, m_state.targetLanguage)
            || !findOption(m_state.targetLanguages, m_state.sourceLanguage))
            return "ignored: the pair cannot be swapped";
        std::swap(m_state.sourceLanguage, m_state.targetLanguage);
        restartForLanguages(now);
        return "swapped the languages: " + pairText();
    }
    case Kind::requestMoreTime:
        if (m_phase != Phase::limitReached)
            return "ignored: the account has time left";
        enter(Phase::requestingTime, now);
        return "requesting more time";
    case Kind::setSourceLanguage: return applyLanguage(true, command.stringValue, now);
    case Kind::setTargetLanguage: return applyLanguage(false, command.stringValue, now);
    case Kind::setAudioSource: {
        m_changed = true;
        const auto *option = findOption(m_state.audioSources, command.stringValue);
        if (active)
            return "ignored: the audio source cannot change during a session";
        if (!option)
            return "ignored: no audio source \"" + command.stringValue + "\"";
        m_state.selectedAudioSourceID = option->id;
        m_state.actualAudioSourceDescription
            = option->id == kAllAudioSourceId ? "All system audio" : option->displayName;
        m_state.captureFallbackNotice.reset();
        m_state.droppedCaptureBuffers = 0;
        return "audio source is now " + m_state.actualAudioSourceDescription;
    }
    case Kind::setShowsSourceText:
        m_state.showsSourceText = command.boolValue;
        m_changed = true;
        return command.boolValue ? "showing the original text" : "showing translations only";
    }
    return "ignored";
}

#include "wire_types.hpp"

#include <utility>

const LiveTranslationHelperSnapshot &LiveTranslationHelperSnapshot::initial()
{
    static const LiveTranslationHelperSnapshot value {};
    return value;
}

LiveTranslationHelperHostMessage LiveTranslationHelperHostMessage::makeSnapshot(
    LiveTranslationHelperSnapshot value)
{
    return {Kind::snapshot, std::move(value)};
}

LiveTranslationHelperHostMessage LiveTranslationHelperHostMessage::make(Kind kind)
{
    return {kind, std::nullopt};
}

namespace {
LiveTranslationHelperCommand withString(LiveTranslationHelperCommand::Kind kind, std::string value)
{
    return {kind, std::move(value), false};
}
} // namespace

using Command = LiveTranslationHelperCommand;

Command Command::setSourceLanguage(std::string id)
{
    return withString(Kind::setSourceLanguage, std::move(id));
}
Command Command::setTargetLanguage(std::string id)
{
    return withString(Kind::setTargetLanguage, std::move(id));
}
Command Command::setAudioSource(std::string id)
{
    return withString(Kind::setAudioSource, std::move(id));
}
Command Command::setShowsSourceText(bool value)
{
    return {Kind::setShowsSourceText, {}, value};
}
Command Command::start()
{
    return {Kind::start, {}, false};
}
Command Command::stop()
{
    return {Kind::stop, {}, false};
}
Command Command::cancel()
{
    return {Kind::cancel, {}, false};
}
Command Command::swapLanguages()
{
    return {Kind::swapLanguages, {}, false};
}
Command Command::requestMoreTime()
{
    return {Kind::requestMoreTime, {}, false};
}
Command Command::hide()
{
    return {Kind::hide, {}, false};
}

bool Command::carriesString() const
{
    return kind == Kind::setSourceLanguage || kind == Kind::setTargetLanguage
        || kind == Kind::setAudioSource;
}

const char *wireName(LiveTranslationHelperLifecycle value)
{
    switch (value) {
    case LiveTranslationHelperLifecycle::inactive: return "inactive";
    case LiveTranslationHelperLifecycle::preparing: return "preparing";
    case LiveTranslationHelperLifecycle::connecting: return "connecting";
    case LiveTranslationHelperLifecycle::listening: return "listening";
    case LiveTranslationHelperLifecycle::reconnecting: return "reconnecting";
    case LiveTranslationHelperLifecycle::stopping: return "stopping";
    }
    return "inactive";
}

const char *wireName(LiveTranslationHelperHostMessage::Kind value)
{
    using Kind = LiveTranslationHelperHostMessage::Kind;
    switch (value) {
    case Kind::snapshot: return "snapshot";
    case Kind::show: return "show";
    case Kind::hide: return "hide";
    case Kind::toggle: return "toggle";
    case Kind::terminate: return "terminate";
    }
    return "show";
}

const char *wireName(LiveTranslationHelperCommand::Kind value)
{
    using Kind = LiveTranslationHelperCommand::Kind;
    switch (value) {
    case Kind::start: return "start";
    case Kind::stop: return "stop";
    case Kind::cancel: return "cancel";
    case Kind::hide: return "hide";
    case Kind::swapLanguages: return "swap_languages";
    case Kind::requestMoreTime: return "request_more_time";
    case Kind::setSourceLanguage: return "set_source_language";
    case Kind::setTargetLanguage: return "set_target_language";
    case Kind::setAudioSource: return "set_audio_source";
    case Kind::setShowsSourceText: return "set_shows_source_text";
    }
    return "start";
}

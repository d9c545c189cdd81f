#include <vector>

#include "json_writer.hpp"
#include "wire_codec.hpp"

// Keys are written in the order of the protocol's tables; optional strings without a value are
// left out, never written as null.

using tavu_wire_internal::JsonWriter;

namespace {

// Rough size of the fixed part of a snapshot and of each list entry, to reserve the output once.
constexpr std::size_t kSnapshotBaseBytes = 512;
constexpr std::size_t kEntryOverheadBytes = 64;

template <class Option>
void writeOptions(JsonWriter &writer, std::string_view key, const std::vector<Option> &options)
{
    writer.key(key);
    writer.beginArray();
    for (const Option &option : options) {
        writer.beginObject();
        writer.key("id");
        writer.string(option.id);
        writer.key("displayName");
        writer.string(option.displayName);
        writer.endObject();
    }
    writer.endArray();
}

void writeOptionalString(
    JsonWriter &writer, std::string_view key, const std::optional<std::string> &value)
{
    if (!value)
        return;
    writer.key(key);
    writer.string(*value);
}

std::size_t estimatedSize(const LiveTranslationHelperSnapshot &snapshot)
{
    std::size_t size = kSnapshotBaseBytes;
    for (const auto &card : snapshot.committedCards) {
        size += kEntryOverheadBytes + card.id.size() + card.sourceText.size()
            + card.translatedText.size();
    }
    const std::size_t options = snapshot.sourceLanguages.size() + snapshot.targetLanguages.size()
        + snapshot.audioSources.size();
    return size + options * kEntryOverheadBytes;
}

void writeSnapshot(JsonWriter &writer, const LiveTranslationHelperSnapshot &snapshot)
{
    writer.beginObject();
    writer.key("generation");
    writer.unsignedInteger(snapshot.generation);
    writer.key("lifecycle");
    writer.string(wireName(snapshot.lifecycle));
    writer.key("statusMessage");
    writer.string(snapshot.statusMessage);
    writer.key("hasFailure");
    writer.boolean(snapshot.hasFailure);
    writer.key("canRequestMoreTime");
    writer.boolean(snapshot.canRequestMoreTime);
    writer.key("isSessionActive");
    writer.boolean(snapshot.isSessionActive);
    writer.key("isStartEnabled");
    writer.boolean(snapshot.isStartEnabled);
    writer.key("sourceLanguage");
    writer.string(snapshot.sourceLanguage);
    writer.key("targetLanguage");
    writer.string(snapshot.targetLanguage);
    writer.key("selectedAudioSourceID");
    writer.string(snapshot.selectedAudioSourceID);
    writeOptions(writer, "sourceLanguages", snapshot.sourceLanguages);
    writeOptions(writer, "targetLanguages", snapshot.targetLanguages);
    writeOptions(writer, "audioSources", snapshot.audioSources);
    writer.key("actualAudioSourceDescription");
    writer.string(snapshot.actualAudioSourceDescription);
    writeOptionalString(writer, "captureFallbackNotice", snapshot.captureFallbackNotice);
    writer.key("droppedCaptureBuffers");
    writer.signedInteger(snapshot.droppedCaptureBuffers);
    writer.key("captureAudioLevel");
    writer.float32(snapshot.captureAudioLevel);
    writer.key("appearanceMode");
    writer.string(snapshot.appearanceMode);
    writer.key("showsSourceText");
    writer.boolean(snapshot.showsSourceText);
    writer.key("committedCards");
    writer.beginArray();
    for (const auto &card : snapshot.committedCards) {
        writer.beginObject();
        writer.key("id");
        writer.string(card.id);
        writer.key("sourceText");
        writer.string(card.sourceText);
        writer.key("translatedText");
        writer.string(card.translatedText);
        writer.key("committedAt");
        writer.float64(card.committedAt);
        writer.endObject();
    }
    writer.endArray();
    writeOptionalString(writer, "activeSourceText", snapshot.activeSourceText);
    writeOptionalString(writer, "activeTranslatedText", snapshot.activeTranslatedText);
    writer.endObject();
}

} // namespace

std::string encodeCommand(const LiveTranslationHelperCommand &command)
{
    std::string out;
    JsonWriter writer(out);
    writer.beginObject();
    writer.key("type");
    writer.string(wireName(command.kind));
    if (command.carriesString()) {
        writer.key("string_value");
        writer.string(command.stringValue);
    } else if (command.carriesBool()) {
        writer.key("bool_value");
        writer.boolean(command.boolValue);
    }
    writer.endObject();
    return out;
}

std::string encodeSnapshot(const LiveTranslationHelperSnapshot &snapshot)
{
    std::string out;
    out.reserve(estimatedSize(snapshot));
    JsonWriter writer(out);
    writeSnapshot(writer, snapshot);
    return writer.failed() ? std::string() : out;
}

std::string encodeHostMessage(const LiveTranslationHelperHostMessage &message)
{
    using Kind = LiveTranslationHelperHostMessage::Kind;
    std::string out;
    if (message.kind == Kind::snapshot) {
        if (!message.snapshot)
            return {};
        out.reserve(estimatedSize(*message.snapshot) + kEntryOverheadBytes);
    }
    JsonWriter writer(out);
    writer.beginObject();
    writer.key("type");
    writer.string(wireName(message.kind));
    if (message.kind == Kind::snapshot) {
        writer.key("snapshot");
        writeSnapshot(writer, *message.snapshot);
    }
    writer.endObject();
    return writer.failed() ? std::string() : out;
}

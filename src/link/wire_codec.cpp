#include "wire_codec.hpp"

#include <array>
#include <simdjson.h>
#include <utility>
#include <vector>

#include "json_reader.hpp"

// Strict decoding of host messages and commands with the simdjson DOM: the whole line is
// validated (UTF-8, escapes, numbers, nesting, nothing after the value), then the known keys are
// read in the order of the protocol's tables, stopping at the first failure.

using namespace tavu_wire_internal;

namespace {

using HostKind = LiveTranslationHelperHostMessage::Kind;
using CommandKind = LiveTranslationHelperCommand::Kind;

template <class Option>
bool readOption(FieldReader &reader, simdjson::dom::object object, const PathStep &at, Option &out)
{
    static constexpr std::array<std::string_view, 2> keys = {"id", "displayName"};
    const auto fields = collectFields(object, keys);
    return reader.string(fields[0], {&at, keys[0]}, out.id)
        && reader.string(fields[1], {&at, keys[1]}, out.displayName);
}

bool readCard(FieldReader &reader, simdjson::dom::object object, const PathStep &at,
    LiveTranslationHelperCommittedCard &out)
{
    static constexpr std::array<std::string_view, 4> keys
        = {"id", "sourceText", "translatedText", "committedAt"};
    const auto fields = collectFields(object, keys);
    return reader.string(fields[0], {&at, keys[0]}, out.id)
        && reader.string(fields[1], {&at, keys[1]}, out.sourceText)
        && reader.string(fields[2], {&at, keys[2]}, out.translatedText)
        && reader.number(fields[3], {&at, keys[3]}, out.committedAt);
}

bool readLifecycle(FieldReader &reader, const Field &field, const PathStep &at,
    LiveTranslationHelperLifecycle &out)
{
    using Lifecycle = LiveTranslationHelperLifecycle;
    std::string_view name;
    if (!reader.string(field, at, name))
        return false;
    for (const Lifecycle value : {Lifecycle::inactive, Lifecycle::preparing, Lifecycle::connecting,
             Lifecycle::listening, Lifecycle::reconnecting, Lifecycle::stopping}) {
        if (name == wireName(value)) {
            out = value;
            return true;
        }
    }
    return reader.fail(&at, "unknown value " + quotedExcerpt(name));
}

bool readSnapshot(FieldReader &reader, simdjson::dom::object object, const PathStep &at,
    LiveTranslationHelperSnapshot &s)
{
    static constexpr std::array<std::string_view, 22> keys = {
        "generation",
        "lifecycle",
        "statusMessage",
        "hasFailure",
        "canRequestMoreTime",
        "isSessionActive",
        "isStartEnabled",
        "sourceLanguage",
        "targetLanguage",
        "selectedAudioSourceID",
        "sourceLanguages",
        "targetLanguages",
        "audioSources",
        "actualAudioSourceDescription",
        "captureFallbackNotice",
        "droppedCaptureBuffers",
        "captureAudioLevel",
        "appearanceMode",
        "showsSourceText",
        "committedCards",
        "activeSourceText",
        "activeTranslatedText",
    };
    const auto f = collectFields(object, keys);
    const auto step = [&](std::size_t i) { return PathStep {&at, keys[i]}; };
    const auto option = [&](simdjson::dom::object item, const PathStep &itemAt, auto &out) {
        return readOption(reader, item, itemAt, out);
    };
    const auto card = [&](simdjson::dom::object item, const PathStep &itemAt,
                          LiveTranslationHelperCommittedCard &out) {
        return readCard(reader, item, itemAt, out);
    };
    return reader.unsignedInteger(f[0], step(0), s.generation)
        && readLifecycle(reader, f[1], step(1), s.lifecycle)
        && reader.string(f[2], step(2), s.statusMessage)
        && reader.boolean(f[3], step(3), s.hasFailure)
        && reader.boolean(f[4], step(4), s.canRequestMoreTime)
        && reader.boolean(f[5], step(5), s.isSessionActive)
        && reader.boolean(f[6], step(6), s.isStartEnabled)
        && reader.string(f[7], step(7), s.sourceLanguage)
        && reader.string(f[8], step(8), s.targetLanguage)
        && reader.string(f[9], step(9), s.selectedAudioSourceID)
        && reader.objects(f[10], step(10), s.sourceLanguages, option)
        && reader.objects(f[11], step(11), s.targetLanguages, option)
        && reader.objects(f[12], step(12), s.audioSources, option)
        && reader.string(f[13], step(13), s.actualAudioSourceDescription)
        && reader.optionalString(f[14], step(14), s.captureFallbackNotice)
        && reader.signedInteger(f[15], step(15), s.droppedCaptureBuffers)
        && reader.float32(f[16], step(16), s.captureAudioLevel)
        && reader.string(f[17], step(17), s.appearanceMode)
        && reader.boolean(f[18], step(18), s.showsSourceText)
        && reader.objects(f[19], step(19), s.committedCards, card)
        && reader.optionalString(f[20], step(20), s.activeSourceText)
        && reader.optionalString(f[21], step(21), s.activeTranslatedText);
}

template <class Kind, std::size_t N>
bool readKind(FieldReader &reader, const Field &field, const PathStep &at,
    const std::array<Kind, N> &kinds, Kind &out)
{
    std::string_view name;
    if (!reader.string(field, at, name))
        return false;
    for (const Kind kind : kinds) {
        if (name == wireName(kind)) {
            out = kind;
            return true;
        }
    }
    return reader.fail(&at, "unknown value " + quotedExcerpt(name));
}

constexpr std::array<HostKind, 5> kHostKinds
    = {HostKind::snapshot, HostKind::show, HostKind::hide, HostKind::toggle, HostKind::terminate};
constexpr std::array<std::string_view, 2> kHostKeys = {"type", "snapshot"};
constexpr PathStep kSnapshotAt {nullptr, kHostKeys[1]};
constexpr std::array<CommandKind, 10> kCommandKinds = {
    CommandKind::start,
    CommandKind::stop,
    CommandKind::cancel,
    CommandKind::hide,
    CommandKind::swapLanguages,
    CommandKind::requestMoreTime,
    CommandKind::setSourceLanguage,
    CommandKind::setTargetLanguage,
    CommandKind::setAudioSource,
    CommandKind::setShowsSourceText,
};

} // namespace

std::string WireDecodeError::message() const
{
    return path.empty() ? reason : path + ": " + reason;
}

struct WireDecoder::Impl {
    simdjson::dom::parser parser;
    // The line last parsed with its integers beyond 64 bits rewritten, and those integers.
    std::string rewritten;
    std::vector<BigInteger> bigIntegers;

    FieldReader reader(WireDecodeError &error) const { return FieldReader(error, bigIntegers); }

    // Validates the whole line as JSON and hands out its top-level object.
    bool parseObject(std::string_view line, simdjson::dom::object &out, WireDecodeError &error)
    {
        bigIntegers.clear();
        if (line.empty())
            return reader(error).fail(nullptr, "invalid JSON: empty line");
        simdjson::dom::element root;
        auto code = parser.parse(line.data(), line.size(), true).get(root);
        // The parser refuses integers beyond 64 bits: only on such a line is it read again.
        if (code == simdjson::NUMBER_ERROR && rewriteBigIntegers(line, rewritten, bigIntegers))
            code = parser.parse(rewritten.data(), rewritten.size(), true).get(root);
        if (code != simdjson::SUCCESS)
            return reader(error).fail(nullptr, syntaxReason(code));
        if (root.get_object().get(out) != simdjson::SUCCESS) {
            return reader(error).fail(
                nullptr, std::string("expected an object, found ") + reader(error).describe(root));
        }
        return true;
    }

    // Parses a host message up to its kind and, for a snapshot message, its "snapshot" object.
    bool parseHostMessage(std::string_view line, HostKind &kind,
        simdjson::dom::object &snapshotObject, WireDecodeError &error)
    {
        simdjson::dom::object root;
        if (!parseObject(line, root, error))
            return false;
        FieldReader reader = this->reader(error);
        const auto fields = collectFields(root, kHostKeys);
        if (!readKind(reader, fields[0], {nullptr, kHostKeys[0]}, kHostKinds, kind))
            return false;
        return kind != HostKind::snapshot || reader.object(fields[1], kSnapshotAt, snapshotObject);
    }
};

WireDecoder::WireDecoder()
    : m_impl(std::make_unique<Impl>())
{
}

WireDecoder::~WireDecoder() = default;

WireDecodeResult<LiveTranslationHelperHostMessage> WireDecoder::decodeHostMessage(
    std::string_view line)
{
    WireDecodeResult<LiveTranslationHelperHostMessage> result;
    if (!decodeHostMessage(line, result.value.emplace(), result.error))
        result.value.reset();
    return result;
}

bool WireDecoder::decodeHostMessage(
    std::string_view line, LiveTranslationHelperHostMessage &out, WireDecodeError &error)
{
    simdjson::dom::object snapshotObject;
    if (!m_impl->parseHostMessage(line, out.kind, snapshotObject, error))
        return false;
    if (out.kind != HostKind::snapshot) {
        out.snapshot.reset(); // only a snapshot message reads "snapshot": here it may be anything
        return true;
    }
    // Read in place, into the storage of a snapshot the message already holds if it does: a
    // snapshot is large, and building it anew costs more than parsing its line.
    FieldReader reader = m_impl->reader(error);
    return readSnapshot(
        reader, snapshotObject, kSnapshotAt, out.snapshot ? *out.snapshot : out.snapshot.emplace());
}

WireDecodeResult<LiveTranslationHelperCommand> WireDecoder::decodeCommand(std::string_view line)
{
    static constexpr std::array<std::string_view, 3> keys = {"type", "string_value", "bool_value"};
    WireDecodeResult<LiveTranslationHelperCommand> result;
    simdjson::dom::object root;
    if (!m_impl->parseObject(line, root, result.error))
        return result;
    FieldReader reader = m_impl->reader(result.error);
    const auto fields = collectFields(root, keys);
    LiveTranslationHelperCommand command;
    if (!readKind(reader, fields[0], {nullptr, keys[0]}, kCommandKinds, command.kind))
        return result;
    if (command.carriesString()
        && !reader.string(fields[1], {nullptr, keys[1]}, command.stringValue))
        return result;
    if (command.carriesBool() && !reader.boolean(fields[2], {nullptr, keys[2]}, command.boolValue))
        return result;
    result.value = std::move(command);
    return result;
}

#include "wire_codec.hpp"

#include <array>
#include <cfloat>
#include <cmath>
#include <limits>
#include <utility>

#include <simdjson.h>

#include "json_writer.hpp"

// Strict decoding of host messages and commands with the simdjson DOM: the whole line is
// validated (UTF-8, escapes, numbers, nesting, nothing after the value), then the known keys are
// read in the order of the protocol's tables, stopping at the first failure.

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;
using HostKind = LiveTranslationHelperHostMessage::Kind;
using CommandKind = LiveTranslationHelperCommand::Kind;

// Longest part of an unexpected string that a rejection reason quotes.
constexpr std::size_t kQuotedValueLimit = 64;
// Numbers below this magnitude round to a finite 32-bit float (FLT_MAX plus half an ulp).
constexpr double kFloatRoundingLimit = 0x1.ffffffp127;

// One step of the path to a value, kept on the stack and rendered only when decoding fails.
struct PathStep {
    const PathStep *parent = nullptr;
    std::string_view key; // empty for an array element
    std::size_t index = 0;
};

std::string renderPath(const PathStep *step)
{
    std::vector<const PathStep *> steps;
    for (; step != nullptr; step = step->parent)
        steps.push_back(step);
    std::string path;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        if ((*it)->key.empty()) {
            path += '[' + std::to_string((*it)->index) + ']';
        } else {
            if (!path.empty())
                path += '.';
            path += (*it)->key;
        }
    }
    return path;
}

const char *describe(element value)
{
    switch (value.type()) {
    case element_type::ARRAY: return "an array";
    case element_type::OBJECT: return "an object";
    case element_type::INT64:
    case element_type::UINT64: return "an integer";
    case element_type::DOUBLE: return "a number with a fraction or exponent";
    case element_type::STRING: return "a string";
    case element_type::BOOL: return "a boolean";
    case element_type::NULL_VALUE: return "null";
    }
    return "an unknown value";
}

std::string quoted(std::string_view text)
{
    std::string out;
    if (text.size() <= kQuotedValueLimit) {
        appendJsonString(out, text);
        return out;
    }
    std::size_t cut = kQuotedValueLimit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    appendJsonString(out, text.substr(0, cut));
    out += "...";
    return out;
}

std::string syntaxReason(simdjson::error_code code)
{
    using namespace simdjson;
    switch (code) {
    case UTF8_ERROR: return "invalid JSON: not valid UTF-8";
    case STRING_ERROR: return "invalid JSON: bad escape in a string (or a lone surrogate)";
    case UNESCAPED_CHARS: return "invalid JSON: unescaped control character in a string";
    case UNCLOSED_STRING: return "invalid JSON: unclosed string";
    case NUMBER_ERROR:
        return "invalid JSON: malformed number, or one beyond the 64-bit integer or double range";
    case T_ATOM_ERROR:
    case F_ATOM_ERROR:
    case N_ATOM_ERROR: return "invalid JSON: misspelt true, false or null";
    case DEPTH_ERROR: return "invalid JSON: nested too deeply";
    case EMPTY: return "invalid JSON: no value on the line";
    case TAPE_ERROR: return "invalid JSON: malformed structure, or content after the value";
    case CAPACITY: return "invalid JSON: the line is too long";
    default: return std::string("invalid JSON: ") + error_message(code);
    }
}

// A known key of an object: its first value and how often it appeared.
struct Field {
    element value;
    unsigned count = 0;
};

template <std::size_t N>
std::array<Field, N> collectFields(simdjson::dom::object object,
                                   const std::array<std::string_view, N> &keys)
{
    std::array<Field, N> fields{};
    // Hosts usually write the keys in table order: try the key after the last match first.
    std::size_t guess = 0;
    for (const auto member : object) {
        for (std::size_t tried = 0; tried < N; ++tried) {
            const std::size_t i = guess + tried < N ? guess + tried : guess + tried - N;
            if (member.key == keys[i]) {
                if (fields[i].count++ == 0)
                    fields[i].value = member.value;
                guess = i + 1 < N ? i + 1 : 0;
                break;
            }
        }
    }
    return fields;
}

class Reader final {
public:
    explicit Reader(WireDecodeError &error)
        : m_error(error)
    {
    }

    bool fail(const PathStep *at, std::string reason)
    {
        m_error.path = renderPath(at);
        m_error.reason = std::move(reason);
        return false;
    }

    // The key is there exactly once and its value is not null.
    bool require(const Field &field, const PathStep &at, const char *expected)
    {
        if (field.count == 0)
            return fail(&at, "missing required key");
        if (field.count > 1)
            return fail(&at, "duplicate key");
        if (field.value.is_null())
            return fail(&at, std::string("expected ") + expected + ", found null");
        return true;
    }

    bool mismatch(const Field &field, const PathStep &at, const char *expected)
    {
        return fail(&at, std::string("expected ") + expected + ", found " + describe(field.value));
    }

    bool string(const Field &field, const PathStep &at, std::string_view &out)
    {
        if (!require(field, at, "a string"))
            return false;
        if (field.value.get_string().get(out) != simdjson::SUCCESS)
            return mismatch(field, at, "a string");
        return true;
    }

    bool string(const Field &field, const PathStep &at, std::string &out)
    {
        std::string_view view;
        if (!string(field, at, view))
            return false;
        out.assign(view);
        return true;
    }

    bool optionalString(const Field &field, const PathStep &at, std::optional<std::string> &out)
    {
        if (field.count > 1)
            return fail(&at, "duplicate key");
        if (field.count == 0 || field.value.is_null()) {
            out.reset();
            return true;
        }
        std::string_view view;
        if (field.value.get_string().get(view) != simdjson::SUCCESS)
            return mismatch(field, at, "a string or null");
        out.emplace(view);
        return true;
    }

    bool boolean(const Field &field, const PathStep &at, bool &out)
    {
        if (!require(field, at, "a boolean"))
            return false;
        if (field.value.get_bool().get(out) != simdjson::SUCCESS)
            return mismatch(field, at, "a boolean");
        return true;
    }

    bool unsignedInteger(const Field &field, const PathStep &at, std::uint64_t &out)
    {
        if (!require(field, at, "a non-negative integer"))
            return false;
        const element &value = field.value;
        if (value.type() == element_type::INT64) {
            const std::int64_t signedValue = value.get_int64().value_unsafe();
            if (signedValue < 0) {
                return fail(&at, "expected a non-negative integer, found "
                                + std::to_string(signedValue));
            }
            out = static_cast<std::uint64_t>(signedValue);
            return true;
        }
        if (value.type() == element_type::UINT64) {
            out = value.get_uint64().value_unsafe();
            return true;
        }
        return mismatch(field, at, "a non-negative integer");
    }

    bool signedInteger(const Field &field, const PathStep &at, std::int64_t &out)
    {
        if (!require(field, at, "an integer"))
            return false;
        const element &value = field.value;
        if (value.type() == element_type::INT64) {
            out = value.get_int64().value_unsafe();
            return true;
        }
        if (value.type() == element_type::UINT64) {
            return fail(&at, "out of the 64-bit signed integer range: "
                            + std::to_string(value.get_uint64().value_unsafe()));
        }
        return mismatch(field, at, "an integer");
    }

    bool number(const Field &field, const PathStep &at, double &out)
    {
        if (!require(field, at, "a number"))
            return false;
        if (!field.value.is_number())
            return mismatch(field, at, "a number");
        out = field.value.get_double().value_unsafe();
        return true;
    }

    bool float32(const Field &field, const PathStep &at, float &out)
    {
        double value = 0;
        if (!number(field, at, value))
            return false;
        if (!(std::fabs(value) < kFloatRoundingLimit))
            return fail(&at, "out of the 32-bit float range");
        out = std::fabs(value) <= FLT_MAX ? static_cast<float>(value)
                                          : std::copysign(FLT_MAX, static_cast<float>(value));
        return true;
    }

    bool object(const Field &field, const PathStep &at, simdjson::dom::object &out)
    {
        if (!require(field, at, "an object"))
            return false;
        if (field.value.get_object().get(out) != simdjson::SUCCESS)
            return mismatch(field, at, "an object");
        return true;
    }

    // Reads an array whose elements are objects; each is handed to read(object, path).
    template <class Item, class ReadItem>
    bool objects(const Field &field, const PathStep &at, std::vector<Item> &out, ReadItem read)
    {
        if (!require(field, at, "an array"))
            return false;
        simdjson::dom::array array;
        if (field.value.get_array().get(array) != simdjson::SUCCESS)
            return mismatch(field, at, "an array");
        out.clear();
        out.reserve(array.size());
        std::size_t index = 0;
        for (const element item : array) {
            const PathStep itemAt{&at, {}, index++};
            simdjson::dom::object object;
            if (item.get_object().get(object) != simdjson::SUCCESS) {
                return fail(&itemAt,
                            std::string("expected an object, found ") + describe(item));
            }
            if (!read(object, itemAt, out.emplace_back()))
                return false;
        }
        return true;
    }

private:
    WireDecodeError &m_error;
};

template <class Option>
bool readOption(Reader &reader, simdjson::dom::object object, const PathStep &at, Option &out)
{
    static constexpr std::array<std::string_view, 2> keys = {"id", "displayName"};
    const auto fields = collectFields(object, keys);
    return reader.string(fields[0], {&at, keys[0]}, out.id)
        && reader.string(fields[1], {&at, keys[1]}, out.displayName);
}

bool readCard(Reader &reader, simdjson::dom::object object, const PathStep &at,
              LiveTranslationHelperCommittedCard &out)
{
    static constexpr std::array<std::string_view, 4> keys = {"id", "sourceText", "translatedText",
                                                             "committedAt"};
    const auto fields = collectFields(object, keys);
    return reader.string(fields[0], {&at, keys[0]}, out.id)
        && reader.string(fields[1], {&at, keys[1]}, out.sourceText)
        && reader.string(fields[2], {&at, keys[2]}, out.translatedText)
        && reader.number(fields[3], {&at, keys[3]}, out.committedAt);
}

bool readLifecycle(Reader &reader, const Field &field, const PathStep &at,
                   LiveTranslationHelperLifecycle &out)
{
    using Lifecycle = LiveTranslationHelperLifecycle;
    std::string_view name;
    if (!reader.string(field, at, name))
        return false;
    for (const Lifecycle value : {Lifecycle::inactive, Lifecycle::preparing, Lifecycle::connecting,
                                  Lifecycle::listening, Lifecycle::reconnecting,
                                  Lifecycle::stopping}) {
        if (name == wireName(value)) {
            out = value;
            return true;
        }
    }
    return reader.fail(&at, "unknown value " + quoted(name));
}

bool readSnapshot(Reader &reader, simdjson::dom::object object, const PathStep &at,
                  LiveTranslationHelperSnapshot &s)
{
    static constexpr std::array<std::string_view, 22> keys = {
        "generation",      "lifecycle",       "statusMessage",
        "hasFailure",      "canRequestMoreTime", "isSessionActive",
        "isStartEnabled",  "sourceLanguage",  "targetLanguage",
        "selectedAudioSourceID", "sourceLanguages", "targetLanguages",
        "audioSources",    "actualAudioSourceDescription", "captureFallbackNotice",
        "droppedCaptureBuffers", "captureAudioLevel", "appearanceMode",
        "showsSourceText", "committedCards",  "activeSourceText",
        "activeTranslatedText",
    };
    const auto f = collectFields(object, keys);
    const auto step = [&](std::size_t i) { return PathStep{&at, keys[i]}; };
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
bool readKind(Reader &reader, const Field &field, const PathStep &at,
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
    return reader.fail(&at, "unknown value " + quoted(name));
}

constexpr std::array<HostKind, 5> kHostKinds = {HostKind::snapshot, HostKind::show, HostKind::hide,
                                                HostKind::toggle, HostKind::terminate};
constexpr std::array<CommandKind, 10> kCommandKinds = {
    CommandKind::start,           CommandKind::stop,           CommandKind::cancel,
    CommandKind::hide,            CommandKind::swapLanguages,  CommandKind::requestMoreTime,
    CommandKind::setSourceLanguage, CommandKind::setTargetLanguage, CommandKind::setAudioSource,
    CommandKind::setShowsSourceText,
};

} // namespace

std::string WireDecodeError::message() const
{
    return path.empty() ? reason : path + ": " + reason;
}

struct WireDecoder::Impl {
    simdjson::dom::parser parser;

    // Validates the whole line as JSON and hands out its top-level object.
    bool parseObject(std::string_view line, simdjson::dom::object &out, WireDecodeError &error)
    {
        Reader reader(error);
        if (line.empty())
            return reader.fail(nullptr, "invalid JSON: empty line");
        const auto parsed = parser.parse(line.data(), line.size(), true);
        if (parsed.error() != simdjson::SUCCESS)
            return reader.fail(nullptr, syntaxReason(parsed.error()));
        const element root = parsed.value_unsafe();
        if (root.get_object().get(out) != simdjson::SUCCESS)
            return reader.fail(nullptr, std::string("expected an object, found ") + describe(root));
        return true;
    }
};

WireDecoder::WireDecoder()
    : m_impl(std::make_unique<Impl>())
{
}

WireDecoder::~WireDecoder() = default;

WireDecodeResult<LiveTranslationHelperHostMessage>
WireDecoder::decodeHostMessage(std::string_view line)
{
    WireDecodeResult<LiveTranslationHelperHostMessage> result;
    if (!decodeHostMessage(line, result.value.emplace(), result.error))
        result.value.reset();
    return result;
}

bool WireDecoder::decodeHostMessage(std::string_view line, LiveTranslationHelperHostMessage &out,
                                    WireDecodeError &error)
{
    static constexpr std::array<std::string_view, 2> keys = {"type", "snapshot"};
    simdjson::dom::object root;
    if (!m_impl->parseObject(line, root, error))
        return false;
    Reader reader(error);
    const auto fields = collectFields(root, keys);
    HostKind kind = HostKind::show;
    if (!readKind(reader, fields[0], {nullptr, keys[0]}, kHostKinds, kind))
        return false;
    out.kind = kind;
    if (kind != HostKind::snapshot) {
        out.snapshot.reset(); // only a snapshot message reads "snapshot": here it may be anything
        return true;
    }
    // Built in place: a snapshot is large, and moving it costs more than reading small lines.
    const PathStep snapshotAt{nullptr, keys[1]};
    simdjson::dom::object snapshotObject;
    return reader.object(fields[1], snapshotAt, snapshotObject)
        && readSnapshot(reader, snapshotObject, snapshotAt, out.snapshot.emplace());
}

WireDecodeResult<LiveTranslationHelperCommand> WireDecoder::decodeCommand(std::string_view line)
{
    static constexpr std::array<std::string_view, 3> keys = {"type", "string_value", "bool_value"};
    WireDecodeResult<LiveTranslationHelperCommand> result;
    simdjson::dom::object root;
    if (!m_impl->parseObject(line, root, result.error))
        return result;
    Reader reader(result.error);
    const auto fields = collectFields(root, keys);
    LiveTranslationHelperCommand command;
    if (!readKind(reader, fields[0], {nullptr, keys[0]}, kCommandKinds, command.kind))
        return result;
    if (command.carriesString() && !reader.string(fields[1], {nullptr, keys[1]}, command.stringValue))
        return result;
    if (command.carriesBool() && !reader.boolean(fields[2], {nullptr, keys[2]}, command.boolValue))
        return result;
    result.value = std::move(command);
    return result;
}

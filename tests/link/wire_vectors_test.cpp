// Runs the conformance vectors of tests/vectors/ through the decoder, once for every simdjson
// implementation this machine supports (their parsers differ; the results must not).

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <simdjson.h>
#include <string>
#include <vector>

#include "wire_codec.hpp"
#include "wire_printers.hpp"

namespace {

using simdjson::dom::element;
using simdjson::dom::object;

struct Vector {
    std::string name;
    std::string input;
    bool accepted = false;
    std::string path; // rejected cases: the field at fault
    std::string expectJson; // accepted cases: the decoded value in canonical form
};

std::string vectorPath(const char *file)
{
    const char *source = std::getenv("TAVU_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/tests/vectors/" + file;
}

std::string fromHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

std::vector<Vector> readVectors(const char *file)
{
    std::ifstream in(vectorPath(file), std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << vectorPath(file);
    simdjson::dom::parser parser;
    std::vector<Vector> vectors;
    std::string line;
    while (std::getline(in, line)) {
        object row = parser.parse(line).get_object().value();
        Vector vector;
        vector.name = std::string(row["name"].get_string().value());
        std::string_view text;
        if (row["input"].get_string().get(text) == simdjson::SUCCESS)
            vector.input = std::string(text);
        else
            vector.input = fromHex(row["input_hex"].get_string().value());
        const element expect = row["expect"].value();
        vector.accepted = expect.is_object();
        if (vector.accepted)
            vector.expectJson = simdjson::to_string(expect);
        else
            vector.path = std::string(row["path"].get_string().value());
        vectors.push_back(std::move(vector));
    }
    return vectors;
}

// The expected values are read leniently: the vectors' canonical form, no checking.
std::string text(object o, const char *key)
{
    return std::string(o[key].get_string().value());
}

std::optional<std::string> optionalText(object o, const char *key)
{
    std::string_view value;
    if (o[key].get_string().get(value) != simdjson::SUCCESS)
        return std::nullopt;
    return std::string(value);
}

template <class Option> std::vector<Option> options(object o, const char *key)
{
    std::vector<Option> out;
    const simdjson::dom::array items = o[key].get_array().value();
    for (element item : items)
        out.push_back({text(item.get_object().value(), "id"),
            text(item.get_object().value(), "displayName")});
    return out;
}

LiveTranslationHelperSnapshot expectedSnapshot(object o)
{
    LiveTranslationHelperSnapshot s;
    s.generation = o["generation"].get_uint64().value();
    const std::string lifecycle = text(o, "lifecycle");
    for (int i = 0; i < 6; ++i) {
        if (lifecycle == wireName(static_cast<LiveTranslationHelperLifecycle>(i)))
            s.lifecycle = static_cast<LiveTranslationHelperLifecycle>(i);
    }
    s.statusMessage = text(o, "statusMessage");
    s.hasFailure = o["hasFailure"].get_bool().value();
    s.canRequestMoreTime = o["canRequestMoreTime"].get_bool().value();
    s.isSessionActive = o["isSessionActive"].get_bool().value();
    s.isStartEnabled = o["isStartEnabled"].get_bool().value();
    s.sourceLanguage = text(o, "sourceLanguage");
    s.targetLanguage = text(o, "targetLanguage");
    s.selectedAudioSourceID = text(o, "selectedAudioSourceID");
    s.sourceLanguages = options<LiveTranslationHelperLanguageOption>(o, "sourceLanguages");
    s.targetLanguages = options<LiveTranslationHelperLanguageOption>(o, "targetLanguages");
    s.audioSources = options<LiveTranslationHelperAudioOption>(o, "audioSources");
    s.actualAudioSourceDescription = text(o, "actualAudioSourceDescription");
    s.captureFallbackNotice = optionalText(o, "captureFallbackNotice");
    s.droppedCaptureBuffers = o["droppedCaptureBuffers"].get_int64().value();
    s.captureAudioLevel = static_cast<float>(o["captureAudioLevel"].get_double().value());
    s.appearanceMode = text(o, "appearanceMode");
    s.showsSourceText = o["showsSourceText"].get_bool().value();
    const simdjson::dom::array cards = o["committedCards"].get_array().value();
    for (element item : cards) {
        const object c = item.get_object().value();
        s.committedCards.push_back({text(c, "id"), text(c, "sourceText"), text(c, "translatedText"),
            c["committedAt"].get_double().value()});
    }
    s.activeSourceText = optionalText(o, "activeSourceText");
    s.activeTranslatedText = optionalText(o, "activeTranslatedText");
    return s;
}

LiveTranslationHelperHostMessage expectedHostMessage(const std::string &json)
{
    using Kind = LiveTranslationHelperHostMessage::Kind;
    simdjson::dom::parser parser;
    const object o = parser.parse(json).get_object().value();
    const std::string type = text(o, "type");
    if (type == "snapshot")
        return LiveTranslationHelperHostMessage::makeSnapshot(
            expectedSnapshot(o["snapshot"].get_object().value()));
    for (const Kind kind : {Kind::show, Kind::hide, Kind::toggle, Kind::terminate}) {
        if (type == wireName(kind))
            return LiveTranslationHelperHostMessage::make(kind);
    }
    ADD_FAILURE() << "unknown type in an expected value: " << type;
    return {};
}

LiveTranslationHelperCommand expectedCommand(const std::string &json)
{
    simdjson::dom::parser parser;
    const object o = parser.parse(json).get_object().value();
    const std::string type = text(o, "type");
    LiveTranslationHelperCommand command;
    for (int i = 0; i < 10; ++i) {
        if (type == wireName(static_cast<LiveTranslationHelperCommand::Kind>(i)))
            command.kind = static_cast<LiveTranslationHelperCommand::Kind>(i);
    }
    command.stringValue = optionalText(o, "string_value").value_or("");
    bool flag = false;
    if (o["bool_value"].get_bool().get(flag) == simdjson::SUCCESS)
        command.boolValue = flag;
    return command;
}

std::vector<std::string> supportedImplementations()
{
    std::vector<std::string> names;
    for (const auto *implementation : simdjson::get_available_implementations()) {
        if (implementation->supported_by_runtime_system())
            names.push_back(implementation->name());
    }
    return names;
}

// Makes the named simdjson implementation the active one for the life of the scope.
class ActiveImplementation final {
public:
    explicit ActiveImplementation(const std::string &name)
        : m_previous(simdjson::get_active_implementation())
    {
        simdjson::get_active_implementation() = simdjson::get_available_implementations()[name];
    }
    ~ActiveImplementation() { simdjson::get_active_implementation() = m_previous; }
    ActiveImplementation(const ActiveImplementation &) = delete;
    ActiveImplementation &operator=(const ActiveImplementation &) = delete;

private:
    const simdjson::implementation *m_previous;
};

class WireVectors : public ::testing::TestWithParam<std::string> { };

TEST_P(WireVectors, HostMessagesDecodeAsExpected)
{
    const ActiveImplementation active(GetParam());
    ASSERT_EQ(simdjson::get_active_implementation()->name(), GetParam());
    WireDecoder decoder;
    for (const Vector &vector : readVectors("host_messages.jsonl")) {
        SCOPED_TRACE(vector.name);
        const auto result = decoder.decodeHostMessage(vector.input);
        if (!vector.accepted) {
            EXPECT_FALSE(result) << "accepted: " << encodeHostMessage(*result.value);
            EXPECT_EQ(result.error.path, vector.path) << result.error.message();
            EXPECT_FALSE(result.error.reason.empty());
            continue;
        }
        ASSERT_TRUE(result) << result.error.message();
        EXPECT_EQ(*result.value, expectedHostMessage(vector.expectJson));
        // What the helper accepts, the library writes back in a form that decodes to the same.
        const std::string encoded = encodeHostMessage(*result.value);
        const auto again = decoder.decodeHostMessage(encoded);
        ASSERT_TRUE(again) << again.error.message() << " in " << encoded;
        EXPECT_EQ(*again.value, *result.value);
    }
}

TEST_P(WireVectors, CommandsDecodeAsExpected)
{
    const ActiveImplementation active(GetParam());
    WireDecoder decoder;
    for (const Vector &vector : readVectors("commands.jsonl")) {
        SCOPED_TRACE(vector.name);
        const auto result = decoder.decodeCommand(vector.input);
        if (!vector.accepted) {
            EXPECT_FALSE(result);
            EXPECT_EQ(result.error.path, vector.path) << result.error.message();
            continue;
        }
        ASSERT_TRUE(result) << result.error.message();
        EXPECT_EQ(*result.value, expectedCommand(vector.expectJson));
        const auto again = decoder.decodeCommand(encodeCommand(*result.value));
        ASSERT_TRUE(again);
        EXPECT_EQ(*again.value, *result.value);
    }
}

INSTANTIATE_TEST_SUITE_P(SimdjsonImplementations, WireVectors,
    ::testing::ValuesIn(supportedImplementations()), [](const auto &info) { return info.param; });

} // namespace

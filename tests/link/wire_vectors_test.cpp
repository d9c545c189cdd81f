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
    EXPECT_FALSE(vectors.empty()) << vectorPath(file);
    return vectors;
}

// Whether the line the library writes for a decoded value holds the expected value: objects key
// by key in order, arrays item by item, captureAudioLevel as a 32-bit float, other numbers by
// value, strings, booleans and null as they are.
bool sameValue(element actual, element expected, std::string_view key = {})
{
    using Type = simdjson::dom::element_type;
    const auto isInteger
        = [](element v) { return v.type() == Type::INT64 || v.type() == Type::UINT64; };
    if (actual.is_number() && expected.is_number()) {
        const double a = actual.get_double().value();
        const double e = expected.get_double().value();
        if (key == "captureAudioLevel")
            return static_cast<float>(a) == static_cast<float>(e);
        if (isInteger(actual) && isInteger(expected))
            return simdjson::to_string(actual) == simdjson::to_string(expected);
        return a == e;
    }
    if (actual.type() != expected.type())
        return false;
    if (actual.type() == Type::ARRAY) {
        const auto a = actual.get_array().value();
        const auto e = expected.get_array().value();
        if (a.size() != e.size())
            return false;
        for (auto i = a.begin(), j = e.begin(); i != a.end(); ++i, ++j) {
            if (!sameValue(*i, *j))
                return false;
        }
        return true;
    }
    if (actual.type() == Type::OBJECT) {
        const object a = actual.get_object().value();
        const object e = expected.get_object().value();
        if (a.size() != e.size())
            return false;
        for (auto i = a.begin(), j = e.begin(); i != a.end(); ++i, ++j) {
            if (i.key() != j.key() || !sameValue(i.value(), j.value(), i.key()))
                return false;
        }
        return true;
    }
    return simdjson::to_string(actual) == simdjson::to_string(expected);
}

template <class Decode, class Encode>
void checkVectors(const char *file, Decode decode, Encode encode)
{
    simdjson::dom::parser parser;
    for (const Vector &vector : readVectors(file)) {
        SCOPED_TRACE(vector.name);
        const auto result = decode(vector.input);
        if (!vector.accepted) {
            EXPECT_FALSE(result) << "accepted: " << encode(*result.value);
            EXPECT_EQ(result.error.path, vector.path) << result.error.message();
            EXPECT_FALSE(result.error.reason.empty());
            continue;
        }
        ASSERT_TRUE(result) << result.error.message();
        const std::string encoded = encode(*result.value);
        simdjson::dom::parser expectedParser;
        EXPECT_TRUE(sameValue(
            parser.parse(encoded).value(), expectedParser.parse(vector.expectJson).value()))
            << encoded << "\nexpected " << vector.expectJson;
        // What the helper accepts, the library writes back in a form that decodes to the same.
        const auto again = decode(encoded);
        ASSERT_TRUE(again) << again.error.message();
        EXPECT_EQ(*again.value, *result.value);
    }
}

TEST(WireVectors, HostMessagesAndCommandsDecodeAsExpectedWithEverySimdjsonImplementation)
{
    const simdjson::implementation *const original = simdjson::get_active_implementation();
    for (const auto *implementation : simdjson::get_available_implementations()) {
        if (!implementation->supported_by_runtime_system())
            continue;
        SCOPED_TRACE(implementation->name());
        simdjson::get_active_implementation() = implementation;
        WireDecoder decoder;
        checkVectors(
            "host_messages.jsonl",
            [&](std::string_view line) { return decoder.decodeHostMessage(line); },
            encodeHostMessage);
        checkVectors(
            "commands.jsonl", [&](std::string_view line) { return decoder.decodeCommand(line); },
            encodeCommand);
    }
    simdjson::get_active_implementation() = original;
}

} // namespace

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

namespace {

using simdjson::dom::element;
using simdjson::dom::object;

// The vector file's rows, one JSON object a line.
std::vector<std::string> readRows(const char *file)
{
    const char *source = std::getenv("TAVU_SOURCE_DIR");
    const std::string path
        = std::string(source != nullptr ? source : ".") + "/tests/vectors/" + file;
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        rows.push_back(line);
    EXPECT_FALSE(rows.empty()) << "no vectors in " << path;
    return rows;
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
        if (!isInteger(actual) || !isInteger(expected))
            return a == e;
    } else if (actual.type() != expected.type()) {
        return false;
    } else if (actual.type() == Type::ARRAY) {
        const auto a = actual.get_array().value();
        const auto e = expected.get_array().value();
        bool same = a.size() == e.size();
        for (auto i = a.begin(), j = e.begin(); same && i != a.end(); ++i, ++j)
            same = sameValue(*i, *j);
        return same;
    } else if (actual.type() == Type::OBJECT) {
        const object a = actual.get_object().value();
        const object e = expected.get_object().value();
        bool same = a.size() == e.size();
        for (auto i = a.begin(), j = e.begin(); same && i != a.end(); ++i, ++j)
            same = i.key() == j.key() && sameValue(i.value(), j.value(), i.key());
        return same;
    }
    return simdjson::to_string(actual) == simdjson::to_string(expected);
}

template <class Decode, class Encode>
void checkVectors(const char *file, Decode decode, Encode encode)
{
    simdjson::dom::parser rows;
    simdjson::dom::parser written;
    for (const std::string &line : readRows(file)) {
        const object row = rows.parse(line).get_object().value();
        SCOPED_TRACE(row["name"].get_string().value());
        std::string input;
        std::string_view text;
        if (row["input"].get_string().get(text) == simdjson::SUCCESS) {
            input = text;
        } else {
            for (std::string_view hex = row["input_hex"].get_string().value(); hex.size() >= 2;
                 hex.remove_prefix(2))
                input.push_back(
                    static_cast<char>(std::stoi(std::string(hex.substr(0, 2)), nullptr, 16)));
        }
        const auto result = decode(input);
        const element expect = row["expect"].value();
        if (!expect.is_object()) {
            EXPECT_FALSE(result) << "accepted: " << encode(*result.value);
            EXPECT_EQ(result.error.path, row["path"].get_string().value())
                << result.error.message();
            EXPECT_FALSE(result.error.reason.empty());
            continue;
        }
        ASSERT_TRUE(result) << result.error.message();
        const std::string encoded = encode(*result.value);
        EXPECT_TRUE(sameValue(written.parse(encoded).value(), expect))
            << encoded << "\nexpected " << simdjson::to_string(expect);
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

// Encoding exactness, string and number forms, and rejection reasons.

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

#include "wire_codec.hpp"

namespace {

using Command = LiveTranslationHelperCommand;
using HostMessage = LiveTranslationHelperHostMessage;
using Snapshot = LiveTranslationHelperSnapshot;

const char *const kInitialLine
    = R"({"type":"snapshot","snapshot":{"generation":0,"lifecycle":"inactive",)"
      R"("statusMessage":"Connecting to Tavu","hasFailure":false,"canRequestMoreTime":false,)"
      R"("isSessionActive":false,"isStartEnabled":false,"sourceLanguage":"multi",)"
      R"("targetLanguage":"en","selectedAudioSourceID":"mac-audio","sourceLanguages":[],)"
      R"("targetLanguages":[],"audioSources":[],"actualAudioSourceDescription":"Mac Audio",)"
      R"("droppedCaptureBuffers":0,"captureAudioLevel":0,"appearanceMode":"system",)"
      R"("showsSourceText":true,"committedCards":[]}})";

// The JSON string that encoding `value` as a command's string_value produces.
std::string encodedString(const std::string &value)
{
    const std::string line = encodeCommand(Command::setAudioSource(value));
    const std::string prefix = R"({"type":"set_audio_source","string_value":)";
    EXPECT_EQ(line.substr(0, prefix.size()), prefix);
    return line.substr(prefix.size(), line.size() - prefix.size() - 1);
}

// The number written after `key` in the snapshot's JSON.
std::string numberAfter(const Snapshot &snapshot, std::string_view key)
{
    const std::string json = encodeSnapshot(snapshot);
    const std::size_t start = json.find(key) + key.size();
    return json.substr(start, json.find_first_of(",}", start) - start);
}

TEST(WireEncoding, InitialSnapshotIsTheExampleLine)
{
    EXPECT_EQ(encodeHostMessage(HostMessage::makeSnapshot(Snapshot::initial())), kInitialLine);
}

TEST(WireEncoding, ACommandWritesOnlyTheValueItsTypeCarries)
{
    Command stale = Command::start();
    stale.stringValue = "x";
    stale.boolValue = true;
    EXPECT_EQ(encodeCommand(stale), R"({"type":"start"})");
    stale.kind = Command::Kind::setSourceLanguage;
    EXPECT_EQ(encodeCommand(stale), R"({"type":"set_source_language","string_value":"x"})");
}

TEST(WireEncoding, StringsAreEscapedAndIllFormedUtf8BecomesReplacementCharacters)
{
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {R"(say "hi" \ bye /)", R"("say \"hi\" \\ bye /")"},
        {std::string("\0\x01\x1f\n\r\t\b\f", 8),
            R"("\u0000\u0001\u001f\u000a\u000d\u0009\u0008\u000c")"},
        {"\x7f", "\"\x7f\""},
        {"Grüße, 日本語, 🎧, \u2028", "\"Grüße, 日本語, 🎧, \u2028\""},
        {"a\xFF!", "\"a" + r + "!\""},
        {"\xE6\x97", "\"" + r + "\""}, // truncated: one subpart
        {"\xE6\x97!", "\"" + r + "!\""},
        {"\xC0\xAF", "\"" + r + r + "\""}, // overlong
        {"\xED\xA0\x80", "\"" + r + r + r + "\""}, // surrogate
        {"\xF4\x90\x80\x80", "\"" + r + r + r + r + "\""}, // beyond U+10FFFF
        {"\xF0\x9F\x8E", "\"" + r + "\""},
        {"\x80\xBF", "\"" + r + r + "\""},
    };
    for (const auto &[text, json] : cases)
        EXPECT_EQ(encodedString(text), json);
}

TEST(WireEncoding, NumbersAreShortestAndReadable)
{
    const std::pair<float, const char *> levels[] = {{0.0F, "0"}, {0.1F, "0.1"}, {0.25F, "0.25"},
        {100.0F, "100"}, {16777216.0F, "16777216"}, {-0.0F, "-0.0"}, {FLT_MAX, "3.4028235e+38"},
        {std::numeric_limits<float>::denorm_min(), "1e-45"}, {1.2345678e20F, "1.2345678e+20"}};
    for (const auto &[level, json] : levels) {
        Snapshot s;
        s.captureAudioLevel = level;
        EXPECT_EQ(numberAfter(s, R"("captureAudioLevel":)"), json);
    }
    // Never a run of digits that a 64-bit integer parser refuses.
    const std::pair<double, const char *> dates[]
        = {{-0.0, "-0.0"}, {0, "0"}, {700000000, "700000000"}, {700000000.125, "700000000.125"},
            {-86400.5, "-86400.5"}, {0.1, "0.1"}, {1e300, "1e+300"},
            {-2.0386146725839228e20, "-2.0386146725839228e+20"}, {1e16, "1e+16"}};
    for (const auto &[date, json] : dates) {
        Snapshot s;
        s.committedCards = {{"c", "s", "t", date}};
        EXPECT_EQ(numberAfter(s, R"("committedAt":)"), json);
    }
    Snapshot s;
    s.generation = std::numeric_limits<std::uint64_t>::max();
    s.droppedCaptureBuffers = std::numeric_limits<std::int64_t>::min();
    const std::string json = encodeSnapshot(s);
    EXPECT_NE(json.find(R"("generation":18446744073709551615,)"), std::string::npos);
    EXPECT_NE(json.find(R"("droppedCaptureBuffers":-9223372036854775808,)"), std::string::npos);
    // Negative zero keeps its sign when read back too.
    s.captureAudioLevel = -0.0F;
    WireDecoder decoder;
    const auto decoded = decoder.decodeHostMessage(encodeHostMessage(HostMessage::makeSnapshot(s)));
    ASSERT_TRUE(decoded) << decoded.error.message();
    EXPECT_TRUE(std::signbit(decoded.value->snapshot->captureAudioLevel));
}

TEST(WireEncoding, ValuesJsonCannotHoldFailTheWholeMessage)
{
    Snapshot s;
    s.captureAudioLevel = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(encodeSnapshot(s), "");
    EXPECT_EQ(encodeHostMessage(HostMessage::makeSnapshot(s)), "");
    s.captureAudioLevel = 0;
    s.committedCards.push_back({"c", "s", "t", std::numeric_limits<double>::infinity()});
    EXPECT_EQ(encodeSnapshot(s), "");
    HostMessage missing;
    missing.kind = HostMessage::Kind::snapshot;
    EXPECT_EQ(encodeHostMessage(missing), "");
}

TEST(WireDecoding, RejectionReasonsNameTheFieldAndTheFault)
{
    WireDecoder decoder;
    // The initial line with one piece of it replaced.
    const auto edited = [](const std::string &from, const std::string &to) {
        std::string line(kInitialLine);
        return line.replace(line.find(from), from.size(), to);
    };
    const std::string card = R"({"id":"c","sourceText":"s","translatedText":"t","committedAt":)";
    const std::string a63(63, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {edited(R"("committedCards":[])",
             R"("committedCards":[)" + card + "1}," + card + "\"noon\"}]"),
            "snapshot.committedCards[1].committedAt: expected a number, found a string"},
        {edited(R"("generation":0)", R"("generation":-1)"),
            "snapshot.generation: expected a non-negative integer, found -1"},
        {edited(R"("droppedCaptureBuffers":0)", R"("droppedCaptureBuffers":1.5)"),
            "snapshot.droppedCaptureBuffers: expected an integer, found a number with a fraction "
            "or exponent"},
        // Integers beyond 64 bits are numbers, out of range for the integer fields; the next line
        // does not inherit them.
        {edited(R"("generation":0)", R"("generation":18446744073709551616)"),
            "snapshot.generation: out of the 64-bit unsigned integer range: 18446744073709551616"},
        {edited(R"("droppedCaptureBuffers":0)", R"("droppedCaptureBuffers":-9223372036854775809)"),
            "snapshot.droppedCaptureBuffers: out of the 64-bit signed integer range: "
            "-9223372036854775809"},
        {edited(R"("generation":0)", R"("generation":1.8446744073709552e19)"),
            "snapshot.generation: expected a non-negative integer, found a number with a fraction "
            "or exponent"},
        {edited(R"("targetLanguage":"en",)", ""), "snapshot.targetLanguage: missing required key"},
        {R"({"type":"show","type":"show"})", "type: duplicate key"},
        {R"({"type":null})", "type: expected a string, found null"},
        {"", "invalid JSON: empty line"},
        {"{\"type\":\"show\",\"x\":\"\xff\"}", "invalid JSON: not valid UTF-8"},
        // Long unknown values are cut, on a character boundary.
        {R"({"type":")" + a63 + R"(ébbbb"})", "type: unknown value \"" + a63 + "\"..."},
    };
    for (const auto &[line, expected] : cases)
        EXPECT_EQ(decoder.decodeHostMessage(line).error.message(), expected) << line;
}

TEST(WireDecoding, DecodesExactlyTheBytesOfTheViewItIsGiven)
{
    WireDecoder decoder;
    const std::string_view buffer = R"({"type":"hide"}{"type":"show"}garbage)";
    const auto hide = decoder.decodeHostMessage(buffer.substr(0, 15));
    const auto show = decoder.decodeHostMessage(buffer.substr(15, 15));
    ASSERT_TRUE(hide && show) << hide.error.message() << show.error.message();
    EXPECT_EQ(hide.value->kind, HostMessage::Kind::hide);
    EXPECT_EQ(show.value->kind, HostMessage::Kind::show);
}

} // namespace

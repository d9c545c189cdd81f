// Encoding exactness, string and number forms, rejection reasons, and the decode/encode round trip
// over random values.

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

#include "random_snapshots.hpp"
#include "wire_codec.hpp"
#include "wire_printers.hpp"

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

std::string encodedLevel(float level)
{
    Snapshot snapshot;
    snapshot.captureAudioLevel = level;
    const std::string json = encodeSnapshot(snapshot);
    const auto start = json.find("\"captureAudioLevel\":") + 20;
    return json.substr(start, json.find(',', start) - start);
}

std::string encodedDate(double committedAt)
{
    Snapshot snapshot;
    snapshot.committedCards.push_back({"c", "s", "t", committedAt});
    const std::string json = encodeSnapshot(snapshot);
    const auto start = json.find("\"committedAt\":") + 14;
    return json.substr(start, json.find('}', start) - start);
}

TEST(WireEncoding, InitialSnapshotIsTheExampleLine)
{
    EXPECT_EQ(encodeHostMessage(HostMessage::makeSnapshot(Snapshot::initial())), kInitialLine);
}

TEST(WireEncoding, CommandsAreExact)
{
    EXPECT_EQ(encodeCommand(Command::stop()), R"({"type":"stop"})");
    EXPECT_EQ(encodeCommand(Command::start()), R"({"type":"start"})");
    EXPECT_EQ(encodeCommand(Command::cancel()), R"({"type":"cancel"})");
    EXPECT_EQ(encodeCommand(Command::hide()), R"({"type":"hide"})");
    EXPECT_EQ(encodeCommand(Command::swapLanguages()), R"({"type":"swap_languages"})");
    EXPECT_EQ(encodeCommand(Command::requestMoreTime()), R"({"type":"request_more_time"})");
    EXPECT_EQ(encodeCommand(Command::setSourceLanguage("")),
        R"({"type":"set_source_language","string_value":""})");
    EXPECT_EQ(encodeCommand(Command::setTargetLanguage("en")),
        R"({"type":"set_target_language","string_value":"en"})");
    EXPECT_EQ(encodeCommand(Command::setAudioSource("bundle:com.apple.Music")),
        R"({"type":"set_audio_source","string_value":"bundle:com.apple.Music"})");
    EXPECT_EQ(encodeCommand(Command::setShowsSourceText(false)),
        R"({"type":"set_shows_source_text","bool_value":false})");
    EXPECT_EQ(encodeCommand(Command::setShowsSourceText(true)),
        R"({"type":"set_shows_source_text","bool_value":true})");
    // A value left in a command that carries none is not written.
    Command stale = Command::start();
    stale.stringValue = "x";
    stale.boolValue = true;
    EXPECT_EQ(encodeCommand(stale), R"({"type":"start"})");
}

TEST(WireEncoding, SnapshotKeysInTableOrderWithOptionalsOnlyWhenSet)
{
    Snapshot s;
    s.generation = 7;
    s.lifecycle = LiveTranslationHelperLifecycle::reconnecting;
    s.sourceLanguages = {{"de", "Deutsch"}};
    s.audioSources = {{"mac-audio", "All Mac audio"}};
    s.captureFallbackNotice = "fell back";
    s.droppedCaptureBuffers = -2;
    s.captureAudioLevel = 0.5F;
    s.committedCards = {{"c1", "a", "b", 1.5}};
    s.activeTranslatedText = "";
    EXPECT_EQ(encodeSnapshot(s),
        R"({"generation":7,"lifecycle":"reconnecting","statusMessage":"Connecting to Tavu",)"
        R"("hasFailure":false,"canRequestMoreTime":false,"isSessionActive":false,)"
        R"("isStartEnabled":false,"sourceLanguage":"multi","targetLanguage":"en",)"
        R"("selectedAudioSourceID":"mac-audio",)"
        R"("sourceLanguages":[{"id":"de","displayName":"Deutsch"}],"targetLanguages":[],)"
        R"("audioSources":[{"id":"mac-audio","displayName":"All Mac audio"}],)"
        R"("actualAudioSourceDescription":"Mac Audio","captureFallbackNotice":"fell back",)"
        R"("droppedCaptureBuffers":-2,"captureAudioLevel":0.5,"appearanceMode":"system",)"
        R"("showsSourceText":true,)"
        R"("committedCards":[{"id":"c1","sourceText":"a","translatedText":"b","committedAt":1.5}],)"
        R"("activeTranslatedText":""})");
    EXPECT_EQ(
        encodeHostMessage(HostMessage::make(HostMessage::Kind::toggle)), R"({"type":"toggle"})");
}

TEST(WireEncoding, StringEscaping)
{
    EXPECT_EQ(encodedString(R"(say "hi" \ bye /)"), R"("say \"hi\" \\ bye /")");
    EXPECT_EQ(encodedString(std::string("\0\x01\x1f\n\r\t\b\f", 8)),
        R"("\u0000\u0001\u001f\u000a\u000d\u0009\u0008\u000c")");
    EXPECT_EQ(encodedString("\x7f"), "\"\x7f\"");
    EXPECT_EQ(encodedString("Grüße, 日本語, 🎧, \u2028"), "\"Grüße, 日本語, 🎧, \u2028\"");
}

TEST(WireEncoding, IllFormedUtf8BecomesReplacementCharacters)
{
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(encodedString("a\xFF"
                            "b"),
        "\"a" + r + "b\"");
    EXPECT_EQ(encodedString("\xE6\x97"), "\"" + r + "\""); // truncated: one subpart
    EXPECT_EQ(encodedString("\xE6\x97"
                            "a"),
        "\"" + r + "a\"");
    EXPECT_EQ(encodedString("\xC0\xAF"), "\"" + r + r + "\""); // overlong
    EXPECT_EQ(encodedString("\xED\xA0\x80"), "\"" + r + r + r + "\""); // surrogate
    EXPECT_EQ(encodedString("\xF4\x90\x80\x80"), "\"" + r + r + r + r + "\""); // > U+10FFFF
    EXPECT_EQ(encodedString("\xF0\x9F\x8E"), "\"" + r + "\"");
    EXPECT_EQ(encodedString("\x80\xBF"), "\"" + r + r + "\"");
    // Whatever the bytes, the output is a line that decodes.
    WireDecoder decoder;
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const auto decoded = decoder.decodeCommand(encodeCommand(Command::setSourceLanguage(all)));
    ASSERT_TRUE(decoded) << decoded.error.message();
    EXPECT_EQ(decoded.value->stringValue.substr(0, 128), all.substr(0, 128));
}

TEST(WireEncoding, NumbersAreShortestAndReadable)
{
    EXPECT_EQ(encodedLevel(0.0F), "0");
    EXPECT_EQ(encodedLevel(0.1F), "0.1");
    EXPECT_EQ(encodedLevel(0.25F), "0.25");
    EXPECT_EQ(encodedLevel(100.0F), "100");
    EXPECT_EQ(encodedLevel(16777216.0F), "16777216");
    EXPECT_EQ(encodedLevel(-0.0F), "-0.0");
    EXPECT_EQ(encodedDate(-0.0), "-0.0");
    EXPECT_EQ(encodedLevel(FLT_MAX), "3.4028235e+38");
    EXPECT_EQ(encodedLevel(std::numeric_limits<float>::denorm_min()), "1e-45");
    EXPECT_EQ(encodedDate(0), "0");
    EXPECT_EQ(encodedDate(700000000), "700000000");
    EXPECT_EQ(encodedDate(700000000.125), "700000000.125");
    EXPECT_EQ(encodedDate(-86400.5), "-86400.5");
    EXPECT_EQ(encodedDate(0.1), "0.1");
    EXPECT_EQ(encodedDate(1e300), "1e+300");
    // Never a run of digits that a 64-bit integer parser refuses.
    EXPECT_EQ(encodedDate(-2.0386146725839228e20), "-2.0386146725839228e+20");
    EXPECT_EQ(encodedDate(1e16), "1e+16");
    EXPECT_EQ(encodedLevel(1.2345678e20F), "1.2345678e+20");
    Snapshot s;
    s.generation = std::numeric_limits<std::uint64_t>::max();
    s.droppedCaptureBuffers = std::numeric_limits<std::int64_t>::min();
    const std::string json = encodeSnapshot(s);
    EXPECT_NE(json.find(R"("generation":18446744073709551615,)"), std::string::npos);
    EXPECT_NE(json.find(R"("droppedCaptureBuffers":-9223372036854775808,)"), std::string::npos);
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
    std::string cards = R"("committedCards":[)";
    for (int i = 0; i < 3; ++i)
        cards += R"({"id":"c","sourceText":"s","translatedText":"t","committedAt":1},)";
    cards += R"({"id":"c","sourceText":"s","translatedText":"t","committedAt":"noon"}])";
    const std::string a63(63, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {edited(R"("committedCards":[])", cards),
            "snapshot.committedCards[3].committedAt: expected a number, found a string"},
        {edited("inactive", "paused"), R"(snapshot.lifecycle: unknown value "paused")"},
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
        {R"({"type":"snapshot"})", "snapshot: missing required key"},
        {"[1]", "expected an object, found an array"},
        {"", "invalid JSON: empty line"},
        {"{\"type\":\"show\",\"x\":\"\xff\"}", "invalid JSON: not valid UTF-8"},
        // Long unknown values are cut, on a character boundary.
        {R"({"type":")" + a63 + R"(ébbbb"})", "type: unknown value \"" + a63 + "\"..."},
    };
    for (const auto &[line, expected] : cases)
        EXPECT_EQ(decoder.decodeHostMessage(line).error.message(), expected) << line;
    EXPECT_EQ(decoder.decodeHostMessage(R"({"type":"show"} {})")
                  .error.message()
                  .rfind("invalid JSON: ", 0),
        0U);
}

TEST(WireDecoding, DecodesExactlyTheBytesOfTheViewItIsGiven)
{
    WireDecoder decoder;
    const std::string buffer = R"({"type":"hide"}{"type":"show"}garbage)";
    const auto hide = decoder.decodeHostMessage(std::string_view(buffer).substr(0, 15));
    ASSERT_TRUE(hide) << hide.error.message();
    EXPECT_EQ(hide.value->kind, HostMessage::Kind::hide);
    const auto show = decoder.decodeHostMessage(std::string_view(buffer).substr(15, 15));
    ASSERT_TRUE(show) << show.error.message();
    EXPECT_EQ(show.value->kind, HostMessage::Kind::show);
}

TEST(WireDecoding, OneDecoderServesLinesOfAnySizeInTurn)
{
    WireDecoder decoder;
    Snapshot big;
    for (int i = 0; i < 5000; ++i)
        big.committedCards.push_back(
            {std::to_string(i), "Quelle heure est-il ?", "何時ですか", i * 1.5});
    const auto message = HostMessage::makeSnapshot(big);
    for (int round = 0; round < 3; ++round) {
        EXPECT_FALSE(decoder.decodeHostMessage("{\"type\":"));
        const auto decoded = decoder.decodeHostMessage(encodeHostMessage(message));
        ASSERT_TRUE(decoded) << decoded.error.message();
        EXPECT_EQ(*decoded.value, message);
        const auto small = decoder.decodeHostMessage(R"({"type":"terminate"})");
        ASSERT_TRUE(small);
        EXPECT_EQ(small.value->kind, HostMessage::Kind::terminate);
    }
}

TEST(WireRoundTrip, RandomSnapshotsAndCommandsSurviveEncodeAndDecode)
{
    std::mt19937 random(20240607);
    WireDecoder decoder;
    for (int i = 0; i < 2000; ++i) {
        const auto message = HostMessage::makeSnapshot(
            wiretest::randomSnapshot(random, i % 2 == 0 ? i : wiretest::randomBits(random), 5));
        const std::string line = encodeHostMessage(message);
        ASSERT_EQ(line.find('\n'), std::string::npos);
        const auto decoded = decoder.decodeHostMessage(line);
        ASSERT_TRUE(decoded) << decoded.error.message() << " in " << line;
        ASSERT_EQ(*decoded.value, message);
        ASSERT_EQ(encodeHostMessage(*decoded.value), line);
        ASSERT_EQ(std::signbit(decoded.value->snapshot->captureAudioLevel),
            std::signbit(message.snapshot->captureAudioLevel));

        const Command command = i % 2 == 0
            ? Command::setTargetLanguage(wiretest::randomText(random))
            : Command::setShowsSourceText(i % 4 == 1);
        const auto decodedCommand = decoder.decodeCommand(encodeCommand(command));
        ASSERT_TRUE(decodedCommand) << decodedCommand.error.message();
        ASSERT_EQ(*decodedCommand.value, command);
    }
}

} // namespace

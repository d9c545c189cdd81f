// Decoding into storage that held an earlier value: the result must be exactly the new value (no
// leftover items, no stale optional texts, no text of the old value). What reuse saves is measured
// in bench/wire_bench.

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "line_decoder.hpp"
#include "random_snapshots.hpp"
#include "wire_codec.hpp"
#include "wire_printers.hpp"

namespace {

using HostMessage = LiveTranslationHelperHostMessage;
using Kind = HostMessage::Kind;
using Snapshot = LiveTranslationHelperSnapshot;
using Decoder = LiveTranslationHelperLineDecoder;

std::string lineOf(const Snapshot &snapshot)
{
    return encodeHostMessage(HostMessage::makeSnapshot(snapshot));
}

// A snapshot with many cards, long texts and every optional text present.
Snapshot longSnapshot()
{
    Snapshot s;
    s.generation = 9;
    s.statusMessage = std::string(200, 's');
    s.sourceLanguages = {{"de", "German, with a long display name"}, {"ja", "日本語"}, {"x", "y"}};
    s.audioSources = {{"mac-audio", "Mac Audio"}, {"bundle:org.mozilla.firefox", "Firefox"}};
    s.captureFallbackNotice = std::string(80, 'n');
    s.activeSourceText = "Und jetzt zum nächsten Punkt der Tagesordnung";
    s.activeTranslatedText = "And now to the next item on the agenda";
    for (int i = 0; i < 50; ++i) {
        s.committedCards.push_back({"card-" + std::to_string(i), std::string(100 + i, 'S'),
            std::string(90 + i, 'T'), 700000000.0 + i});
    }
    return s;
}

// Fewer cards and options, shorter texts, no optional texts.
Snapshot shortSnapshot()
{
    Snapshot s;
    s.generation = 10;
    s.statusMessage = "ok";
    s.sourceLanguages = {{"fr", "Fr"}};
    s.committedCards = {{"a", "b", "", 1.5}, {"c", "d", "e", 2.5}};
    return s;
}

// The line with the optional texts written as null instead of left out.
std::string withNullOptionals(std::string line)
{
    EXPECT_EQ(line.substr(line.size() - 2), "}}");
    line.insert(line.size() - 2,
        R"(,"captureFallbackNotice":null,"activeSourceText":null,"activeTranslatedText":null)");
    return line;
}

TEST(DecodeReuse, ShorterSnapshotAfterALongerOneIsExactlyTheShorterOne)
{
    WireDecoder decoder;
    WireDecodeError error;
    for (const std::string &shortLine :
        {lineOf(shortSnapshot()), withNullOptionals(lineOf(shortSnapshot()))}) {
        HostMessage message;
        ASSERT_TRUE(decoder.decodeHostMessage(lineOf(longSnapshot()), message, error));
        ASSERT_EQ(message, HostMessage::makeSnapshot(longSnapshot()));
        ASSERT_TRUE(decoder.decodeHostMessage(shortLine, message, error)) << error.message();
        EXPECT_EQ(message, HostMessage::makeSnapshot(shortSnapshot()));
    }
}

TEST(DecodeReuse, OtherKindsDropTheSnapshotFromAMessage)
{
    WireDecoder decoder;
    WireDecodeError error;
    HostMessage message = HostMessage::makeSnapshot(longSnapshot());
    ASSERT_TRUE(decoder.decodeHostMessage(R"({"type":"hide"})", message, error));
    EXPECT_EQ(message, HostMessage::make(Kind::hide));
    message = HostMessage::makeSnapshot(longSnapshot());
    ASSERT_TRUE(decoder.decodeHostMessage(R"({"type":"toggle","snapshot":5})", message, error));
    EXPECT_EQ(message, HostMessage::make(Kind::toggle));
}

TEST(DecodeReuse, ALineRejectedHalfwayLeavesNothingBehindForTheNextOne)
{
    WireDecoder decoder;
    WireDecodeError error;
    HostMessage message;
    ASSERT_TRUE(decoder.decodeHostMessage(lineOf(longSnapshot()), message, error));
    // Fails at its second card, after the first was written over and the texts before it read.
    Snapshot bad = shortSnapshot();
    bad.statusMessage = "half";
    bad.activeSourceText = "half";
    std::string line = lineOf(bad);
    const std::size_t at = line.find(R"("committedAt":2.5)");
    ASSERT_NE(at, std::string::npos);
    line.replace(at, 17, R"("committedAt":"2")");
    EXPECT_FALSE(decoder.decodeHostMessage(line, message, error));
    EXPECT_EQ(error.message(),
        "snapshot.committedCards[1].committedAt: expected a number, found a string");
    ASSERT_TRUE(decoder.decodeHostMessage(lineOf(shortSnapshot()), message, error));
    EXPECT_EQ(message, HostMessage::makeSnapshot(shortSnapshot()));
}

TEST(DecodeReuse, RandomSequenceDecodedIntoOneMessageMatchesFreshDecoding)
{
    std::mt19937 random(20240611);
    WireDecoder reused;
    WireDecoder fresh;
    HostMessage message;
    WireDecodeError error;
    for (std::uint64_t i = 0; i < 400; ++i) {
        std::string line;
        switch (random() % 6) {
        case 0: line = R"({"type":"show"})"; break;
        case 1: line = R"({"type":"snapshot","snapshot":{"generation":-1}})"; break;
        default: line = lineOf(wiretest::randomSnapshot(random, i, 60)); break;
        }
        const auto expected = fresh.decodeHostMessage(line);
        ASSERT_EQ(reused.decodeHostMessage(line, message, error), expected.value.has_value());
        if (expected.value) {
            ASSERT_EQ(message, *expected.value) << "line " << i;
        }
    }
}

// The line decoder and a consumer that, like the model, exchanges each snapshot for the one it
// held, handing the older one back.
class LineDecoderReuse : public ::testing::Test {
protected:
    std::vector<HostMessage> feed(const std::string &chunk)
    {
        std::vector<HostMessage> messages = m_decoder.append(chunk);
        std::vector<HostMessage> copies;
        for (HostMessage &message : messages) {
            copies.push_back(message);
            if (message.snapshot)
                std::swap(m_held, *message.snapshot);
        }
        m_decoder.recycle(std::move(messages));
        return copies;
    }

    Decoder m_decoder;
    Snapshot m_held;
};

TEST_F(LineDecoderReuse, AnyChunksOfRandomSnapshotsComeOutExact)
{
    std::mt19937 random(7);
    WireDecoder fresh;
    std::string stream;
    std::vector<HostMessage> expected;
    for (std::uint64_t i = 0; i < 300; ++i) {
        std::string line;
        if (random() % 5 == 0) {
            line = R"({"type":"snapshot","snapshot":{"generation":"bad"}})"; // rejected
        } else if (random() % 4 == 0) {
            line = R"({"type":"toggle"})";
        } else {
            line = lineOf(wiretest::randomSnapshot(random, i, 80));
        }
        if (auto decoded = fresh.decodeHostMessage(line))
            expected.push_back(std::move(*decoded.value));
        stream += line + "\n";
    }
    // Chunks of up to a few bytes split every multi-byte character somewhere.
    for (const std::size_t most : {13U, 6000U, 70000U}) {
        std::vector<HostMessage> received;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t size = 1 + random() % most;
            for (HostMessage &message : feed(stream.substr(at, size)))
                received.push_back(std::move(message));
            at += size;
            ASSERT_LE(m_decoder.bufferedBytes(), Decoder::kMaxBufferedBytes);
        }
        EXPECT_EQ(m_decoder.bufferedBytes(), 0U);
        ASSERT_EQ(received.size(), expected.size()) << "chunks of up to " << most << " bytes";
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(received[i], expected[i]) << "message " << i << ", chunks up to " << most;
    }
}

} // namespace

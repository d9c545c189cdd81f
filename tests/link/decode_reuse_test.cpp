// Decoding into storage that held an earlier value: the result must be exactly the new value (no
// leftover items, no stale optional texts, no text of the old value), and once the storage is
// large enough, decoding allocates nothing.

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "line_decoder.hpp"
#include "random_snapshots.hpp"
#include "wire_codec.hpp"
#include "wire_printers.hpp"

// Every allocation of this test program is counted.
namespace {
std::atomic<std::size_t> g_allocations {0};
} // namespace

// Every form but the aligned ones, so that all blocks come from malloc and go back to free.
namespace {
void *countedAllocation(std::size_t size) noexcept
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

void *operator new(std::size_t size)
{
    if (void *block = countedAllocation(size))
        return block;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size)
{
    return operator new(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return countedAllocation(size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return countedAllocation(size);
}
void operator delete(void *block) noexcept
{
    std::free(block);
}
void operator delete[](void *block) noexcept
{
    std::free(block);
}
void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void *block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete(void *block, const std::nothrow_t &) noexcept
{
    std::free(block);
}
void operator delete[](void *block, const std::nothrow_t &) noexcept
{
    std::free(block);
}

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

        // The same through the overload that keeps the storage apart from the message.
        Kind kind = Kind::show;
        Snapshot storage = longSnapshot();
        ASSERT_TRUE(decoder.decodeHostMessage(shortLine, kind, storage, error));
        EXPECT_EQ(kind, Kind::snapshot);
        EXPECT_EQ(storage, shortSnapshot());
    }
}

TEST(DecodeReuse, OtherKindsDropTheSnapshotFromAMessageButLeaveSeparateStorageAlone)
{
    WireDecoder decoder;
    WireDecodeError error;
    HostMessage message = HostMessage::makeSnapshot(longSnapshot());
    ASSERT_TRUE(decoder.decodeHostMessage(R"({"type":"hide"})", message, error));
    EXPECT_EQ(message, HostMessage::make(Kind::hide));

    Kind kind = Kind::snapshot;
    Snapshot storage = longSnapshot();
    ASSERT_TRUE(
        decoder.decodeHostMessage(R"({"type":"toggle","snapshot":5})", kind, storage, error));
    EXPECT_EQ(kind, Kind::toggle);
    EXPECT_EQ(storage, longSnapshot());
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
    Kind kind = Kind::show;
    Snapshot storage;
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
        ASSERT_EQ(reused.decodeHostMessage(line, kind, storage, error), expected.value.has_value());
        if (!expected.value)
            continue;
        ASSERT_EQ(message, *expected.value) << "line " << i;
        ASSERT_EQ(kind, expected.value->kind);
        if (expected.value->snapshot)
            ASSERT_EQ(storage, *expected.value->snapshot) << "line " << i;
    }
}

TEST(DecodeReuse, DecodingASnapshotOfTheSameShapeAgainAllocatesNothing)
{
    WireDecoder decoder;
    WireDecodeError error;
    HostMessage message;
    const std::string line = lineOf(longSnapshot());
    Snapshot shorterTexts = longSnapshot();
    for (auto &card : shorterTexts.committedCards)
        card.sourceText.resize(card.sourceText.size() / 2);
    const std::string shorterLine = lineOf(shorterTexts);
    ASSERT_TRUE(decoder.decodeHostMessage(line, message, error));

    const std::size_t before = g_allocations.load();
    const bool again = decoder.decodeHostMessage(line, message, error);
    const bool shorter = decoder.decodeHostMessage(shorterLine, message, error);
    const std::size_t allocations = g_allocations.load() - before;
    EXPECT_TRUE(again && shorter);
    EXPECT_EQ(allocations, 0U);
    EXPECT_EQ(message, HostMessage::makeSnapshot(shorterTexts));
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

    // Allocations made while feeding the chunk and handing its messages back.
    std::size_t allocationsFeeding(const std::string &chunk)
    {
        const std::size_t before = g_allocations.load();
        std::vector<HostMessage> messages = m_decoder.append(chunk);
        for (HostMessage &message : messages) {
            if (message.snapshot)
                std::swap(m_held, *message.snapshot);
        }
        m_decoder.recycle(std::move(messages));
        return g_allocations.load() - before;
    }

    Decoder m_decoder;
    Snapshot m_held;
};

TEST_F(LineDecoderReuse, SteadyStreamOfSnapshotsAllocatesNothingAndOtherLinesKeepTheSpares)
{
    // Each kind of chunk once to grow the lists of lines and messages, then the same again.
    const std::string line = lineOf(longSnapshot()) + "\n";
    const std::string show = R"({"type":"show"})"
                             "\n";
    for (int i = 0; i < 3; ++i)
        feed(line);
    EXPECT_EQ(allocationsFeeding(line), 0U);
    feed(show + line + show);
    EXPECT_EQ(allocationsFeeding(show + line + show), 0U);
    feed(line + line); // two snapshots in one chunk: a second spare from then on
    feed(line + show + line);
    EXPECT_EQ(allocationsFeeding(line + show + line), 0U);
    EXPECT_EQ(m_held, longSnapshot());
}

TEST_F(LineDecoderReuse, KeepsAtMostTwoSparesHoweverManyComeBack)
{
    const std::string line = lineOf(longSnapshot()) + "\n";
    std::string five;
    for (int i = 0; i < 5; ++i)
        five += line;
    feed(five);
    feed(five);
    EXPECT_EQ(allocationsFeeding(line + line), 0U);
    feed(five);
    EXPECT_GT(allocationsFeeding(line + line + line), 0U);
}

TEST_F(LineDecoderReuse, BurstsOfSmallSnapshotsReuseTheirStorageUpToABound)
{
    Snapshot small = shortSnapshot();
    small.statusMessage = "Listening to the meeting room";
    small.committedCards[0].sourceText = "Guten Morgen und herzlich willkommen";
    const std::string line = lineOf(small) + "\n";
    ASSERT_LT(line.size(), Decoder::kSmallSpareBytes);
    std::string burst;
    for (int i = 0; i < 60; ++i)
        burst += line;
    feed(burst);
    feed(burst);
    EXPECT_EQ(allocationsFeeding(burst), 0U);

    std::string flood;
    for (std::size_t i = 0; i < 2 * Decoder::kMaxSmallSpareSnapshots; ++i)
        flood += line;
    feed(flood);
    feed(flood);
    EXPECT_GT(allocationsFeeding(flood), 0U); // not every one of them was kept
    EXPECT_EQ(m_held, small);
}

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

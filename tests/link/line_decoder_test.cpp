// Line framing: lines across chunks, several per chunk, empty and bad lines, and the 2 MiB limit.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "line_decoder.hpp"
#include "wire_printers.hpp"

namespace {

using Decoder = LiveTranslationHelperLineDecoder;
using HostMessage = LiveTranslationHelperHostMessage;
using Kind = HostMessage::Kind;

constexpr std::size_t kLimit = Decoder::kMaxBufferedBytes;
const std::string kShow = R"({"type":"show"})";
const std::string kHide = R"({"type":"hide"})";

std::vector<Kind> kinds(const std::vector<HostMessage> &messages)
{
    std::vector<Kind> out;
    out.reserve(messages.size());
    for (const auto &message : messages)
        out.push_back(message.kind);
    return out;
}

// A valid host message line (without its line feed) of exactly `size` bytes.
std::string paddedShowLine(std::size_t size)
{
    const std::string head = R"({"type":"show","pad":")";
    const std::string tail = R"("})";
    return head + std::string(size - head.size() - tail.size(), 'x') + tail;
}

class LineDecoderTest : public ::testing::Test {
protected:
    LineDecoderTest()
    {
        m_decoder.onRejected = [this](std::string_view line, const WireDecodeError &) {
            m_rejected.emplace_back(line);
        };
    }

    std::vector<HostMessage> feed(std::string_view chunk) { return m_decoder.append(chunk); }

    Decoder m_decoder;
    std::vector<std::string> m_rejected;
};

TEST(LineDecoder, ChunksGiveTheirCompleteLinesInOrderAndRejectOnlyBadOnes)
{
    struct Case {
        std::vector<std::string> chunks;
        std::vector<Kind> kinds;
        std::vector<std::string> rejected;
    };
    const Case cases[] = {
        // A line split over chunks yields its message at its line feed.
        {{R"({"type":)", R"("toggle"})", "\n"}, {Kind::toggle}, {}},
        {{kShow + "\n" + kHide + "\n" + R"({"type":"terminate"})" + "\n" + R"({"type":"to)",
             "ggle\"}\n"},
            {Kind::show, Kind::hide, Kind::terminate, Kind::toggle}, {}},
        // Empty lines are skipped without a rejection.
        {{"\n\n\n", "\n" + kShow + "\n\n\n" + kHide + "\n\n", ""}, {Kind::show, Kind::hide}, {}},
        // A bad line between good ones vanishes.
        {{kShow + "\n{\"type\":\"sh\n" + kHide + "\n"}, {Kind::show, Kind::hide},
            {"{\"type\":\"sh"}},
        // Lines are decoded unchanged: a carriage return is JSON white space after the object, but
        // a line of one is not empty.
        {{kShow + "\r\n\r\n  \n"}, {Kind::show}, {"\r", "  "}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chunks.front());
        Decoder decoder;
        std::vector<std::string> rejected;
        decoder.onRejected
            = [&](std::string_view line, const WireDecodeError &) { rejected.emplace_back(line); };
        std::vector<Kind> got;
        for (const std::string &chunk : c.chunks) {
            for (const Kind kind : kinds(decoder.append(chunk)))
                got.push_back(kind);
        }
        EXPECT_EQ(got, c.kinds);
        EXPECT_EQ(rejected, c.rejected);
        EXPECT_EQ(decoder.bufferedBytes(), 0U);
    }
}

TEST_F(LineDecoderTest, ChunkOfManyShortLinesIsCheap)
{
    // A whole buffer of line feeds and scraps: no message, and nothing reserved per line.
    std::string scraps;
    while (scraps.size() < kLimit)
        scraps += "\n\nx\n{}\n";
    scraps.resize(kLimit);
    const auto none = feed(scraps);
    EXPECT_TRUE(none.empty());
    EXPECT_LE(none.capacity(), 1U); // one slot, reused by every line that failed
    const auto one = feed("\n\n" + kShow + "\n\n");
    EXPECT_EQ(kinds(one), std::vector<Kind> {Kind::show});
    EXPECT_EQ(one.capacity(), 1U);
}

TEST_F(LineDecoderTest, BufferOfExactlyTheLimitStaysAndOneByteMoreEmptiesIt)
{
    const std::string half(kLimit / 2, 'x');
    EXPECT_TRUE(feed(half).empty());
    EXPECT_TRUE(feed(half).empty());
    EXPECT_EQ(m_decoder.bufferedBytes(), kLimit);
    EXPECT_TRUE(feed("\n").empty()); // the line feed would complete it, but it is one byte too many
    EXPECT_EQ(m_decoder.bufferedBytes(), 0U);
    EXPECT_TRUE(m_rejected.empty());
    // Decoding resumes with the next chunk.
    EXPECT_EQ(kinds(feed(kShow + "\n")), std::vector<Kind> {Kind::show});
}

TEST_F(LineDecoderTest, LongestLineThatFitsIsDelivered)
{
    const std::string line = paddedShowLine(kLimit - 1);
    EXPECT_TRUE(feed(line.substr(0, 1000)).empty());
    EXPECT_EQ(kinds(feed(line.substr(1000) + "\n")), std::vector<Kind> {Kind::show});
    EXPECT_EQ(m_decoder.bufferedBytes(), 0U);
    // The same line in one chunk, and one byte longer in one chunk.
    EXPECT_EQ(kinds(feed(line + "\n")), std::vector<Kind> {Kind::show});
    EXPECT_TRUE(feed(paddedShowLine(kLimit) + "\n").empty());
    EXPECT_TRUE(m_rejected.empty());
}

TEST_F(LineDecoderTest, ChunkWithCompleteLinesThatCrossesTheLimitYieldsNothing)
{
    EXPECT_TRUE(feed(std::string(kLimit - 100, ' ')).empty());
    // Completes the pending (blank, hence rejected) line and two good ones, but crosses the limit.
    const std::string chunk = "\n" + kShow + "\n" + kHide + "\n" + std::string(100, 'y');
    EXPECT_TRUE(feed(chunk).empty());
    EXPECT_EQ(m_decoder.bufferedBytes(), 0U);
    EXPECT_TRUE(m_rejected.empty());

    // A chunk that alone is over the limit is lost whole as well.
    std::string huge;
    while (huge.size() <= kLimit)
        huge += kShow + "\n";
    EXPECT_TRUE(feed(huge).empty());
    EXPECT_EQ(m_decoder.bufferedBytes(), 0U);
}

TEST_F(LineDecoderTest, RestOfACutLineIsRejectedAndTheNextLineDecodes)
{
    const std::string line = paddedShowLine(kLimit + 10);
    EXPECT_TRUE(feed(line.substr(0, kLimit)).empty());
    EXPECT_TRUE(feed(line.substr(kLimit, 5)).empty()); // crosses: everything is dropped
    EXPECT_EQ(
        kinds(feed(line.substr(kLimit + 5) + "\n" + kHide + "\n")), std::vector<Kind> {Kind::hide});
    ASSERT_EQ(m_rejected.size(), 1U);
    EXPECT_EQ(m_rejected[0], line.substr(kLimit + 5));
}

} // namespace

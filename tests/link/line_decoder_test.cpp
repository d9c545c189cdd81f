// Line framing: lines across chunks, several per chunk, empty and bad lines, and the 2 MiB limit.

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "line_decoder.hpp"
#include "wire_printers.hpp"

namespace {

using Decoder = LiveTranslationHelperLineDecoder;
using HostMessage = LiveTranslationHelperHostMessage;
using Kind = HostMessage::Kind;

constexpr std::size_t kLimit = 2097152;
constexpr std::size_t kLongest = kLimit - 1;
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

// A valid host message line of that type (without its line feed) of exactly `size` bytes.
std::string paddedLine(const std::string &type, std::size_t size)
{
    const std::string head = R"({"type":")" + type + R"(","pad":")";
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

TEST(LineDecoder, LinesUpToTheLimitPassAndLongerOnesAloneAreDroppedWhateverTheChunking)
{
    const std::string longest = paddedLine("toggle", kLongest); // with its line feed: the cap
    const std::string over = paddedLine("show", kLongest + 1);
    const std::string hide = kHide + "\n";
    struct Case {
        const char *name;
        std::string stream;
        std::vector<Kind> kinds;
        std::size_t bufferedAtEnd;
    };
    const Case cases[] = {
        {"longest between small", hide + longest + "\n" + hide,
            {Kind::hide, Kind::toggle, Kind::hide}, 0},
        {"two longest in a row", longest + "\n" + longest + "\n" + hide,
            {Kind::toggle, Kind::toggle, Kind::hide}, 0},
        {"over-long first", over + "\n" + hide + hide, {Kind::hide, Kind::hide}, 0},
        {"over-long between", hide + over + "\n" + hide, {Kind::hide, Kind::hide}, 0},
        {"over-long last", hide + over + "\n", {Kind::hide}, 0},
        {"over-long at the end of input", hide + over + "x", {Kind::hide}, 0},
        {"longest at the end of input", hide + longest, {Kind::hide}, kLongest},
        {"a full buffer, then its line feed", hide + std::string(kLongest + 1, ' ') + "\n" + hide,
            {Kind::hide, Kind::hide}, 0},
    };
    for (const Case &c : cases) {
        // Cut once just before, at and after every line feed and every point where a line
        // reaches the cap; and in the channel's 64 KiB reads.
        std::vector<std::vector<std::size_t>> chunkings = {{}};
        for (std::size_t at = 0; at < c.stream.size(); at += 65536)
            chunkings.front().push_back(at);
        for (std::size_t start = 0; start < c.stream.size();) {
            const std::size_t end = std::min(c.stream.find('\n', start), c.stream.size());
            for (const std::size_t point : {end, start + kLimit}) {
                for (const std::size_t cut : {point - 1, point, point + 1}) {
                    if (cut > 0 && cut < c.stream.size())
                        chunkings.push_back({0, cut});
                }
            }
            start = end + 1;
        }
        for (const auto &starts : chunkings) {
            SCOPED_TRACE(std::string(c.name) + ", cut at " + std::to_string(starts.back()));
            Decoder decoder;
            decoder.onRejected = [](std::string_view line, const WireDecodeError &error) {
                ADD_FAILURE() << "rejected " << line.substr(0, 40) << ": " << error.message();
            };
            std::vector<Kind> got;
            for (std::size_t i = 0; i < starts.size(); ++i) {
                const std::size_t to = i + 1 < starts.size() ? starts[i + 1] : c.stream.size();
                for (const Kind kind : kinds(decoder.append(
                         std::string_view(c.stream).substr(starts[i], to - starts[i]))))
                    got.push_back(kind);
                ASSERT_LE(decoder.bufferedBytes(), kLimit);
            }
            EXPECT_EQ(got, c.kinds);
            EXPECT_EQ(decoder.bufferedBytes(), c.bufferedAtEnd);
        }
    }
}

} // namespace

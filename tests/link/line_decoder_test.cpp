// Line framing: lines across chunks, several per chunk, empty and bad lines, the 2 MiB limit, and
// snapshots decoded into the storage a receiver hands back.

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "line_decoder.hpp"

namespace {

using Decoder = LiveTranslationHelperLineDecoder;
using HostMessage = LiveTranslationHelperHostMessage;
using Kind = HostMessage::Kind;

constexpr std::size_t kLimit = 2097152; // the longest line with its line feed
const std::string kShow = R"({"type":"show"})";
const std::string kHide = R"({"type":"hide"})";

// Feeds the chunks to one decoder; the kinds it gave and the lines it rejected.
struct Fed {
    std::vector<Kind> kinds;
    std::vector<std::string> rejected;
    std::size_t buffered = 0;
};

Fed feed(const std::vector<std::string_view> &chunks)
{
    Fed fed;
    Decoder decoder;
    decoder.onRejected
        = [&](std::string_view line, const WireDecodeError &) { fed.rejected.emplace_back(line); };
    for (const std::string_view chunk : chunks) {
        for (const auto &message : decoder.append(chunk))
            fed.kinds.push_back(message.kind);
        EXPECT_LE(decoder.bufferedBytes(), kLimit);
    }
    fed.buffered = decoder.bufferedBytes();
    return fed;
}

// Snapshots whose lists, texts and optional texts grow, shrink, appear and vanish from one to the
// next.
LiveTranslationHelperSnapshot variedSnapshot(std::uint64_t i)
{
    LiveTranslationHelperSnapshot s;
    s.generation = i;
    s.statusMessage.assign(i * 37 % 100, 'm');
    s.sourceLanguages.resize(i * 7 % 5, {"de", std::string(i % 30, 'D')});
    s.audioSources.resize(i % 3, {"bundle:x", "Grüße"});
    for (std::uint64_t k = 0; k < i * 13 % 40; ++k)
        s.committedCards.push_back(
            {"c" + std::to_string(k), "今日は" + std::string((i + k) % 90, 'S'),
                std::string(k % 7, 'T'), static_cast<double>(i + k) / 4});
    s.captureFallbackNotice = i % 2 == 0 ? "notice" : std::optional<std::string>();
    s.activeSourceText = i % 3 != 0 ? std::string(i % 60, 's') : std::optional<std::string>();
    s.activeTranslatedText = i % 5 != 0 ? "" : std::optional<std::string>();
    return s;
}

// A valid host message line of that type (without its line feed) of exactly `size` bytes.
std::string paddedLine(const std::string &type, std::size_t size)
{
    const std::string head = R"({"type":")" + type + R"(","pad":")";
    return head + std::string(size - head.size() - 2, 'x') + R"("})";
}

TEST(LineDecoder, ChunksGiveTheirCompleteLinesInOrderAndRejectOnlyBadOnes)
{
    struct Case {
        std::vector<std::string_view> chunks;
        std::vector<Kind> kinds;
        std::vector<std::string> rejected;
    };
    const std::string several
        = kShow + "\n" + kHide + "\n" + R"({"type":"terminate"})" + "\n" + R"({"type":"to)";
    const std::string blanks = "\n" + kShow + "\n\n\n" + kHide + "\n\n";
    const std::string bad = kShow + "\n{\"type\":\"sh\n" + kHide + "\n";
    const std::string spaces = kShow + "\r\n\r\n  \n";
    const Case cases[] = {
        // A line split over chunks yields its message at its line feed.
        {{R"({"type":)", R"("toggle"})", "\n"}, {Kind::toggle}, {}},
        {{several, "ggle\"}\n"}, {Kind::show, Kind::hide, Kind::terminate, Kind::toggle}, {}},
        // Empty lines are skipped without a rejection.
        {{"\n\n\n", blanks, ""}, {Kind::show, Kind::hide}, {}},
        {{bad}, {Kind::show, Kind::hide}, {"{\"type\":\"sh"}},
        // A carriage return is JSON white space after the object, but a line of one is not empty.
        {{spaces}, {Kind::show}, {"\r", "  "}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chunks.front());
        const Fed fed = feed(c.chunks);
        EXPECT_EQ(fed.kinds, c.kinds);
        EXPECT_EQ(fed.rejected, c.rejected);
        EXPECT_EQ(fed.buffered, 0U);
    }
}

TEST(LineDecoder, LinesUpToTheLimitPassAndLongerOnesAloneAreDroppedWhateverTheChunking)
{
    const std::string longest = paddedLine("toggle", kLimit - 1);
    const std::string over = paddedLine("show", kLimit);
    const std::string hide = kHide + "\n";
    struct Case {
        std::string stream;
        std::vector<Kind> kinds;
        std::size_t bufferedAtEnd;
    };
    const Case cases[] = {
        {hide + longest + "\n" + hide, {Kind::hide, Kind::toggle, Kind::hide}, 0},
        {longest + "\n" + longest + "\n" + hide, {Kind::toggle, Kind::toggle, Kind::hide}, 0},
        {over + "\n" + hide + hide, {Kind::hide, Kind::hide}, 0},
        {hide + over + "\n" + hide, {Kind::hide, Kind::hide}, 0},
        {hide + over + "\n", {Kind::hide}, 0},
        {hide + over + "x", {Kind::hide}, 0}, // over-long at the end of input
        {hide + longest, {Kind::hide}, 2097151}, // the longest, waiting for its line feed
        {hide + std::string(kLimit, ' ') + "\n" + hide, {Kind::hide, Kind::hide}, 0},
    };
    for (std::size_t n = 0; n < std::size(cases); ++n) {
        const Case &c = cases[n];
        const std::string_view stream = c.stream;
        // In the channel's 64 KiB reads, and cut once just before, at and after every line feed
        // and every point where a line reaches the cap.
        std::vector<std::vector<std::string_view>> chunkings(1);
        for (std::size_t at = 0; at < stream.size(); at += 65536)
            chunkings.front().push_back(stream.substr(at, 65536));
        for (std::size_t start = 0; start < stream.size();) {
            const std::size_t end = std::min(stream.find('\n', start), stream.size());
            for (const std::size_t point : {end, start + kLimit}) {
                for (const std::size_t cut : {point - 1, point, point + 1}) {
                    if (cut > 0 && cut < stream.size())
                        chunkings.push_back({stream.substr(0, cut), stream.substr(cut)});
                }
            }
            start = end + 1;
        }
        for (const auto &chunks : chunkings) {
            SCOPED_TRACE("case " + std::to_string(n) + ", first chunk "
                + std::to_string(chunks.front().size()) + " bytes");
            const Fed fed = feed(chunks);
            EXPECT_EQ(fed.kinds, c.kinds);
            EXPECT_TRUE(fed.rejected.empty());
            EXPECT_EQ(fed.buffered, c.bufferedAtEnd);
        }
    }
}

TEST(LineDecoder, GivesExactSnapshotsWhateverTheReceiverLeavesInThem)
{
    // A receiver exchanges each snapshot for the one it held (as the model does), moves it out,
    // scribbles over it, or leaves it; the decoder reuses what is handed back for later lines.
    std::mt19937 random(7);
    std::string stream;
    std::vector<HostMessage> expected;
    for (std::uint64_t i = 0; i < 300; ++i) {
        std::string line = encodeHostMessage(HostMessage::makeSnapshot(variedSnapshot(i)));
        if (i % 3 == 0) // written as null instead of left out: it must clear the earlier text
            line.insert(line.size() - 2, R"(,"activeSourceText":null)");
        if (random() % 5 == 0) { // rejected at its last field, after the others were read
            line.insert(line.size() - 2, R"(,"activeTranslatedText":1)");
        } else if (random() % 4 == 0) {
            line = R"({"type":"toggle"})";
            expected.push_back(HostMessage::make(Kind::toggle));
        } else {
            expected.push_back(HostMessage::makeSnapshot(variedSnapshot(i)));
        }
        stream += line + "\n";
    }
    // Chunks of up to a few bytes split every multi-byte character somewhere.
    for (const std::size_t most : {13U, 6000U, 70000U}) {
        Decoder decoder;
        LiveTranslationHelperSnapshot held;
        std::size_t received = 0;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t size = 1 + random() % most;
            std::vector<HostMessage> messages = decoder.append(stream.substr(at, size));
            at += size;
            for (HostMessage &message : messages) {
                ASSERT_LT(received, expected.size());
                ASSERT_EQ(message, expected[received]) << "message " << received << ", " << most;
                if (message.snapshot) {
                    switch (received % 4) {
                    case 0: std::swap(held, *message.snapshot); break;
                    case 1: held = std::move(*message.snapshot); break;
                    case 2:
                        message.snapshot->committedCards.push_back({"stale", "stale", "stale", 1});
                        message.snapshot->activeSourceText = "stale";
                        message.snapshot->statusMessage += "stale";
                        break;
                    default: break;
                    }
                }
                ++received;
            }
            decoder.recycle(std::move(messages));
        }
        EXPECT_EQ(decoder.bufferedBytes(), 0U);
        EXPECT_EQ(received, expected.size());
    }
}

} // namespace

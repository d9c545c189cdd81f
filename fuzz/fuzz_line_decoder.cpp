// Feeds arbitrary chunk sequences to the line decoder, handing its messages back with stale
// contents after each chunk; a few chunks are runs of blanks about as long as the 2 MiB cap, so
// that lines of every length around it come through (blanks before an object are legal). Checks
// that it delivers exactly what decoding each complete line of at most the longest length on its
// own gives, that its buffer stays within the limit, and that every accepted message re-encodes
// to a line that decodes to the same value.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "line_decoder.hpp"
#include "wire_codec.hpp"

namespace {

using Decoder = LiveTranslationHelperLineDecoder;

constexpr std::size_t kMaxChunkBytes = 600;
// Runs of blanks: lengths within this distance of the cap, at most this many per input.
constexpr std::size_t kBlankRunSpread = 16;
constexpr int kMaxBlankRuns = 3;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

WireDecoder &referenceDecoder()
{
    static WireDecoder decoder;
    return decoder;
}

void checkRoundTrip(const LiveTranslationHelperHostMessage &message)
{
    const std::string line = encodeHostMessage(message);
    check(!line.empty());
    check(line.find('\n') == std::string::npos);
    const auto again = referenceDecoder().decodeHostMessage(line);
    check(again.value.has_value());
    check(*again.value == message);
    check(encodeHostMessage(*again.value) == line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    Decoder decoder;
    decoder.onRejected = [](std::string_view line, const WireDecodeError &error) {
        check(!line.empty());
        check(line.find('\n') == std::string_view::npos);
        check(!error.reason.empty());
    };
    std::string stream;
    std::vector<LiveTranslationHelperHostMessage> delivered;
    int blankRuns = 0;
    while (provider.remaining_bytes() > 0) {
        const auto length = provider.ConsumeIntegralInRange<std::size_t>(0, kMaxChunkBytes + 1);
        const bool blankRun = length > kMaxChunkBytes && blankRuns < kMaxBlankRuns;
        blankRuns += blankRun ? 1 : 0;
        const std::string chunk = blankRun
            ? std::string(provider.ConsumeIntegralInRange<std::size_t>(
                              Decoder::kMaxBufferedBytes - kBlankRunSpread,
                              Decoder::kMaxBufferedBytes + kBlankRunSpread),
                ' ')
            : provider.ConsumeBytesAsString(std::min(length, kMaxChunkBytes));
        stream += chunk;
        auto messages = decoder.append(chunk);
        for (auto &message : messages) {
            delivered.push_back(message);
            // Leave stale contents behind, as a receiver may: later lines decoded into this
            // storage must not show any of it.
            if (message.snapshot) {
                message.snapshot->committedCards.push_back({"stale", "stale", "stale", 1});
                message.snapshot->activeSourceText = "stale";
                message.snapshot->statusMessage += "stale";
            }
        }
        decoder.recycle(std::move(messages));
        check(decoder.bufferedBytes() <= Decoder::kMaxBufferedBytes);
    }

    // Plain line splitting, each line on its own: one longer than the longest is dropped, and an
    // unfinished one stays buffered unless it passed the cap.
    std::vector<LiveTranslationHelperHostMessage> expected;
    std::size_t start = 0;
    for (std::size_t end = stream.find('\n'); end != std::string::npos;
         end = stream.find('\n', start)) {
        const std::string_view line = std::string_view(stream).substr(start, end - start);
        if (!line.empty() && line.size() <= Decoder::kMaxLineBytes) {
            auto result = referenceDecoder().decodeHostMessage(line);
            if (result.value)
                expected.push_back(std::move(*result.value));
        }
        start = end + 1;
    }
    const std::size_t tail = stream.size() - start;
    check(decoder.bufferedBytes() == (tail <= Decoder::kMaxBufferedBytes ? tail : 0));
    check(delivered == expected);
    for (const auto &message : delivered)
        checkRoundTrip(message);
    return 0;
}

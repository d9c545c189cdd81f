// Feeds arbitrary chunk sequences to the line decoder, handing its messages back with stale
// contents after each chunk. Checks that it delivers exactly what decoding each complete line on
// its own gives, that its buffer stays within the limit, and that
// every accepted message re-encodes to a line that decodes to the same value.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "line_decoder.hpp"
#include "wire_codec.hpp"

namespace {

constexpr std::size_t kMaxChunkBytes = 600;

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
    LiveTranslationHelperLineDecoder decoder;
    decoder.onRejected = [](std::string_view line, const WireDecodeError &error) {
        check(!line.empty());
        check(line.find('\n') == std::string_view::npos);
        check(!error.reason.empty());
    };
    std::string stream;
    std::vector<LiveTranslationHelperHostMessage> delivered;
    while (provider.remaining_bytes() > 0) {
        const auto length = provider.ConsumeIntegralInRange<std::size_t>(0, kMaxChunkBytes);
        const std::string chunk = provider.ConsumeBytesAsString(length);
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
        check(decoder.bufferedBytes() <= LiveTranslationHelperLineDecoder::kMaxBufferedBytes);
    }

    // Inputs stay far below the limit, so the decoder must agree with plain line splitting.
    std::vector<LiveTranslationHelperHostMessage> expected;
    std::size_t start = 0;
    for (std::size_t end = stream.find('\n'); end != std::string::npos;
         end = stream.find('\n', start)) {
        const std::string_view line = std::string_view(stream).substr(start, end - start);
        if (!line.empty()) {
            auto result = referenceDecoder().decodeHostMessage(line);
            if (result.value)
                expected.push_back(std::move(*result.value));
        }
        start = end + 1;
    }
    check(decoder.bufferedBytes() == stream.size() - start);
    check(delivered == expected);
    for (const auto &message : delivered)
        checkRoundTrip(message);
    return 0;
}

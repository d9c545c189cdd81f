// Strict decoding against simdjson's raw DOM parse of the same bytes, on a snapshot line of about
// 2 MiB (about 7,000 cards of mixed-language text with escapes) and on one of about 1 KB; and the
// line decoder against decoding the same 10,000 small lines one by one. Decoding reuses one
// message as the helper does; the "Fresh" figures decode into a new value each time. The
// "allocs_per_line" counters count the heap allocations of each decoded line: a steady stream of
// snapshots through the line decoder, each exchanged for the one the model held, makes none.

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <new>
#include <simdjson.h>
#include <string>
#include <vector>

#include "line_decoder.hpp"
#include "wire_codec.hpp"

namespace {
std::atomic<std::size_t> g_allocations {0};

void *countedAllocation(std::size_t size) noexcept
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

// Every allocation of this program is counted; the aligned forms are left to the library.
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

// Allocations per iteration of a benchmark loop, from the count when the loop began.
void countAllocations(benchmark::State &state, std::size_t before, std::size_t linesPerIteration)
{
    const double lines = static_cast<double>(state.iterations() * linesPerIteration);
    state.counters["allocs_per_line"]
        = lines > 0 ? static_cast<double>(g_allocations.load() - before) / lines : 0;
}

// The longest line the helper takes in.
constexpr std::size_t kLargeLineTarget = LiveTranslationHelperLineDecoder::kMaxLineBytes;
constexpr std::size_t kSmallLines = 10000;
constexpr std::size_t kFramingChunkBytes = 64 * 1024;

const char *const kSources[] = {
    "Guten Morgen, wie geht es Ihnen heute?",
    "Il a dit : « On se voit à 14 h » puis il est parti.",
    "今日は会議が三つあります。\t最初は十時からです。",
    "Она сказала: \"Я приду позже\".\nПотом ушла.",
    "الاجتماع سيبدأ بعد عشر دقائق",
    "El precio subió un 12 % — ¿es demasiado?",
    "我们明天早上九点在机场见面。",
    "Ο καιρός σήμερα είναι πολύ καλός \\ ζεστός.",
};
const char *const kTranslations[] = {
    "Good morning, how are you today?",
    "He said: \"See you at 2 pm\" and then left.",
    "I have three meetings today.\tThe first one is at ten.",
    "She said: \"I'll come later\".\nThen she left.",
    "The meeting will start in ten minutes",
    "The price went up by 12% — is that too much?",
    "We'll meet at the airport at nine tomorrow morning.",
    "The weather today is very nice \\ warm.",
};

LiveTranslationHelperSnapshot baseSnapshot()
{
    LiveTranslationHelperSnapshot s;
    s.generation = 4711;
    s.lifecycle = LiveTranslationHelperLifecycle::listening;
    s.statusMessage = "Listening";
    s.isSessionActive = true;
    s.sourceLanguage = "auto";
    s.targetLanguage = "en";
    s.sourceLanguages = {{"auto", "Auto-detect"}, {"de", "Deutsch"}, {"ja", "日本語"}};
    s.targetLanguages = {{"en", "English"}, {"fr", "Français"}};
    s.audioSources = {{"mac-audio", "All Mac audio"}, {"bundle:org.mozilla.firefox", "Firefox"}};
    s.actualAudioSourceDescription = "All Mac audio";
    s.captureAudioLevel = 0.42F;
    return s;
}

// The largest line of such cards that the helper still takes in whole.
std::string largeLine()
{
    static const std::string line = [] {
        LiveTranslationHelperSnapshot s = baseSnapshot();
        const auto addCards = [&s](std::size_t count) {
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t n = s.committedCards.size();
                s.committedCards.push_back({"card-" + std::to_string(n),
                    std::string(kSources[n % 8]) + " " + kSources[(n + 5) % 8],
                    std::string(kTranslations[n % 8]) + " " + kTranslations[(n + 5) % 8],
                    700000000.0 + n * 1.25});
            }
        };
        const auto encoded
            = [&s] { return encodeHostMessage(LiveTranslationHelperHostMessage::makeSnapshot(s)); };
        const std::size_t empty = encoded().size();
        addCards(1000);
        const std::size_t perCard = (encoded().size() - empty) / 1000 + 1;
        addCards((kLargeLineTarget - empty) / perCard - 1000);
        std::string result = encoded();
        while (result.size() > kLargeLineTarget) {
            s.committedCards.pop_back();
            result = encoded();
        }
        return result;
    }();
    return line;
}

std::string smallLine(std::uint64_t generation)
{
    LiveTranslationHelperSnapshot s = baseSnapshot();
    s.generation = generation;
    s.committedCards = {{"c1", kSources[0], kTranslations[0], 700000000.5},
        {"c2", kSources[2], kTranslations[2], 700000003.25}};
    s.activeSourceText = kSources[3];
    return encodeHostMessage(LiveTranslationHelperHostMessage::makeSnapshot(s));
}

void rawParse(benchmark::State &state, const std::string &line)
{
    simdjson::dom::parser parser;
    for (auto _ : state) {
        auto parsed = parser.parse(line.data(), line.size(), true);
        if (parsed.error() != simdjson::SUCCESS)
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
    state.counters["line_bytes"] = static_cast<double>(line.size());
}

// Decoding into the same message again and again, as the helper does: the line decoder reads each
// snapshot into the storage of one the model has replaced, so nothing is allocated or freed.
void strictDecode(benchmark::State &state, const std::string &line)
{
    WireDecoder decoder;
    LiveTranslationHelperHostMessage message;
    WireDecodeError error;
    if (decoder.decodeHostMessage(line, message, error))
        state.counters["cards"] = static_cast<double>(message.snapshot->committedCards.size());
    const std::size_t before = g_allocations.load();
    for (auto _ : state) {
        if (!decoder.decodeHostMessage(line, message, error))
            state.SkipWithError(error.message().c_str());
        benchmark::DoNotOptimize(message);
    }
    countAllocations(state, before, 1);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
    state.counters["line_bytes"] = static_cast<double>(line.size());
}

// Each line decoded into a fresh value that is then freed: what a reader without reuse pays.
void strictDecodeFresh(benchmark::State &state, const std::string &line)
{
    WireDecoder decoder;
    for (auto _ : state) {
        auto result = decoder.decodeHostMessage(line);
        if (!result)
            state.SkipWithError(result.error.message().c_str());
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

// A fresh value, freed outside the timed part.
void strictDecodeFreshWithoutFree(benchmark::State &state, const std::string &line)
{
    WireDecoder decoder;
    for (auto _ : state) {
        auto result = decoder.decodeHostMessage(line);
        benchmark::DoNotOptimize(result);
        state.PauseTiming();
        result = {};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

void BM_RawDomParse_2MiB(benchmark::State &state)
{
    rawParse(state, largeLine());
}
void BM_StrictDecode_2MiB(benchmark::State &state)
{
    strictDecode(state, largeLine());
}
void BM_StrictDecodeFresh_2MiB(benchmark::State &state)
{
    strictDecodeFresh(state, largeLine());
}
void BM_StrictDecodeFreshWithoutFree_2MiB(benchmark::State &state)
{
    strictDecodeFreshWithoutFree(state, largeLine());
}
void BM_RawDomParse_1KB(benchmark::State &state)
{
    rawParse(state, smallLine(1));
}
void BM_StrictDecode_1KB(benchmark::State &state)
{
    strictDecode(state, smallLine(1));
}
void BM_StrictDecodeFresh_1KB(benchmark::State &state)
{
    strictDecodeFresh(state, smallLine(1));
}

void BM_Encode_2MiB(benchmark::State &state)
{
    WireDecoder decoder;
    const auto message = *decoder.decodeHostMessage(largeLine()).value;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string line = encodeHostMessage(message);
        bytes += line.size();
        benchmark::DoNotOptimize(line.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

std::vector<std::string> smallLines()
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < kSmallLines; ++i)
        lines.push_back(i % 4 == 3 ? std::string(R"({"type":"toggle"})") : smallLine(i));
    return lines;
}

std::size_t streamBytes(const std::vector<std::string> &lines)
{
    std::size_t bytes = 0;
    for (const auto &line : lines)
        bytes += line.size() + 1;
    return bytes;
}

// The baseline of the framing figure: each line decoded into one message, whose snapshot
// storage a line of another kind frees.
void BM_DecodeEachLine_10k(benchmark::State &state)
{
    const auto lines = smallLines();
    WireDecoder decoder;
    LiveTranslationHelperHostMessage message;
    WireDecodeError error;
    for (auto _ : state) {
        std::size_t decoded = 0;
        for (const auto &line : lines) {
            decoded += decoder.decodeHostMessage(line, message, error) ? 1 : 0;
            benchmark::DoNotOptimize(message);
        }
        if (decoded != kSmallLines)
            state.SkipWithError("a line was rejected");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * streamBytes(lines)));
}

// Each line decoded into a fresh value that is then freed.
void BM_DecodeEachLineFresh_10k(benchmark::State &state)
{
    const auto lines = smallLines();
    WireDecoder decoder;
    for (auto _ : state) {
        std::size_t decoded = 0;
        for (const auto &line : lines)
            decoded += decoder.decodeHostMessage(line) ? 1 : 0;
        if (decoded != kSmallLines)
            state.SkipWithError("a line was rejected");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * streamBytes(lines)));
}

// The line decoder fed 64 KiB chunks, its messages handed back after each chunk as the channel
// does. One decoder for every run, like the helper's one for its whole life.
void BM_LineFraming_10k_64KiBChunks(benchmark::State &state)
{
    std::string stream;
    for (const auto &line : smallLines())
        stream += line + "\n";
    LiveTranslationHelperLineDecoder decoder;
    for (auto _ : state) {
        std::size_t delivered = 0;
        for (std::size_t at = 0; at < stream.size(); at += kFramingChunkBytes) {
            auto messages = decoder.append(std::string_view(stream).substr(at, kFramingChunkBytes));
            delivered += messages.size();
            decoder.recycle(std::move(messages));
        }
        if (delivered != kSmallLines)
            state.SkipWithError("a line was lost");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}

// Snapshot lines of 2 MiB, one per chunk, through the line decoder into a consumer that, like the
// model, exchanges each for the snapshot it held and hands the older one back.
void BM_SnapshotStream_2MiB(benchmark::State &state)
{
    const std::string line = largeLine() + "\n";
    LiveTranslationHelperLineDecoder decoder;
    LiveTranslationHelperSnapshot held;
    const auto feed = [&] {
        auto messages = decoder.append(line);
        for (auto &message : messages) {
            if (message.snapshot)
                std::swap(held, *message.snapshot);
        }
        const std::size_t count = messages.size();
        decoder.recycle(std::move(messages));
        return count;
    };
    feed();
    feed(); // both snapshots, the held one and the spare, have grown to the line's size
    const std::size_t before = g_allocations.load();
    for (auto _ : state) {
        if (feed() != 1)
            state.SkipWithError("the line was lost");
    }
    countAllocations(state, before, 1);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

} // namespace

BENCHMARK(BM_RawDomParse_2MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrictDecode_2MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrictDecodeFresh_2MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotStream_2MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrictDecodeFreshWithoutFree_2MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawDomParse_1KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrictDecode_1KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrictDecodeFresh_1KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Encode_2MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeEachLine_10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeEachLineFresh_10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineFraming_10k_64KiBChunks)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "wire_types.hpp"

// Snapshots of random shape for tests of storage reuse: lists of any length from empty to long,
// texts from empty through short (kept inside a string object) to long, with escapes and several
// scripts, control characters and NUL, each optional text present or absent, and now and then a
// number of any bit pattern JSON can hold.
namespace wiretest {

inline std::string randomText(std::mt19937 &random)
{
    static constexpr std::string_view kPieces[]
        = {"a", "Guten Morgen ", "今日は", "\"quoted\"", "\\", "line\nbreak", "\t", "مرحبا", "é",
            "😀", " ", "0123456789abcdef", "/", "\x01\x1f\x7f", "\u2028", {"\0", 1}, "{}", ",:"};
    std::string text;
    // Mostly short, now and then empty or long, so that reused strings shrink and grow.
    const std::uint32_t shape = random() % 8;
    const std::size_t pieces = shape == 0 ? 0 : shape < 5 ? random() % 4 : 8 + random() % 40;
    for (std::size_t i = 0; i < pieces; ++i)
        text += kPieces[random() % std::size(kPieces)];
    return text;
}

inline std::uint64_t randomBits(std::mt19937 &random)
{
    return (std::uint64_t {random()} << 32U) | random();
}

// Any finite value of the type, by its bits.
template <class Number, class Bits> Number randomFinite(std::mt19937 &random)
{
    Number value = 0;
    do {
        const auto bits = static_cast<Bits>(randomBits(random));
        std::memcpy(&value, &bits, sizeof value);
    } while (!std::isfinite(value));
    return value;
}

inline std::optional<std::string> randomOptional(std::mt19937 &random)
{
    if (random() % 2 == 0)
        return std::nullopt;
    return randomText(random);
}

inline std::size_t randomCount(std::mt19937 &random, std::size_t most)
{
    switch (random() % 4) {
    case 0: return 0;
    case 1: return random() % 3;
    default: return random() % (most + 1);
    }
}

template <class Option> std::vector<Option> randomOptions(std::mt19937 &random, std::size_t most)
{
    std::vector<Option> options(randomCount(random, most));
    for (auto &option : options) {
        option.id = randomText(random);
        option.displayName = randomText(random);
    }
    return options;
}

inline LiveTranslationHelperSnapshot randomSnapshot(
    std::mt19937 &random, std::uint64_t generation, std::size_t mostCards)
{
    using Lifecycle = LiveTranslationHelperLifecycle;
    static const Lifecycle kLifecycles[] = {Lifecycle::inactive, Lifecycle::preparing,
        Lifecycle::connecting, Lifecycle::listening, Lifecycle::reconnecting, Lifecycle::stopping};
    LiveTranslationHelperSnapshot s;
    s.generation = generation;
    s.lifecycle = kLifecycles[random() % std::size(kLifecycles)];
    s.statusMessage = randomText(random);
    s.hasFailure = random() % 2 == 0;
    s.canRequestMoreTime = random() % 2 == 0;
    s.isSessionActive = random() % 2 == 0;
    s.isStartEnabled = random() % 2 == 0;
    s.sourceLanguage = randomText(random);
    s.targetLanguage = randomText(random);
    s.selectedAudioSourceID = randomText(random);
    s.sourceLanguages = randomOptions<LiveTranslationHelperLanguageOption>(random, 40);
    s.targetLanguages = randomOptions<LiveTranslationHelperLanguageOption>(random, 40);
    s.audioSources = randomOptions<LiveTranslationHelperAudioOption>(random, 10);
    s.actualAudioSourceDescription = randomText(random);
    s.captureFallbackNotice = randomOptional(random);
    const bool wild = random() % 4 == 0;
    s.droppedCaptureBuffers = wild ? static_cast<std::int64_t>(randomBits(random))
                                   : static_cast<std::int64_t>(random() % 1000) - 10;
    s.captureAudioLevel = !wild ? static_cast<float>(random() % 1000) / 999.0F
        : random() % 4 == 0     ? (random() % 2 == 0 ? -0.0F : 0.0F)
                                : randomFinite<float, std::uint32_t>(random);
    s.appearanceMode = randomText(random);
    s.showsSourceText = random() % 2 == 0;
    s.committedCards.resize(randomCount(random, mostCards));
    for (auto &card : s.committedCards) {
        card.id = randomText(random);
        card.sourceText = randomText(random);
        card.translatedText = randomText(random);
        card.committedAt = wild ? randomFinite<double, std::uint64_t>(random)
                                : static_cast<double>(random() % 100000) * 0.25;
    }
    s.activeSourceText = randomOptional(random);
    s.activeTranslatedText = randomOptional(random);
    return s;
}

} // namespace wiretest

#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "wire_types.hpp"

// Snapshots of random shape: lists from empty to long, texts from empty through short (kept inside
// a string object) to long, with escapes, several scripts, control characters and NUL, optional
// texts present or absent, and now and then a number of any bit pattern JSON can hold.
namespace wiretest {

inline std::string randomText(std::mt19937 &random)
{
    static constexpr std::string_view kPieces[]
        = {"a", "Guten Morgen ", "今日は", "\"quoted\"", "\\", "line\nbreak", "\t", "مرحبا", "é",
            "😀", " ", "0123456789abcdef", "/", "\x01\x1f\x7f", "\u2028", {"\0", 1}, "{}", ",:"};
    std::string text;
    const std::uint32_t shape = random() % 8;
    for (auto n = shape == 0 ? 0 : shape < 5 ? random() % 4 : 8 + random() % 40; n > 0; --n)
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

inline LiveTranslationHelperSnapshot randomSnapshot(
    std::mt19937 &random, std::uint64_t generation, std::size_t mostCards)
{
    const auto count = [&](std::size_t most) -> std::size_t {
        const std::uint32_t shape = random() % 4;
        return shape == 0 ? 0 : shape == 1 ? random() % 3 : random() % (most + 1);
    };
    const auto text = [&] { return randomText(random); };
    const auto flag = [&] { return random() % 2 == 0; };
    const auto optional = [&] { return flag() ? std::nullopt : std::optional(text()); };
    const auto options = [&]<class Option>(std::vector<Option> &out, std::size_t most) {
        out.resize(count(most));
        for (Option &option : out)
            option = {text(), text()};
    };
    LiveTranslationHelperSnapshot s;
    s.generation = generation;
    s.lifecycle = static_cast<LiveTranslationHelperLifecycle>(random() % 6);
    s.statusMessage = text();
    s.hasFailure = flag();
    s.canRequestMoreTime = flag();
    s.isSessionActive = flag();
    s.isStartEnabled = flag();
    s.sourceLanguage = text();
    s.targetLanguage = text();
    s.selectedAudioSourceID = text();
    options(s.sourceLanguages, 40);
    options(s.targetLanguages, 40);
    options(s.audioSources, 10);
    s.actualAudioSourceDescription = text();
    s.captureFallbackNotice = optional();
    const bool wild = random() % 4 == 0;
    s.droppedCaptureBuffers = wild ? static_cast<std::int64_t>(randomBits(random))
                                   : static_cast<std::int64_t>(random() % 1000) - 10;
    s.captureAudioLevel = !wild ? static_cast<float>(random() % 1000) / 999.0F
        : flag()                ? randomFinite<float, std::uint32_t>(random)
                                : -0.0F;
    s.appearanceMode = text();
    s.showsSourceText = flag();
    s.committedCards.resize(count(mostCards));
    for (auto &card : s.committedCards) {
        card = {text(), text(), text(),
            wild ? randomFinite<double, std::uint64_t>(random) : (random() % 100000) * 0.25};
    }
    s.activeSourceText = optional();
    s.activeTranslatedText = optional();
    return s;
}

} // namespace wiretest

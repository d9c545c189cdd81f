#include "caption_stream.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "demo_catalog.hpp"
#include "demo_phrases.hpp"

namespace {

// Seconds at normal speed.
constexpr double kPieceInterval = 0.32; // between two heard pieces
constexpr double kPieceJitter = 0.12; // random spread of that interval
constexpr double kTranslationTail = 0.45; // last piece heard to translation complete
constexpr double kCommitDelay = 0.9; // last piece heard to card committed
constexpr double kPauseMin = 0.7; // silence between phrases
constexpr double kPauseMax = 1.5;
constexpr std::size_t kTranslationLag = 2; // pieces heard before the translation starts

constexpr double kSyllableRate = 4.4; // per second
constexpr double kWordRate = 1.3;
constexpr double kSilenceFloor = 0.03;
constexpr double kSilenceNoise = 0.03;

} // namespace

CaptionStream::CaptionStream(std::uint32_t seed, double speed)
    : m_random(seed)
    , m_speed(speed > 0 ? speed : 1.0)
    , m_nextPhraseAt(kPauseMin / m_speed)
{
}

void CaptionStream::setLanguages(std::string source, std::string target)
{
    m_source = std::move(source);
    m_target = std::move(target);
}

bool CaptionStream::usesStandInText() const
{
    return (!isDetectedLanguage(m_source) && !hasPhrases(m_source)) || !hasPhrases(m_target);
}

std::string CaptionStream::spokenLanguage() const
{
    if (!isDetectedLanguage(m_source))
        return m_source;
    // Detecting: the speakers take turns in the languages that have phrases, other than the target.
    std::vector<std::string> spoken;
    for (const std::string &language : phraseLanguages()) {
        if (language != m_target)
            spoken.push_back(language);
    }
    return spoken[m_phraseIndex % spoken.size()];
}

void CaptionStream::beginPhrase()
{
    const std::string sourceText = phraseText(m_phraseIndex, spokenLanguage());
    const std::string targetText = phraseText(m_phraseIndex, m_target);
    m_sourcePieces = speechPieces(sourceText);
    m_targetPieces = speechPieces(targetText);
    m_sourceSpaced = isSpaced(sourceText);
    m_targetSpaced = isSpaced(targetText);
    std::uniform_real_distribution<double> jitter(-kPieceJitter, kPieceJitter);
    m_pieceTimes.clear();
    double at = m_nextPhraseAt;
    for (std::size_t i = 0; i < m_sourcePieces.size(); ++i) {
        m_pieceTimes.push_back(at);
        at += (kPieceInterval + jitter(m_random)) / m_speed;
    }
    const double lastHeard = m_pieceTimes.empty() ? m_nextPhraseAt : m_pieceTimes.back();
    m_translationDoneAt = lastHeard + kTranslationTail / m_speed;
    m_commitAt = lastHeard + kCommitDelay / m_speed;
    m_speaking = true;
}

std::vector<CaptionStream::Finished> CaptionStream::advance(double seconds)
{
    std::vector<Finished> finished;
    const double until = m_clock + std::max(0.0, seconds);
    std::uniform_real_distribution<double> pause(kPauseMin, kPauseMax);
    // Step from event to event so that a long advance still commits every phrase in order.
    while (true) {
        if (!m_speaking) {
            if (m_nextPhraseAt > until)
                break;
            m_clock = m_nextPhraseAt;
            beginPhrase();
            continue;
        }
        if (m_commitAt > until)
            break;
        m_clock = m_commitAt;
        finished.push_back({joinPieces(m_sourcePieces, m_sourcePieces.size(), m_sourceSpaced),
            joinPieces(m_targetPieces, m_targetPieces.size(), m_targetSpaced)});
        m_speaking = false;
        ++m_phraseIndex;
        m_nextPhraseAt = m_clock + pause(m_random) / m_speed;
    }
    m_clock = until;
    return finished;
}

void CaptionStream::dropActive()
{
    if (!m_speaking)
        return;
    m_speaking = false;
    ++m_phraseIndex;
    m_nextPhraseAt = m_clock + kPauseMin / m_speed;
}

std::size_t CaptionStream::heardPieces() const
{
    if (!m_speaking)
        return 0;
    const auto end = std::upper_bound(m_pieceTimes.begin(), m_pieceTimes.end(), m_clock);
    return std::size_t(end - m_pieceTimes.begin());
}

std::size_t CaptionStream::translatedPieces() const
{
    const std::size_t heard = heardPieces();
    if (!m_speaking || heard < kTranslationLag)
        return 0;
    if (m_clock >= m_translationDoneAt)
        return m_targetPieces.size();
    // The translation keeps pace with what was heard, a couple of pieces behind.
    const double share = double(heard - kTranslationLag + 1) / double(m_sourcePieces.size());
    return std::min(
        m_targetPieces.size(), std::size_t(std::floor(share * double(m_targetPieces.size()))));
}

std::optional<std::string> CaptionStream::activeSource() const
{
    const std::size_t heard = heardPieces();
    if (heard == 0)
        return std::nullopt;
    return joinPieces(m_sourcePieces, heard, m_sourceSpaced);
}

std::optional<std::string> CaptionStream::activeTranslation() const
{
    const std::size_t translated = translatedPieces();
    if (translated == 0)
        return std::nullopt;
    return joinPieces(m_targetPieces, translated, m_targetSpaced);
}

std::optional<CaptionStream::Finished> CaptionStream::partial() const
{
    auto source = activeSource();
    if (!source)
        return std::nullopt;
    return Finished {std::move(*source), activeTranslation().value_or(std::string())};
}

float speechLevel(double time, bool speaking, std::mt19937 &random)
{
    std::uniform_real_distribution<double> noise(0.0, 1.0);
    double level = kSilenceFloor + kSilenceNoise * noise(random);
    if (speaking) {
        constexpr double twoPi = 2 * std::numbers::pi;
        const double syllable = 0.5 * (1 - std::cos(twoPi * kSyllableRate * time));
        const double word = 0.65 + 0.35 * std::sin(twoPi * kWordRate * time);
        level = 0.1 + 0.7 * std::pow(syllable, 1.4) * word + 0.08 * noise(random);
    }
    // Three decimals are all a meter shows, and they keep the snapshot lines short.
    return float(std::round(std::clamp(level, 0.0, 1.0) * 1000) / 1000);
}

#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

// Plays the demo's conversation as speech recognition and translation would deliver it: the
// source text grows piece by piece, its translation follows a little behind, and the finished
// phrase is handed over to be committed. Its clock only runs while the session listens.
class CaptionStream final {
public:
    struct Finished {
        std::string sourceText;
        std::string translatedText;
    };

    CaptionStream(std::uint32_t seed, double speed);

    // The pair to use from the next phrase on. "multi" or "auto" rotate through the languages
    // that have phrases.
    void setLanguages(std::string source, std::string target);

    // Moves the stream clock on by `seconds` of listening. Returns the phrases finished on the way.
    std::vector<Finished> advance(double seconds);

    // The conversation goes on from this phrase (after an earlier conversation's cards).
    void startAt(std::size_t phraseIndex) { m_phraseIndex = phraseIndex; }

    // Drops the phrase being heard; the next one begins after the usual pause.
    void dropActive();
    // The phrase being heard, trimmed to what has been heard and translated so far; empty when
    // nothing has been heard yet.
    std::optional<Finished> partial() const;

    // What the panel's active card shows: nothing between phrases.
    std::optional<std::string> activeSource() const;
    std::optional<std::string> activeTranslation() const;
    bool isSpeaking() const { return m_speaking; }

    // Whether the demo had to show English for the chosen source or target.
    bool usesStandInText() const;

    // Index of the next phrase in the conversation (grows without end).
    std::size_t phraseIndex() const { return m_phraseIndex; }

private:
    void beginPhrase();
    std::string spokenLanguage() const;
    std::size_t heardPieces() const;
    std::size_t translatedPieces() const;

    std::mt19937 m_random;
    double m_speed;
    std::string m_source = "es";
    std::string m_target = "en";
    double m_clock = 0;
    bool m_speaking = false;
    double m_nextPhraseAt;
    std::size_t m_phraseIndex = 0;
    std::vector<std::string> m_sourcePieces;
    std::vector<std::string> m_targetPieces;
    bool m_sourceSpaced = true;
    bool m_targetSpaced = true;
    std::vector<double> m_pieceTimes; // stream time at which each source piece is heard
    double m_translationDoneAt = 0;
    double m_commitAt = 0;
};

// A speech-like level for the meter: syllables inside words while someone speaks, a quiet floor
// between phrases. `time` is any steadily growing clock in seconds.
float speechLevel(double time, bool speaking, std::mt19937 &random);

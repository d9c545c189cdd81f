#pragma once

#include <string>
#include <vector>

// The demo's conversation: a short team meeting, written in English, Spanish, German, French and
// Japanese, so that any pair of these languages streams real text in both columns.

// Languages that the phrases are written in.
const std::vector<std::string> &phraseLanguages();
bool hasPhrases(const std::string &languageId);

std::size_t phraseCount();
// The phrase at index (modulo the count) in the given language; English when it has no text in
// that language.
const std::string &phraseText(std::size_t index, const std::string &languageId);

// Cuts a text into the pieces in which speech recognition would deliver it: words where the text
// has blanks, runs of a few characters where it has none (Japanese). Joining the pieces in order
// with joinPieces gives the text back.
std::vector<std::string> speechPieces(const std::string &text);
std::string joinPieces(const std::vector<std::string> &pieces, std::size_t count, bool spaced);
bool isSpaced(const std::string &text);

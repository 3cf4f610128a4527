#pragma once
// uttsPreproc: text normalisation for the Portuguese voice. Numbers become
// cardinal or ordinal words, signs their names, vowelless words are spelled,
// abbreviations before ". " are expanded, a few separators become pauses.
#include <cstdint>
#include <string>
#include <string_view>

#include "tts/utts_places.h"

namespace tradutor {

constexpr int kMaxAbbreviations = 2000;

bool loadAbbreviations(const std::string& fileName);
std::string lookupAbbreviation(std::string_view word);
int abbreviationCount();

std::string normalizeText(std::string_view text);
// The same into `out` (cleared first), which keeps its storage; with
// `spans`, the span of `text` each character of `out` was read from.
void normalizeText(std::string_view text, std::string& out, SourceSpans* spans = nullptr);

std::string readNumber(std::string_view text, std::size_t& position);
std::string cardinalWords(std::uint64_t value);
std::string ordinalWords(bool feminine, std::uint64_t value);
std::string groupWords(std::string_view fifteenDigits, int group);
std::string hundredsWords(std::string_view threeDigits);
std::string readLetterWord(std::string_view text, std::size_t& position);
std::string characterName(std::uint8_t code);

}  // namespace tradutor

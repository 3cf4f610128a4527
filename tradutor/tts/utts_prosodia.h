#pragma once
// uttsProsodia: the prosody data (durations, keyword classes, intonation
// patterns, pitch levels), the diphone list, the tokens with their classes
// and intonation codes, and the MBROLA phoneme lines.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tts/utts_text_list.h"

namespace tradutor {

constexpr int kMaxDurations = 100;
constexpr int kMaxKeywords = 1000;
constexpr int kMaxPatterns = 300;

bool loadProsodyFile(const std::string& fileName);
bool loadDiphoneList(const std::string& fileName);
void freeDiphoneList();
bool hasDiphonePair(std::string_view pair);  // "first-second", letter case ignored

struct Token {
  std::string text;
  bool punctuation = false;
};
// The next token from `position` on (advancing it); an empty text at the end.
Token nextToken(std::string_view text, std::size_t& position);
StringList splitIntoWords(std::string_view text);
std::string wordClass(std::string_view word);
StringList assignIntonationCodes(const StringList& tokens);

// The lines for MBROLA; the factors scale every duration and pitch target.
StringList makePhonemeLines(const StringList& phonemes, double durationFactor, double pitchFactor);

// The same stages into lists that keep their storage from call to call
// (each output list is cleared first; it must not be the input).
// With `places`, each token's place [first, second) in `text`; kPause for
// the pause that opens each sentence.
using TokenPlaces = std::vector<std::pair<std::size_t, std::size_t>>;
constexpr std::pair<std::size_t, std::size_t> kPause{static_cast<std::size_t>(-1), static_cast<std::size_t>(-1)};
void splitIntoWords(std::string_view text, TextList& tokens, TokenPlaces* places = nullptr);
void assignIntonationCodes(const TextList& tokens, TextList& coded);
void makePhonemeLines(const TextList& phonemes, double durationFactor, double pitchFactor, TextList& lines);
int phonemeDuration(std::string_view name);
int baseFrequency();
int pitchLevel(char level);  // percent of the base frequency for "0".."9", 0 otherwise
// The phoneme that the last line ended with; it carries over to the next utterance.
void resetPhonemeLineState();

}  // namespace tradutor

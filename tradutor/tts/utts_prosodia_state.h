#pragma once
// uttsProsodia's module state, shared by its files.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tts/utts_key_table.h"
#include "tts/utts_text.h"

namespace tradutor::prosody {

struct DurationEntry {
  std::string phoneme;  // at most 2 characters, case as written
  int duration;
};
struct KeywordEntry {
  std::string keyword;  // upper case
  std::string wordClass;  // at most 2 characters
};
struct IntonationPattern {
  std::string previousClass, currentClass, nextClass;  // at most 3 characters, empty = any
  std::string code;
};

struct ProsodyState {
  std::vector<DurationEntry> durations;
  std::vector<KeywordEntry> keywords;  // sorted by keyword
  std::vector<IntonationPattern> patterns;
  // Each upper-case keyword's class (the first of the file for a keyword
  // written twice, as the sorted table's search finds it).
  tts::TextMap<std::string> keywordClass;
  // The pattern that the classes of a token and its neighbours choose, as
  // found by trying the patterns in turn (-1: none); filled as tokens come.
  KeyTable patternOf;
  int baseFrequency = 230;
  int levels[10] = {};
  std::vector<std::string> diphones;  // "first-second", sorted without regard to case
  // For the lookups while lines are made: the pairs upper-cased, and each
  // phoneme's first duration of the table.
  KeyTable diphoneKeys;                              // pairs of up to 8 characters, packed
  std::unordered_set<std::string> longDiphoneKeys;   // the longer ones
  KeyTable durationOf;
  std::string currentPhoneme;  // lives from one makePhonemeLines call to the next
  bool pauseReported = false;  // a pause that is no number is reported once per prosody load
};

ProsodyState& state();

// A text of up to 8 bytes packed into a number (with its length for short keys),
// as it is and upper-cased.
std::uint64_t shortKey(std::string_view text);
std::uint64_t upperKey(std::string_view text);

}  // namespace tradutor::prosody

#pragma once
// uttsProsodia's module state, shared by its files.
#include <string>
#include <vector>

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
  int baseFrequency = 230;
  int levels[10] = {};
  std::vector<std::string> diphones;  // "first-second", sorted without regard to case
  std::string currentPhoneme;  // lives from one makePhonemeLines call to the next
};

ProsodyState& state();

}  // namespace tradutor::prosody

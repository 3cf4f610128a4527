#pragma once
// The letter-to-sound rules engine of the diphone voice: words become the
// phonetic strings the diphone synthesizer speaks, through an exceptions
// dictionary (portug.exc), stress marking by Portuguese spelling rules, and
// rewrite rules with left and right contexts (regras.rgr).
#include <string>
#include <string_view>

namespace tradutor {

bool loadLetterRules(const std::string& fileName);
bool loadExceptionWords(const std::string& fileName);
void freeLetterRules();

// One bracketed group per word: "[" unit "/" unit "]" from the rules, or
// "[ /_" letter "]" per character for a spelled word.
std::string textToPhonetic(std::string_view text);

constexpr int kMaxExceptionWords = 15000;
// The longest word the engine takes at once; a longer run of letters is
// split into words of this length.
constexpr int kWorkWordSize = 256;

// The stages, exposed for tests and tools.
std::string prepareText(std::string_view text);
struct WorkWord {
  std::string text;  // the characters of the word
  int vowels = 0;
  bool accent = false;
};
// The next word of a prepared text from `position` on; false when there is none.
bool nextWord(const std::string& prepared, std::size_t& position, WorkWord& word);
void applyExceptionWords(WorkWord& word);
void markStress(WorkWord& word);
bool isSpelledWord(const WorkWord& word);
std::string spellWord(const WorkWord& word);
std::string rewriteWord(const WorkWord& word);

int exceptionWordCount();
int letterRuleCount();

}  // namespace tradutor

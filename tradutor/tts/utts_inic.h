#pragma once
// uttsInic: the letter-to-sound rules of the Portuguese voice, read from the
// rules file into one chain per first letter.
#include <cstdint>
#include <string>
#include <vector>

namespace tradutor {

struct TranscriptionRule {
  std::string leftContext;   // at most 5, read right to left
  std::string match;         // at most 5, never empty once loaded
  std::string rightContext;  // at most 5
  std::string output;        // at most 20 stored; the first 11 are emitted
};

TranscriptionRule parseRuleLine(const std::string& line);
bool loadTranscriptionRules(const std::string& fileName);
void freeTranscriptionRules();
bool loadLanguageData(const std::string& rulesFile, const std::string& exceptionsFile);
// The rules whose match begins with the character, in file order.
const std::vector<TranscriptionRule>& ruleChain(unsigned char first);
int transcriptionRuleCount();

// Counts every change of the rules or the exceptions, so that what was
// worked out from them can tell it is out of date.
std::uint64_t languageDataVersion();
void languageDataChanged();

}  // namespace tradutor

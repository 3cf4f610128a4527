#pragma once
// uttsPortug: the transcription of the coded words into the phoneme list.
#include <string>
#include <string_view>
#include <vector>

namespace tradutor {

using StringList = std::vector<std::string>;

void applyLetterRules(std::string_view word, int stressPosition, StringList& phonemes);
bool isUnstressedWord(std::string_view word);
void addPausePhoneme(char character, StringList& phonemes);
void applyLiaison(StringList& phonemes);
StringList transcribeWords(const StringList& codedWords);

}  // namespace tradutor

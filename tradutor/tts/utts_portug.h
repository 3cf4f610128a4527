#pragma once
// uttsPortug: the transcription of the coded words into the phoneme list.
#include <string>
#include <string_view>
#include <vector>

#include "tts/utts_text_list.h"

namespace tradutor {

void applyLetterRules(std::string_view word, int stressPosition, StringList& phonemes);
bool isUnstressedWord(std::string_view word);
void addPausePhoneme(char character, StringList& phonemes);
void applyLiaison(StringList& phonemes);
StringList transcribeWords(const StringList& codedWords);

// The same into lists that keep their storage (phonemes is cleared first;
// applyLetterRules appends).
void applyLetterRules(std::string_view word, int stressPosition, TextList& phonemes);
void transcribeWords(const TextList& codedWords, TextList& phonemes);
// transcribeWords keeps the phonemes of the words it has met until the rules
// or the exceptions change; this empties that store (for measurements).
void forgetTranscribedWords();

}  // namespace tradutor

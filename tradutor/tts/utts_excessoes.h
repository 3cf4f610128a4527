#pragma once
// uttsExcessoes: the exceptions dictionary of the Portuguese voice: words
// the rules would say wrong, each with a respelling the rules say right.
#include <string>

namespace tradutor {

constexpr int kMaxTtsExceptions = 15000;

bool loadExceptions(const std::string& fileName);
// Replaces the upper-case word by its respelling, trying it also without
// final S and M letters (which are then put back after the respelling).
void lookupException(std::string& word);
int ttsExceptionCount();
void clearTtsExceptions();

}  // namespace tradutor

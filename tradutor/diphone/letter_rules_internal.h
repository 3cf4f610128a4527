#pragma once
// Character classes and tables of the rules engine, shared by its files.
#include <cstdint>
#include <string>

namespace tradutor::rules {

bool isVowel(int c);       // A E I O U a e i o u
bool isConsonant(int c);   // the other ASCII letters
bool isLetter(int c);
bool isAccentMark(int c);  // " ' ^ ` ~
bool isSeparator(int c);   // space ! , . : ; ?
bool isFrontVowel(int c);  // E I e i
bool isBackVowel(int c);   // A O a o

// The replacement of a byte from 128 to 255 (nullptr: unknown character).
const char* replacementOf(std::uint8_t byte);

inline int lowerAscii(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
inline int upperAscii(int c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

}  // namespace tradutor::rules

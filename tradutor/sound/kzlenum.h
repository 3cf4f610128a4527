#pragma once
// kzlenum: integers spoken in Brazilian Portuguese from recorded word files.
#include <cstdint>
#include <string>
#include <string_view>

namespace tradutor {

// Portuguese words, single spaces between them, possibly a trailing space
// ("mil " for 1000). Windows-1252 text ("milh\xE3o").
std::string numberToWords(std::uint32_t n);
// Plays the word files of the words as one sound; 1 = feminine (uma, duas
// for a last word um, dois). Returns when heard or cut short by a key.
void speakNumberWords(std::string_view words, int feminine);

// The file name (without directory and extension) of a number word.
std::string numberWordFileName(std::string_view word);

constexpr std::uint32_t kNumberSoundData = 30000;

}  // namespace tradutor

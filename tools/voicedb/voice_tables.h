// The builder's inputs: the phoneme table (our names, espeak-ng's, class and
// voicing) and the diphone list of the voice.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace voicedb {

enum class PhonemeClass { silence, vowel, glide, consonant };

struct PhonemeEntry {
  std::string name;    // as the front end writes it
  std::string espeak;  // espeak-ng's phoneme mnemonic
  PhonemeClass kind;
  bool voiced;
};

// Both loaders print what is wrong and return false.
bool loadPhonemeTable(const std::string& path, std::vector<PhonemeEntry>& out);
// Lines "left right" (or "left-right"); ';' comments. Each pair is an index
// into `phonemes`.
bool loadDiphoneList(const std::string& path, const std::vector<PhonemeEntry>& phonemes,
                     std::vector<std::pair<int, int>>& out);

}  // namespace voicedb

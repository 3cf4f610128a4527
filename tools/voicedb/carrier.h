// Carrier words: the phoneme sequence spoken to record one diphone, with the
// diphone's two phonemes in the middle of a neutral context.
#pragma once

#include <string>
#include <vector>

#include "voice_tables.h"

namespace voicedb {

struct Carrier {
  std::vector<int> phonemes;  // indices into the phoneme table, no silences
  int left = -1;              // position of the diphone's left phoneme; -1 = silence before the word
  int right = -1;             // position of its right phoneme; -1 = silence after the word
  int stressed = -1;          // position of the stressed vowel
};

Carrier makeCarrier(const std::vector<PhonemeEntry>& table, int left, int right);
// The espeak-ng phoneme text of a carrier; `separator` is put between
// neighbours whose mnemonics could run together ("t" "S" is not "tS").
std::string carrierText(const std::vector<PhonemeEntry>& table, const Carrier& c, const std::string& separator);

}  // namespace voicedb

#include "carrier.h"

namespace voicedb {
namespace {

int find(const std::vector<PhonemeEntry>& table, const char* name) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].name == name) return static_cast<int>(i);
  return -1;
}

bool isVowel(const std::vector<PhonemeEntry>& table, int i) { return table[i].kind == PhonemeClass::vowel; }

}  // namespace

Carrier makeCarrier(const std::vector<PhonemeEntry>& table, int left, int right) {
  const int a = find(table, "a"), t = find(table, "t");
  const bool leftSilent = table[left].kind == PhonemeClass::silence;
  const bool rightSilent = table[right].kind == PhonemeClass::silence;
  Carrier c;
  // Left context: a vowel is preceded by "t", anything else by "a".
  if (!leftSilent) {
    c.phonemes.push_back(isVowel(table, left) ? t : a);
    c.left = static_cast<int>(c.phonemes.size());
    c.phonemes.push_back(left);
  }
  if (!rightSilent) {
    c.right = static_cast<int>(c.phonemes.size());
    c.phonemes.push_back(right);
    // Right context: after a vowel "t a", after anything else "a".
    if (isVowel(table, right)) c.phonemes.push_back(t);
    c.phonemes.push_back(a);
  }
  // Stress the diphone's own vowel where it has one, so that it is full and
  // long; otherwise the nearest context vowel.
  if (c.left >= 0 && isVowel(table, left))
    c.stressed = c.left;
  else if (c.right >= 0 && isVowel(table, right))
    c.stressed = c.right;
  else
    for (int i = c.right >= 0 ? c.right : 0; i < static_cast<int>(c.phonemes.size()); ++i)
      if (isVowel(table, c.phonemes[i])) {
        c.stressed = i;
        break;
      }
  if (c.stressed < 0)
    for (int i = 0; i < static_cast<int>(c.phonemes.size()); ++i)
      if (isVowel(table, c.phonemes[i])) c.stressed = i;
  return c;
}

std::string carrierText(const std::vector<PhonemeEntry>& table, const Carrier& c, const std::string& separator) {
  std::string text;
  for (int i = 0; i < static_cast<int>(c.phonemes.size()); ++i) {
    if (i > 0) text += separator;
    if (i == c.stressed) text += "'";
    text += table[c.phonemes[i]].espeak;
  }
  return text;
}

}  // namespace voicedb

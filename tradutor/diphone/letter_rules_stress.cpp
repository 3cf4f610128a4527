// Stress marking: the stressed vowel of a word without a written accent is
// found by Portuguese spelling rules, scanning from the end of the word, and
// is written in upper case.
#include "diphone/letter_rules.h"
#include "diphone/letter_rules_internal.h"

namespace tradutor {

using namespace rules;

namespace {

bool isOneOf(int c, const char* set) {
  for (; *set != '\0'; ++set)
    if (c == *set) return true;
  return false;
}

// State 8: an i or u at i+1 after an a, e or o further right. Stress goes to
// the vowel before the i/u (state 6) unless that is not a vowel of its own
// or the letters after the i/u make it the stressed one (state 7).
int decideDiphthong(const std::string& w, int i) {
  auto at = [&w](int k) { return k >= 1 && k <= static_cast<int>(w.size()) ? static_cast<unsigned char>(w[k - 1]) : 0; };
  const int c = at(i);
  const bool vowelOfItsOwn = !isConsonant(c) && !(c == 'u' && (at(i - 1) == 'g' || at(i - 1) == 'q'));
  const int after = at(i + 2);
  const bool closingConsonant = isOneOf(after, "lmnrz");
  const bool pair = (after == 'n' && at(i + 3) == 'h') || (after == 'r' && at(i + 3) == 'r');
  const bool consonantFollows = isConsonant(at(i + 3)) && at(i + 3) != 'h';
  const bool diphthongKeepsStress = !closingConsonant || (!pair && !consonantFollows);
  return vowelOfItsOwn && diphthongKeepsStress ? 6 : 7;
}

}  // namespace

void markStress(WorkWord& word) {
  std::string& w = word.text;
  const int n = static_cast<int>(w.size());
  if (word.accent || word.vowels == 0 || (word.vowels == 1 && (n == 0 || w.back() != 'l'))) return;
  auto at = [&w, n](int k) { return k >= 1 && k <= n ? static_cast<unsigned char>(w[k - 1]) : 0; };
  auto mark = [&w, n](int k) {
    if (k >= 1 && k <= n) w[k - 1] = static_cast<char>(upperAscii(static_cast<unsigned char>(w[k - 1])));
  };
  int state = 0;
  for (int i = n; i >= 1; --i) {
    const int c = at(i);
    switch (state) {
      case 0:
        if (isOneOf(c, "aeo")) state = 5;
        else if (isOneOf(c, "iu")) state = 3;
        else if (isOneOf(c, "lnrxz")) state = 1;
        else if (c == 'm') state = 2;
        else if (c == 's') state = 4;
        break;
      case 1:
        if (isVowel(c)) state = 6;
        break;
      case 2:
        if (isOneOf(c, "ae")) state = 5;
        else if (isOneOf(c, "iu")) state = 3;
        else if (c == 'o') state = 6;
        break;
      case 3:
        state = !isConsonant(c) && !(at(i - 1) == 'u' && (at(i - 2) == 'g' || at(i - 2) == 'q')) ? 6 : 7;
        break;
      case 4:
        if (isOneOf(c, "aeo")) state = 5;
        else if (isOneOf(c, "iu")) state = 3;
        break;
      case 5:
        if (isOneOf(c, "aeo")) state = 6;
        else if (isOneOf(c, "iu")) state = 8;
        break;
      case 8:
        state = decideDiphthong(w, i);
        break;
      case 6:  // entered one step to the right: mark that character
        mark(i + 1);
        return;
      case 7:
        mark(i + 2);
        return;
      default:
        return;
    }
  }
}

}  // namespace tradutor

// uttsTonica: an accented vowel carries the stress; otherwise an automaton
// reads the word's ending from the last letter back.
#include "tts/utts_tonica.h"

#include <string>
#include <string_view>

#include "common/cp1252_case.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace {

// The sets are a few letters each: a plain loop, inlined, beats a library search.
bool isOneOf(char c, std::string_view set) {
  for (const char s : set)
    if (s == c) return true;
  return false;
}
bool isAccentedVowel(char c) { return isOneOf(c, "\xE0\xE1\xE2\xE3\xE9\xEA\xED\xF3\xF4\xF5\xFA"); }
bool isPlainVowel(char c) { return isOneOf(c, "aeiouwy\xFC"); }
// ã and õ mark a nasal vowel; beside another accent they do not mark the stress.
bool isTilde(char c) { return c == '\xE3' || c == '\xF5'; }
// à marks a contraction (àquela, às), never the stress.
bool marksStress(char c) { return isAccentedVowel(c) && c != '\xE0'; }

enum State { S0, S1, S2, S3, S4, S5, S10, S20, S21, S30, S40 };

}  // namespace

int findStressedLetter(std::string_view upperWord) {
  const tts::CaseCopy lowered(upperWord, tts::CaseCopy::lower);
  const std::string_view w = lowered.view();
  const int n = static_cast<int>(w.size());
  auto at = [&](int p) { return p >= 1 && p <= n ? w[static_cast<std::size_t>(p - 1)] : '\0'; };
  bool anyVowel = false;
  int tilde = 0;  // the rightmost ã or õ, taken when no other accent stands before it (órfão, bênção)
  for (int p = n; p >= 1; --p) {
    const char c = at(p);
    if (marksStress(c) && !isTilde(c)) return p;
    if (isTilde(c) && tilde == 0) tilde = p;
    anyVowel = anyVowel || isPlainVowel(c);
  }
  if (tilde != 0) return tilde;
  if (!anyVowel) return 0;

  State state = S0;
  int result = 0;
  for (int p = n; p > 0; --p) {
    const char c = w[static_cast<std::size_t>(p - 1)];
    switch (state) {
      case S0:
        if (isOneOf(c, "aeo")) { result = p; state = S1; }
        else if (c == 'u') { result = p; state = S10; }
        else if (c == 'i') { result = p; state = S20; }
        else if (c == 's') { /* a final s is skipped */ }
        else if (c == 'm') state = S40;
        else if (c == 'n' && p + 1 == n && at(n) == 's') state = S40;  // -ns as -m: homens, jovens, bons
        else state = S30;
        break;
      case S1:
        if (c == 'u') state = S4;
        // An unaccented i between a, e, o and the final vowel is a glide: praia, ideia, feio.
        else if (c == 'i' && isOneOf(at(p - 1), "aeo")) return p - 1;
        else if (isPlainVowel(c)) return p;
        else if (!isAccentedVowel(c)) state = S2;
        break;
      case S2:
        if (isOneOf(c, "aeo")) return p;
        // i and u before nh take the stress without an accent: rainha, moinho.
        if (isOneOf(c, "iu") && at(p + 1) == 'n' && at(p + 2) == 'h') return p;
        if (isOneOf(c, "iu")) { result = p; state = S3; }
        break;
      case S3:
        // An i or u before m or n and a consonant is a nasal vowel, not the end
        // of a diphthong: ainda, incluindo, contribuinte.
        if (isOneOf(at(result + 1), "mn") && at(result + 2) != '\0' && !isPlainVowel(at(result + 2)) &&
            at(result + 2) != 'h')
          return result;
        if (isOneOf(c, "aeo")) return p;
        if (c == 'u') { state = S5; break; }
        return result;
      case S4:
        if (isOneOf(c, "gq")) { result = p + 2; state = S2; break; }
        return p + 1;
      case S5:
        return isOneOf(c, "gq") ? p + 2 : p + 1;
      case S10:
        return isOneOf(c, "aeio") ? p : result;
      case S20:
        // One vowel before the final i takes the stress; a second one before
        // it does not move it further (reais, ideais).
        if (isOneOf(c, "aeo") && result == p + 1 && isOneOf(at(p + 1), "aeo")) return result;
        if (isOneOf(c, "aeo")) { result = p; break; }
        // gui/qui: the u is silent; after a vowel was taken (atuais) it is not.
        if (c == 'u' && at(result) == 'i') { state = S21; break; }
        return result;
      case S21:
        return isOneOf(c, "gq") ? p + 2 : p + 1;
      case S30:
        if (isPlainVowel(c)) return p;
        break;
      case S40:
        if (isOneOf(c, "iou")) return p;
        if (isOneOf(c, "ae")) { result = p; state = S1; }
        else state = S0;
        break;
    }
  }
  return result;
}

}  // namespace tradutor

#pragma once
// One coarse inventory for two phoneme spellings, so that the synthetic
// voice's phonemes and espeak-ng's (pt-br, `espeak-ng -x` names) can be
// compared word by word. A coarse phoneme is a short name; a vowel carries
// '\'' in front when it is the word's stressed one.
//
// The inventory, and what each side maps into it:
//   vowels  a (a, espeak a and &)  e  E  i (i, espeak i, I and y)  o  O
//           u (u, espeak u and U)
//   nasal   a~ e~ i~ o~ u~ (ours am em im om um; espeak &~ e~ i~ o~ u~,
//           and a vowel followed by espeak's N)
//   glides  counted as their vowels, i (ours y; espeak j and the second half
//           of its diphthongs eI aI oI ...) and u (ours w; espeak w, the U of
//           aU eU ...): one syllable or two is a matter of speed, and a
//           misplaced stress still shows
//   espeak's vowel + m or n before a consonant ("k o m b") is the nasal vowel
//   r       r for every r that is not the strong one (ours r, r2; espeak *, R, r)
//           rr for the strong one (ours rr; espeak x, X, h)
//   lh      l and i, as espeak-ng writes it (l j): it has no lh of its own
//   others  S (ours x), Z (ours j), nh (espeak n^),
//           tS (ours tx), dZ (ours dj), s (ours s, s2; espeak s, s#), and
//           p b t d k g f v z m n l as they are
// espeak's epenthetic vowel (@-), its syllable marks and its ; are dropped.
#include <string>
#include <vector>

namespace agreement {

using Coarse = std::vector<std::string>;

// The synthetic voice's phoneme entries of one word ("p", ">oo", "r2" ...).
Coarse coarseOfOurs(const std::vector<std::string>& phonemes);
// espeak-ng's phoneme names of one word, as espeak_TextToPhonemes gives them
// with '|' between two names ("p|'O|dZ|y").
Coarse coarseOfEspeak(const std::string& separated);

// The diphone voice's phonetic string of one word ("[ k/A/ m/a]"): an upper-
// case vowel is the stressed one, ~ makes it nasal, y and w are glides, and
// tch dj x j lh nh rr kw gw are its names for tS dZ S Z l+i nh rr k+u g+u.
// A spelled word ("[ /_s][ /_r]") gives the one name "spelled".
Coarse coarseOfDiphone(const std::string& phonetic);
// The diphone voice's recordings hold no open e or o: E and O become e and o.
void mergeOpenVowels(Coarse& c);

std::string joined(const Coarse& c);
bool hasStress(const Coarse& c);
void dropStress(Coarse& c);

// The kind of the first difference between two words' phonemes, for the
// table of disagreements: "stress", "e/E", "o/O", "a~/a" ... or "length".
std::string disagreementClass(const Coarse& ours, const Coarse& theirs);

}  // namespace agreement

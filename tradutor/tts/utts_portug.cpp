// uttsPortug: matching the rules with their contexts, and the transcription pass.
#include "tts/utts_portug.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "common/cp1252_case.h"
#include "tts/utts_excessoes.h"
#include "tts/utts_inic.h"
#include "tts/utts_text.h"
#include "tts/utts_tonica.h"

namespace tradutor {
namespace {

constexpr std::size_t kEmitted = 11;

// The letter classes of the rule contexts, one bit each, for every byte.
enum : std::uint8_t { kVowel = 1, kConsonant = 2, kFront = 4, kBack = 8, kLiquidNasal = 16, kLorR = 32, kNRS = 64 };

struct ClassTable {
  std::uint8_t bits[256] = {};
  ClassTable() {
    add("AEIOU\xC0\xC1\xC2\xC3\xC9\xCA\xCC\xCD\xD3\xD4\xD5\xD9\xDA\xDC", kVowel);
    add("BCDFGHJKLMNPQRSTVWXYZ\xC7\xD1", kConsonant);
    add("EI\xC9\xCD", kFront);
    add("AO\xC1\xC2\xD3\xD4", kBack);
    add("LMNRZ", kLiquidNasal);
    add("LR", kLorR);
    add("NRS", kNRS);
  }
  // Both cases of each member.
  void add(const char* upperSet, std::uint8_t bit) {
    for (const char* p = upperSet; *p != '\0'; ++p) {
      const std::uint8_t u = static_cast<std::uint8_t>(*p);
      bits[u] |= bit;
      bits[lowerCp1252(u)] |= bit;
    }
  }
};

const ClassTable kClasses;

bool is(unsigned char c, std::uint8_t bit) { return (kClasses.bits[c] & bit) != 0; }
bool isVowel(unsigned char c) { return is(c, kVowel); }
bool isConsonant(unsigned char c) { return is(c, kConsonant); }
bool isFrontVowel(unsigned char c) { return is(c, kFront); }
bool isBackVowel(unsigned char c) { return is(c, kBack); }
bool isLiquidNasal(unsigned char c) { return is(c, kLiquidNasal); }
bool isLorR(unsigned char c) { return is(c, kLorR); }
bool isNRS(unsigned char c) { return is(c, kNRS); }

unsigned char asciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

struct Scanner {
  std::string_view w;
  int n;
  unsigned char at(int i) const { return i >= 1 && i <= n ? static_cast<unsigned char>(w[static_cast<std::size_t>(i - 1)]) : 0; }
  bool inside(int i) const { return i >= 1 && i <= n; }
};

bool matchPart(const Scanner& s, int p, std::string_view match) {
  for (std::size_t k = 0; k < match.size(); ++k) {
    const int i = p + static_cast<int>(k);
    if (!s.inside(i) || asciiUpper(s.at(i)) != static_cast<unsigned char>(match[k])) return false;
  }
  return true;
}

bool leftContext(const Scanner& s, int p, const std::string& pattern) {
  int i = p - 1;
  for (auto it = pattern.rbegin(); it != pattern.rend(); ++it) {
    const unsigned char symbol = static_cast<unsigned char>(*it);
    switch (symbol) {
      case '#': if (!s.inside(i) || !isVowel(s.at(i))) return false; --i; break;
      case '%': if (i != 0) return false; break;
      case ']': if (!s.inside(i) || !isBackVowel(s.at(i))) return false; --i; break;
      case '_':
        if (i == 0) break;
        if (!s.inside(i) || !isVowel(s.at(i))) return false;
        --i;
        break;
      case '|': if (!s.inside(i) || !isNRS(s.at(i))) return false; --i; break;
      default: if (!s.inside(i) || asciiUpper(s.at(i)) != symbol) return false; --i; break;
    }
  }
  return true;
}

bool rightContext(const Scanner& s, int p, std::size_t matchLength, const std::string& pattern) {
  int i = p + static_cast<int>(matchLength);
  for (const char ch : pattern) {
    const unsigned char symbol = static_cast<unsigned char>(ch);
    switch (symbol) {
      case '#': if (!s.inside(i) || !isVowel(s.at(i))) return false; ++i; break;
      case '%': if (i <= s.n) return false; break;
      case '&': if (!s.inside(i) || !isLiquidNasal(s.at(i))) return false; ++i; break;
      case '*': if (!s.inside(i) || !isConsonant(s.at(i)) || isLorR(s.at(i))) return false; break;
      case '+': if (!s.inside(i) || !isFrontVowel(s.at(i))) return false; ++i; break;
      case '[':
        if (i > s.n) break;
        if (!s.inside(i) || !isConsonant(s.at(i)) || upperCp1252(s.at(i)) == 'H') return false;
        break;
      case '\\': if (s.inside(i) && (s.at(i) == 'S' || s.at(i) == 's')) ++i; break;
      default: if (!s.inside(i) || asciiUpper(s.at(i)) != symbol) return false; ++i; break;
    }
  }
  return true;
}

// The letters from p to the end of the word are `letters` (upper case; a
// cedilla matched in either case).
bool endsWith(const Scanner& s, int p, std::string_view letters) {
  if (s.n - p + 1 != static_cast<int>(letters.size())) return false;
  for (std::size_t k = 0; k < letters.size(); ++k)
    if (upperCp1252(s.at(p + static_cast<int>(k))) != static_cast<unsigned char>(letters[k])) return false;
  return true;
}

// A stressed a whose next syllable begins with m, n or nh is the nasal a
// (cama, banana, abana, semana, ano, ganho). Written accents and the rules'
// own nasal vowels stand. The other vowels keep their quality there and are
// left to the voice's diphones (the database holds the nasal a before m and
// n, not the others).
std::string_view nasalBeforeNextSyllable(const Scanner& s, int p, std::string_view output) {
  if (asciiUpper(s.at(p)) != 'A' || output != "a") return output;
  const unsigned char next = asciiUpper(s.at(p + 1));
  if (next != 'M' && next != 'N') return output;
  const unsigned char after = asciiUpper(s.at(p + 2));
  if (!isVowel(after) && !(next == 'N' && after == 'H')) return output;
  return "am";
}

// A stressed plain e or o is open before the endings that make it so in
// every word that has them: -el and -ol (hotel, papel, farol, anzol),
// -ela and -ola (janela, panela, escola, bola), -osa and the plural -osos
// of the -oso adjectives (famosa, gostosas, famosos, while famoso is
// closed).
std::string_view openBeforeEnding(const Scanner& s, int p, std::string_view output) {
  struct Ending {
    char vowel;                // the letter, unaccented: an accent says its own quality
    std::string_view letters;  // after it, to the end of the word
  };
  static constexpr Ending kOpening[] = {
      {'E', "L"}, {'E', "LA"}, {'E', "LAS"}, {'O', "L"}, {'O', "LA"}, {'O', "LAS"},
      {'O', "SA"}, {'O', "SAS"}, {'O', "SOS"}};
  if (output != "e" && output != "o") return output;
  const unsigned char letter = asciiUpper(s.at(p));
  for (const Ending& e : kOpening)
    if (letter == e.vowel && endsWith(s, p + 1, e.letters)) return output == "e" ? "ee" : "oo";
  return output;
}

// A stressed plain o before r and another consonant that begins the last
// syllable is open before the endings -a and -e: porta, forte, sorte,
// acorda, norte, morde. Before -o it stays closed (porto, corpo, gordo).
// (An e there is not: certo and perto are open, but termo, esquerda and
// the -er verbs' fazermos, venderdes are closed.)
std::string_view openBeforeRAndConsonant(const Scanner& s, int p, std::string_view output) {
  static constexpr std::string_view kLastVowels[] = {"A", "AS", "AM", "E", "ES", "EM"};
  if (output != "o" || asciiUpper(s.at(p)) != 'O' || asciiUpper(s.at(p + 1)) != 'R') return output;
  const unsigned char consonant = asciiUpper(s.at(p + 2));
  if (!isConsonant(consonant) || consonant == 'R' || consonant == 'H') return output;
  for (const std::string_view last : kLastVowels)
    if (endsWith(s, p + 3, last)) return "oo";
  return output;
}

template <std::size_t N>
bool endsWithOneOf(const Scanner& s, int p, const std::string_view (&endings)[N]) {
  for (const std::string_view e : endings)
    if (endsWith(s, p, e)) return true;
  return false;
}

// The endings after a stressed e that keep it closed, each with a word:
// portuguesa, beleza, desejo, igreja, seja, espelho, medo, tivesse, peso,
// começo, cabeça, texto, ele, este, mesmo, desde, cabelo, erro, receberem,
// beberes, fazermos, termo, trecho, meses, vezes, caneta, beberam,
// gigantesco.
constexpr std::string_view kClosedEEndings[] = {
    "SA",  "SAS",  "ZA",   "ZAS",  "JO",   "JOS",  "JA",   "JAS",  "JE",   "JEM",  "JAM",  "LHO",  "LHOS",
    "LHA", "LHAS", "DO",   "DOS",  "SSE",  "SSES", "SSEM", "SO",   "SOS",  "\xC7" "O", "\xC7" "OS", "\xC7" "A", "\xC7" "AS", "\xC7" "AM",
    "XTO", "XTOS", "XTA",  "XTAS", "LE",   "LES",  "STE",  "STES", "SMO",  "SMOS", "SMA",  "SMAS", "SDE",
    "LO",  "LOS",  "RRO",  "RROS", "REM",  "RES",  "RMOS", "RDES", "RMO",  "CHO",  "CHOS", "SES",  "ZES",
    "TA",  "TAS",  "RAM",  "SCO",  "SCOS", "SCA",  "SCAS"};
// And after a stressed o: fosse, famoso, cores, forem, corra, folha,
// escolha.
constexpr std::string_view kClosedOEndings[] = {"SO", "SSE", "SSES", "SSEM", "RES", "REM", "RRA", "RRAS", "LHA", "LHAS"};

// A stressed plain e or o in the last syllable but one, before its
// consonants, is open, as in most such words: festa, terra, aberto,
// moderna, bebe, parece, cheque; porta, nota, pobre, adora, choque. The
// endings above keep it closed, and so do an o before -o or -os (novo,
// porto, todos) and the o of the agent nouns' -dora, -tora and -sora
// (contadora, impressora; not adora). A vowel before m or n is left to the
// nasal rules, and a word of another shape to the rules alone.
std::string_view openInLastButOneSyllable(const Scanner& s, int p, std::string_view output) {
  const unsigned char letter = asciiUpper(s.at(p));
  if (!(output == "e" && letter == 'E') && !(output == "o" && letter == 'O')) return output;
  const unsigned char first = asciiUpper(s.at(p + 1));
  if (first == 'M' || first == 'N') return output;
  // The consonants of the last syllable (qu and gu before e or i count as
  // one), its vowel, and at most an s or an m after it.
  int i = p + 1;
  while (s.inside(i)) {
    const unsigned char c = asciiUpper(s.at(i));
    const unsigned char after = asciiUpper(s.at(i + 2));
    if ((c == 'Q' || c == 'G') && asciiUpper(s.at(i + 1)) == 'U' && (after == 'E' || after == 'I')) i += 2;
    else if (isConsonant(s.at(i))) i += 1;
    else break;
  }
  if (i == p + 1 || !s.inside(i) || !isVowel(s.at(i))) return output;
  const unsigned char lastVowel = asciiUpper(s.at(i));
  if (s.inside(i + 1) && (s.inside(i + 2) || (asciiUpper(s.at(i + 1)) != 'S' && asciiUpper(s.at(i + 1)) != 'M')))
    return output;
  if (letter == 'E') return endsWithOneOf(s, p + 1, kClosedEEndings) ? output : "ee";
  if (lastVowel == 'O' || endsWithOneOf(s, p + 1, kClosedOEndings)) return output;
  int vowelsBefore = 0;
  for (int k = 1; k < p - 1; ++k) vowelsBefore += isVowel(s.at(k)) ? 1 : 0;
  const unsigned char before = asciiUpper(s.at(p - 1));
  static constexpr std::string_view kAgentEndings[] = {"RA", "RAS"};
  if (vowelsBefore >= 2 && (before == 'D' || before == 'T' || before == 'S') && endsWithOneOf(s, p + 1, kAgentEndings))
    return output;
  return "oo";
}

// An adverb in -mente keeps the open vowel its adjective stresses: the e of
// -vel and -el (possivelmente, cruelmente) and the o of -osa
// (cuidadosamente).
std::string_view openInAdverbBase(const Scanner& s, int p, const TranscriptionRule& rule, std::string_view output) {
  if (rule.match.size() != 1 || (output != "e" && output != "o")) return output;
  if (output == "e" && asciiUpper(s.at(p)) == 'E' && endsWith(s, p, "ELMENTE")) return "ee";
  if (output == "o" && asciiUpper(s.at(p)) == 'O' && endsWith(s, p, "OSAMENTE")) return "oo";
  return output;
}

// What the rules say for the stressed vowel, with what only the stress
// decides: the rules cannot say these, since they do not see the stress.
// Only a vowel its own one-letter rule says is looked at.
std::string_view stressedVowel(const Scanner& s, int p, const TranscriptionRule& rule, std::string_view output) {
  if (rule.match.size() != 1) return output;
  output = nasalBeforeNextSyllable(s, p, output);
  output = openBeforeRAndConsonant(s, p, output);
  output = openBeforeEnding(s, p, output);
  return openInLastButOneSyllable(s, p, output);
}

}  // namespace

void applyLetterRules(std::string_view word, int stressPosition, TextList& phonemes) {
  // Once placed, the marker is gone for good (the position is no longer one
  // a letter can reach, also in words of 255 letters and more).
  if (stressPosition < 1) stressPosition = INT_MAX;
  const Scanner s{word, static_cast<int>(word.size())};
  // The entry being written is always open; an output's "&" and its end close it.
  phonemes.open();
  std::string& text = phonemes.text();
  int p = 1;
  while (p <= s.n) {
    const TranscriptionRule* chosen = nullptr;
    const unsigned char c = s.at(p);
    if (c >= 32) {
      for (const TranscriptionRule& rule : ruleChain(c)) {
        if (matchPart(s, p, rule.match) && leftContext(s, p, rule.leftContext) &&
            rightContext(s, p, rule.match.size(), rule.rightContext)) {
          chosen = &rule;
          break;
        }
      }
    }
    if (chosen == nullptr) {
      ++p;  // no rule: the letter says nothing
      continue;
    }
    std::string_view output = std::string_view(chosen->output).substr(0, kEmitted);
    if (p == stressPosition) output = stressedVowel(s, p, *chosen, output);
    else output = openInAdverbBase(s, p, *chosen, output);
    for (const char ch : output) {
      if (p >= stressPosition) {
        text += '>';
        stressPosition = INT_MAX;
      }
      if (ch == '&') {
        phonemes.close();
        phonemes.open();
      } else {
        text += ch;
      }
    }
    if (!output.empty()) {
      phonemes.close();
      phonemes.open();
    }
    p += static_cast<int>(chosen->match.size());
  }
  phonemes.close();
}

void applyLetterRules(std::string_view word, int stressPosition, StringList& phonemes) {
  TextList list;
  applyLetterRules(word, stressPosition, list);
  for (std::size_t i = 0; i < list.size(); ++i) phonemes.emplace_back(list[i]);
}

bool isUnstressedWord(std::string_view word) {
  if (word.size() < 3) return true;
  for (const char* w : {"POR", "DAS", "DOS", "COM", "N\xC3O", "SIM"})
    if (word == w) return true;
  return false;
}

namespace {

bool isPause(char c) {
  switch (c) {
    case '!': case '(': case ')': case ',': case '.': case ':': case ';': case '?': return true;
    default: return false;
  }
}

// A vowel or glide (and, as the search of a C string found it, a NUL byte).
bool opensWithVowel(char c) {
  switch (c) {
    case 'a': case 'e': case 'i': case 'o': case 'u': case 'w': case 'y': case '\0': return true;
    default: return false;
  }
}

void addPausePhoneme(char c, TextList& phonemes) {
  if (!isPause(c)) return;
  const char entry[2] = {'_', c};
  phonemes.push(std::string_view(entry, 2));
}

void applyLiaison(TextList& phonemes) {
  std::size_t i = 3;
  while (i + 1 < phonemes.size()) {
    if (!phonemes[i].empty() && phonemes[i][0] == ';') {
      std::string_view first = phonemes[i + 1];
      // The next word's first phoneme may carry the stress mark and the end
      // of the stressed stretch; neither hides its vowel.
      if (!first.empty() && first[0] == '>') first.remove_prefix(1);
      if (!first.empty() && first[0] == '\xA8') first.remove_prefix(1);
      if (!first.empty() && opensWithVowel(first[0])) {
        const std::string_view last = phonemes[i - 2];
        if (last == "r2") phonemes.shorten(i - 2, "r");
        else if (last == "s2") phonemes.shorten(i - 2, "z");
      }
      i += 2;
    } else {
      ++i;
    }
  }
}

}  // namespace

void addPausePhoneme(char c, StringList& phonemes) {
  if (isPause(c)) phonemes.push_back(std::string("_") + c);
}

void applyLiaison(StringList& phonemes) {
  TextList list;
  list.assign(phonemes);
  applyLiaison(list);
  phonemes = list.toStrings();
}

namespace {

// The phonemes of the words said so far, by their upper-case spelling: a
// word depends only on the rules and the exceptions, and the same few
// hundred words make most of any text.
struct TranscribedWords {
  static constexpr std::size_t kLongestWord = 48;
  static constexpr std::size_t kMostEntries = 1 << 16;
  std::uint64_t version = ~std::uint64_t{0};
  tts::TextMap<std::pair<std::uint32_t, std::uint32_t>> where;  // first entry and count in `entries`
  TextList entries;
  void clear() {
    where.clear();
    entries.clear();
  }
};

TranscribedWords& transcribedWords() {
  static TranscribedWords words;
  return words;
}

// A letter word (upper case) after its exception, with its stress and rules.
void transcribeWord(std::string& word, TextList& phonemes) {
  TranscribedWords& known = transcribedWords();
  if (known.version != languageDataVersion()) {
    known.clear();
    known.version = languageDataVersion();
  }
  if (const auto* at = known.where.find(word)) {
    phonemes.append(known.entries, at->first, at->second);
    return;
  }
  const std::size_t first = phonemes.size();
  // (Kept on the stack: a word of at most kLongestWord letters is stored.)
  char spelling[TranscribedWords::kLongestWord];
  const std::size_t spellingLength = word.size() <= TranscribedWords::kLongestWord ? word.size() : 0;
  std::copy(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(spellingLength), spelling);
  lookupException(word);
  const int stress = isUnstressedWord(word) ? 0 : findStressedLetter(word);
  applyLetterRules(word, stress, phonemes);
  if (spellingLength == 0) return;
  if (known.entries.size() + (phonemes.size() - first) > TranscribedWords::kMostEntries) known.clear();  // start afresh
  const auto start = static_cast<std::uint32_t>(known.entries.size());
  for (std::size_t k = first; k < phonemes.size(); ++k) known.entries.push(phonemes[k]);
  known.where.emplace(std::string_view(spelling, spellingLength),
                      std::make_pair(start, static_cast<std::uint32_t>(phonemes.size() - first)));
}

}  // namespace

void forgetTranscribedWords() { transcribedWords().clear(); }

void transcribeWords(const TextList& codedWords, TextList& phonemes) {
  phonemes.clear();
  phonemes.reserve(codedWords.size() * 6, codedWords.size() * 16);
  std::string word;
  for (std::size_t i = 0; i < codedWords.size(); ++i) {
    const std::string_view entry = codedWords[i];
    phonemes.open();
    phonemes.text().append(";").append(entry);
    phonemes.close();
    const std::string_view written = entry.size() > 4 ? entry.substr(4) : std::string_view();
    word.resize(written.size());
    for (std::size_t k = 0; k < written.size(); ++k) word[k] = static_cast<char>(upperCp1252(static_cast<std::uint8_t>(written[k])));
    if (word.empty()) {
      phonemes.push("__");
      phonemes.push("");
    } else if (word[0] == '\0' || word[0] == ' ' || isPause(word[0])) {
      addPausePhoneme(word[0], phonemes);
    } else {
      transcribeWord(word, phonemes);
    }
  }
  phonemes.push("__");
  applyLiaison(phonemes);
}

StringList transcribeWords(const StringList& codedWords) {
  TextList in, out;
  in.assign(codedWords);
  transcribeWords(in, out);
  return out.toStrings();
}

}  // namespace tradutor

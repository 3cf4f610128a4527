// Rewriting a word with the rules: each position takes the first rule of its
// letter's list whose centre, left context and right context match.
#include "diphone/letter_rules.h"
#include "diphone/letter_rules_internal.h"
#include "diphone/letter_rules_state.h"

namespace tradutor {

using namespace rules;

namespace {

// The word with 1-based positions; 0 and n+1 are outside and hold no character.
struct Positions {
  const std::string& w;
  int n;
  int at(int k) const { return k >= 1 && k <= n ? static_cast<unsigned char>(w[k - 1]) : -1; }
  bool inside(int k) const { return k >= 1 && k <= n; }
  int upperAt(int k) const { return inside(k) ? upperAscii(at(k)) : -1; }
};

bool matchCentre(const Positions& p, int position, const std::string& centre) {
  for (std::size_t k = 0; k < centre.size(); ++k) {
    const int at = position + static_cast<int>(k);
    if (!p.inside(at) || p.upperAt(at) != static_cast<unsigned char>(centre[k])) return false;
  }
  return true;
}

bool matchLeft(const Positions& p, int position, const std::string& left) {
  int cursor = position - 1;
  for (auto it = left.rbegin(); it != left.rend(); ++it) {
    const int symbol = static_cast<unsigned char>(*it);
    switch (symbol) {
      case '#':
        if (!p.inside(cursor) || !(isVowel(p.at(cursor)) || isAccentMark(p.at(cursor)))) return false;
        while (p.inside(cursor) && (isVowel(p.at(cursor)) || isAccentMark(p.at(cursor)))) --cursor;
        break;
      case '%':
        if (p.inside(cursor)) return false;
        break;
      case ']':
        if (!p.inside(cursor)) return false;
        if (isBackVowel(p.at(cursor))) cursor -= 1;
        else if (isAccentMark(p.at(cursor)) && isBackVowel(p.at(cursor - 1))) cursor -= 2;
        else return false;
        break;
      case '_':
        if (cursor == 0) break;
        if (!p.inside(cursor)) return false;
        if (isVowel(p.at(cursor))) cursor -= 1;
        else if (isAccentMark(p.at(cursor)) && isVowel(p.at(cursor - 1))) cursor -= 2;
        else return false;
        break;
      case '|':
        if (cursor == 0 || !p.inside(cursor)) return false;
        if (p.at(cursor) != 'n' && p.at(cursor) != 'r' && p.at(cursor) != 's') return false;
        cursor -= 1;
        break;
      default:
        if (cursor == 0 || p.upperAt(cursor) != symbol) return false;
        cursor -= 1;
        break;
    }
  }
  return true;
}

bool matchRight(const Positions& p, int position, const std::string& centre, const std::string& right) {
  int cursor = position + static_cast<int>(centre.size());
  for (const char ch : right) {
    const int symbol = static_cast<unsigned char>(ch);
    switch (symbol) {
      case '#':
        if (!p.inside(cursor) || !(isVowel(p.at(cursor)) || isAccentMark(p.at(cursor)))) return false;
        while (p.inside(cursor) && (isVowel(p.at(cursor)) || isAccentMark(p.at(cursor)))) ++cursor;
        break;
      case '%':
        if (p.inside(cursor)) return false;
        break;
      case '&': {
        const int c = p.at(cursor);
        if (cursor > p.n || !(c == 'l' || c == 'm' || c == 'n' || c == 'r' || c == 'z')) return false;
        cursor += 1;
        break;
      }
      case '*': {
        const int c = p.at(cursor);
        if (!p.inside(cursor) || !isConsonant(c) || c == 'r' || c == 'l') return false;
        break;
      }
      case '+':
        if (!p.inside(cursor) || !isFrontVowel(p.at(cursor))) return false;
        cursor += isAccentMark(p.at(cursor + 1)) ? 2 : 1;
        break;
      case '[':
        if (cursor != p.n + 1 && !(p.inside(cursor) && isConsonant(p.at(cursor)) && p.at(cursor) != 'h')) return false;
        break;
      case '\\':
        if (p.inside(cursor) && p.at(cursor) == 's') cursor += 1;
        break;
      default:
        if (cursor > p.n || p.upperAt(cursor) != symbol) return false;
        cursor += 1;
        break;
    }
  }
  return true;
}

// Upper-cases the first vowel of a rule's output: the stress moves with it.
void stressOutput(std::string& output) {
  std::size_t i = 0;
  while (i + 1 < output.size() && !isVowel(static_cast<unsigned char>(output[i]))) ++i;
  if (i < output.size() && isVowel(static_cast<unsigned char>(output[i])))
    output[i] = static_cast<char>(upperAscii(static_cast<unsigned char>(output[i])));
}

// A stressed a before m or n and a vowel (cama, banana, semana) is the nasal
// a. The rules cannot say it: their letters match whatever the stress, and
// the stress is only the upper case markStress gave the letter.
bool nasalBeforeNextSyllable(const Positions& p, int position, const std::string& output) {
  // (" a" is the a of a hiatus, as in Diana.)
  if (p.at(position) != 'A' || (output != "a" && output != " a")) return false;
  const int next = p.at(position + 1);
  return (next == 'm' || next == 'n') && p.inside(position + 2) && isVowel(p.at(position + 2));
}

}  // namespace

std::string rewriteWord(const WorkWord& word) {
  const Positions p{word.text, static_cast<int>(word.text.size())};
  const RulesState& s = state();
  std::string out = "[";
  int position = 1;
  while (position <= p.n) {
    const int x = upperAscii(p.at(position));
    std::string output = " /_";
    output += static_cast<char>(x);
    int consumed = 1;
    if (x >= 32 && x <= 95) {
      for (const LetterRule& rule : s.lists[x - 32]) {
        if (matchCentre(p, position, rule.centre) && matchLeft(p, position, rule.left) &&
            matchRight(p, position, rule.centre, rule.right)) {
          output = rule.output;
          consumed = static_cast<int>(rule.centre.size());
          break;
        }
      }
    }
    if (nasalBeforeNextSyllable(p, position, output)) output += '~';
    const int c = p.at(position);
    if (c >= 'A' && c <= 'Z' && isVowel(c)) stressOutput(output);
    out += output;
    position += consumed;
    if (position <= p.n) out += '/';
  }
  out += ']';
  return out;
}

}  // namespace tradutor

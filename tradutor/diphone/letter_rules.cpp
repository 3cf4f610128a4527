// The rules engine: loading its two files, preparing the text, cutting it
// into words, the exceptions dictionary and the conversion of a text.
#include "diphone/letter_rules.h"

#include <algorithm>
#include <vector>

#include "diphone/letter_rules_internal.h"
#include "diphone/letter_rules_state.h"
#include "platform/files.h"

namespace tradutor {
namespace rules {

RulesState& state() {
  static RulesState s;
  return s;
}

namespace {

std::vector<std::string> linesOf(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (const std::uint8_t b : bytes) {
    if (b == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(b);
    }
  }
  if (!line.empty()) {
    if (line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// left(centre)right=output|comment; a field past a missing delimiter is empty.
LetterRule splitRuleLine(const std::string& line) {
  LetterRule rule;
  const std::size_t open = line.find('(');
  rule.left = line.substr(0, std::min<std::size_t>(open, line.size())).substr(0, 5);
  if (open == std::string::npos) return rule;
  const std::size_t close = line.find(')', open + 1);
  rule.centre = line.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1).substr(0, 5);
  if (close == std::string::npos) return rule;
  const std::size_t equals = line.find('=', close + 1);
  rule.right =
      line.substr(close + 1, equals == std::string::npos ? std::string::npos : equals - close - 1).substr(0, 5);
  if (equals == std::string::npos) return rule;
  const std::size_t bar = line.find('|', equals + 1);
  rule.output = line.substr(equals + 1, bar == std::string::npos ? std::string::npos : bar - equals - 1).substr(0, 11);
  return rule;
}

bool findException(const std::string& word, std::string& respelling) {
  const auto& table = state().exceptions;
  int low = 0;
  int high = static_cast<int>(table.size()) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = word.compare(table[static_cast<std::size_t>(middle)].first);
    if (order == 0) {
      respelling = table[static_cast<std::size_t>(middle)].second;
      return true;
    }
    if (order > 0) low = middle + 1;
    else high = middle - 1;
  }
  return false;
}

}  // namespace
}  // namespace rules

using namespace rules;

bool loadLetterRules(const std::string& fileName) {
  RulesState& s = state();
  for (auto& list : s.lists) list.clear();
  s.exceptions.clear();
  std::vector<std::uint8_t> bytes;
  if (!platform::readWholeFile(fileName, bytes)) return false;
  for (const std::string& line : linesOf(bytes)) {
    LetterRule rule = splitRuleLine(line);
    // A rule that consumes nothing would never let the rewriting advance,
    // and a centre outside space..underscore has no list: both are skipped.
    if (rule.centre.empty()) continue;
    const unsigned char first = static_cast<unsigned char>(rule.centre[0]);
    if (first < 32 || first > 95) continue;
    // Each rule goes to the end of its own letter's list, so a file whose
    // rules of one letter are not all on consecutive lines loses none.
    s.lists[first - 32].push_back(std::move(rule));
  }
  return true;
}

bool loadExceptionWords(const std::string& fileName) {
  RulesState& s = state();
  s.exceptions.clear();
  std::vector<std::uint8_t> bytes;
  if (!platform::readWholeFile(fileName, bytes)) return false;
  for (std::string line : linesOf(bytes)) {
    if (static_cast<int>(s.exceptions.size()) >= kMaxExceptionWords) break;
    if (line.empty()) continue;
    if (line.size() > 255) line.resize(255);
    line += "|=|";
    const std::size_t equals = line.find('=');
    const std::size_t bar = line.find('|', equals + 1);
    s.exceptions.emplace_back(line.substr(0, equals), line.substr(equals + 1, bar - equals - 1));
  }
  std::stable_sort(s.exceptions.begin(), s.exceptions.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return true;
}

void freeLetterRules() {
  for (auto& list : state().lists) {
    list.clear();
    list.shrink_to_fit();
  }
}

int exceptionWordCount() { return static_cast<int>(state().exceptions.size()); }

int letterRuleCount() {
  int n = 0;
  for (const auto& list : state().lists) n += static_cast<int>(list.size());
  return n;
}

std::string prepareText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint8_t c = static_cast<std::uint8_t>(text[i]);
    const int before = i > 0 ? static_cast<std::uint8_t>(text[i - 1]) : -1;
    const int after = i + 1 < text.size() ? static_cast<std::uint8_t>(text[i + 1]) : -1;
    const bool letterBeside = isLetter(before) || isLetter(after);
    if ((c == 'W' || c == 'w') && letterBeside) {
      out += 'u';
    } else if ((c == 'Y' || c == 'y') && letterBeside) {
      out += 'i';
    } else if (c == '\'' && (before == 'D' || before == 'd')) {
      // d' as in d'agua: the apostrophe is not read
    } else if (c < 32 || (c >= 128 && replacementOf(c) == nullptr)) {
      out += " \x01 ";  // an unknown character, spelled as the sound _1
    } else if (c >= 128) {
      out += replacementOf(c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool nextWord(const std::string& prepared, std::size_t& position, WorkWord& word) {
  word = WorkWord{};
  while (position < prepared.size() && prepared[position] == ' ') ++position;
  if (position >= prepared.size()) return false;
  const int first = lowerAscii(static_cast<std::uint8_t>(prepared[position]));
  if (!isLetter(first)) {
    word.text.assign(1, static_cast<char>(first));
    ++position;
    return true;
  }
  while (position < prepared.size() && static_cast<int>(word.text.size()) < kWorkWordSize) {
    const int c = lowerAscii(static_cast<std::uint8_t>(prepared[position]));
    if (!isLetter(c) && !isAccentMark(c)) break;
    word.text += static_cast<char>(c);
    if (isVowel(c)) ++word.vowels;
    ++position;
    if (position < prepared.size()) {
      const int next = prepared[position];
      if (next == '\'' || next == '^' || next == '`' || next == '~') word.accent = true;
    }
  }
  return true;
}

void applyExceptionWords(WorkWord& word) {
  std::string w = word.text;
  std::string suffix;
  std::string respelling;
  for (;;) {
    if (findException(w, respelling)) {
      w = respelling;
      break;
    }
    if (w.empty() || (w.back() != 's' && w.back() != 'm')) break;
    suffix.insert(suffix.begin(), w.back());
    w.pop_back();
    if (w.empty()) break;
  }
  word.text = w + suffix;
}

bool isSpelledWord(const WorkWord& word) {
  if (word.text.empty()) return false;
  if (word.text[0] == '\x01') return true;
  return std::all_of(word.text.begin(), word.text.end(), [](char ch) {
    const int c = static_cast<std::uint8_t>(ch);
    return isConsonant(c) || isSeparator(c);
  });
}

std::string spellWord(const WorkWord& word) {
  std::string out;
  for (const char c : word.text) {
    out += "[ /_";
    out += c;
    out += ']';
  }
  return out;
}

std::string textToPhonetic(std::string_view text) {
  std::string result;
  const std::string prepared = prepareText(text);
  std::size_t position = 0;
  WorkWord word;
  while (nextWord(prepared, position, word)) {
    applyExceptionWords(word);
    markStress(word);
    result += isSpelledWord(word) ? spellWord(word) : rewriteWord(word);
  }
  return result;
}

}  // namespace tradutor

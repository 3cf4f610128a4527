// uttsPreproc: numbers as cardinal and ordinal words.
#include <string>

#include "tts/utts_preproc.h"
#include "tts/utts_preproc_tables.h"

namespace tradutor {
namespace {

constexpr std::uint64_t kLimit = 1000000000000000ull;  // 10^15

bool isDigit(char c) { return c >= '0' && c <= '9'; }
char at(std::string_view text, std::size_t i) { return i < text.size() ? text[i] : '\0'; }

std::string feminine(std::string word) {
  if (!word.empty()) word.back() = 'a';
  return word;
}

}  // namespace

std::string hundredsWords(std::string_view d) {
  if (d.size() < 3) return {};
  const int a = d[0] - '0', b = d[1] - '0', c = d[2] - '0';
  if (a == 0 && b == 0 && c == 0) return {};
  if (a == 1 && b == 0 && c == 0) return "cem";
  std::string words;
  if (a != 0) {
    words += preproc::kHundreds[a];
    if (b == 0 && c == 0) return words;
    words += " e ";
  }
  if (b == 1) return words + preproc::kTeens[c];
  if (b != 0) {
    words += preproc::kTens[b];
    if (c == 0) return words;
    words += " e ";
  }
  if (c > 0) words += preproc::kUnits[c];
  return words;
}

std::string groupWords(std::string_view digits, int g) {
  const std::string_view three = digits.substr(static_cast<std::size_t>(3 * g), 3);
  std::string words = hundredsWords(three);
  if (preproc::kScaleSingular[g][0] != '\0' && three != "000")
    words += std::string(" ") + (three == "001" ? preproc::kScaleSingular[g] : preproc::kScalePlural[g]);
  return words;
}

std::string cardinalWords(std::uint64_t value) {
  if (value == 0) return "zero";
  std::string digits = std::to_string(value % kLimit);
  digits.insert(0, 15 - digits.size(), '0');
  std::string words[5];
  int last = -1;
  for (int g = 0; g < 5; ++g) {
    words[g] = groupWords(digits, g);
    if (!words[g].empty()) last = g;
  }
  std::string result;
  std::string separator;
  for (int g = 0; g < 5; ++g) {
    result += g == last ? separator + words[g] : words[g];
    if (!words[g].empty()) separator = "e ";
  }
  if (result.rfind("um mil", 0) == 0 && result.rfind("um milh", 0) != 0) result.erase(0, 3);
  return result;
}

std::string ordinalWords(bool fem, std::uint64_t value) {
  if (value == 0) return "zero";
  if (value >= 2000) return cardinalWords(value);
  const int u = static_cast<int>(value % 10), t = static_cast<int>(value / 10 % 10);
  const int h = static_cast<int>(value / 100 % 10), th = static_cast<int>(value / 1000 % 10);
  auto form = [fem](const char* word) { return fem ? feminine(word) : std::string(word); };
  std::string result;
  if (u > 0) result = form(preproc::kOrdinalUnits[u]) + " " + result;
  if (t > 0) result = form(preproc::kOrdinalTens[t]) + " " + result;
  if (h > 0) result = form(preproc::kOrdinalHundreds[h]) + " " + result;
  if (th > 0) result = form(preproc::kThousandth) + " " + result;
  while (!result.empty() && result.back() == ' ') result.pop_back();
  return result;
}

std::string readNumber(std::string_view text, std::size_t& p) {
  std::size_t end = p;
  bool dashed = false;
  for (; end < text.size() && (isDigit(text[end]) || text[end] == '-'); ++end) {
    if (text[end] == '-') dashed = true;
  }
  if (dashed) {
    std::string words;
    for (; p < end; ++p) words += text[p] == '-' ? " tra\xE7o" : std::string(" ") + preproc::kUnits[text[p] - '0'];
    return words;
  }
  std::string zeros;
  while (at(text, p) == '0' && isDigit(at(text, p + 1))) {
    zeros += "zero ";
    ++p;
  }
  std::uint64_t value = 0;
  while (p < text.size()) {
    const char c = text[p];
    if (isDigit(c)) {
      const std::uint64_t next = value * 10 + static_cast<std::uint64_t>(c - '0');
      if (next >= kLimit) break;  // the digit starts the next number
      value = next;
      ++p;
    } else if (c == '.' && isDigit(at(text, p + 1)) && isDigit(at(text, p + 2)) && isDigit(at(text, p + 3)) &&
               !isDigit(at(text, p + 4))) {
      ++p;  // a thousands point
    } else {
      break;
    }
  }
  const char s = at(text, p);
  if (s == '\xBA' || s == '\xAA') {
    ++p;
    return ordinalWords(s == '\xAA', value);
  }
  if ((s == 'o' || s == 'a') && at(text, p + 1) == '.') {
    p += 2;
    return ordinalWords(s == 'a', value);
  }
  if ((s == 'o' || s == 'a') && at(text, p + 1) == 's' && at(text, p + 2) == '.') {
    p += 3;
    return ordinalWords(s == 'a', value) + "s";
  }
  return zeros + cardinalWords(value);
}

}  // namespace tradutor

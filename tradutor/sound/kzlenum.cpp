// kzlenum: number words and their recordings joined into one sound.
#include "sound/kzlenum.h"

#include <algorithm>
#include <vector>

#include "hub/kzwin.h"
#include "platform/files.h"
#include "platform/window.h"

namespace tradutor {
namespace {

const char* const kUnits[10] = {"", "um", "dois", "tres", "quatro", "cinco", "seis", "sete", "oito", "nove"};
const char* const kTeens[10] = {"dez",       "onze",      "doze",     "treze",   "quatorze",
                                "quinze",    "dezesseis", "dezessete", "dezoito", "dezenove"};
const char* const kTens[10] = {"", "", "vinte", "trinta", "quarenta", "cinquenta", "sessenta", "setenta", "oitenta",
                               "noventa"};
const char* const kHundreds[10] = {"",           "cento",      "duzentos",  "trezentos",  "quatrocentos",
                                   "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};
// Scale words of groups 1..4, most significant first; group 5 has none.
const char* const kScaleSingular[4] = {"trilh\xE3o ", "bilh\xE3o ", "milh\xE3o ", "mil "};
const char* const kScalePlural[4] = {"trilh\xF5" "es ", "bilh\xF5" "es ", "milh\xF5" "es ", "mil "};

std::string groupWords(int h, int t, int u) {
  if (h == 0 && t == 0 && u == 0) return "";
  if (h == 1 && t == 0 && u == 0) return "cem";
  std::string words;
  if (h != 0) {
    words += kHundreds[h];
    if (t == 0 && u == 0) return words;
    words += " e ";
  }
  if (t == 1) return words + kTeens[u];
  if (t != 0) {
    words += kTens[t];
    if (u == 0) return words;
    words += " e ";
  }
  if (u != 0) words += kUnits[u];
  return words;
}

}  // namespace

std::string numberToWords(std::uint32_t n) {
  if (n == 0) return "zero";
  std::string digits = std::to_string(n);
  digits.insert(0, 15 - digits.size(), '0');
  std::string groups[5];
  int last = -1;
  for (int i = 0; i < 5; ++i) {
    const char* g = digits.c_str() + 3 * i;
    groups[i] = groupWords(g[0] - '0', g[1] - '0', g[2] - '0');
    if (groups[i].empty()) continue;
    if (i < 4) groups[i] += std::string(" ") + (g[0] == '0' && g[1] == '0' && g[2] == '1' ? kScaleSingular[i] : kScalePlural[i]);
    last = i;
  }
  std::string result;
  bool earlier = false;
  for (int i = 0; i < 5; ++i) {
    if (groups[i].empty()) continue;
    if (i == last && earlier) result += "e ";
    result += groups[i];
    earlier = true;
  }
  if (result.rfind("um mil", 0) == 0 && result.rfind("um milh", 0) != 0) result.erase(0, 3);
  return result;
}

std::string numberWordFileName(std::string_view word) {
  std::string w(word);
  for (char& c : w) {
    if (c == '\xE3') c = 'a';
    else if (c == '\xF5') c = 'o';
  }
  if (w == "dezessete") w = "dezeset";
  return ("_" + w).substr(0, 8);
}

void speakNumberWords(std::string_view words, int feminine) {
  std::vector<std::uint8_t> buffer(44 + kNumberSoundData);
  std::uint16_t sum = 0;
  auto flush = [&buffer, &sum] {
    buildWaveHeader(buffer.data(), sum, 11025, 1, 8);
    playWaveBuffer(buffer.data(), 44u + sum);
    while (isSpeaking()) platform::waitMessage();
  };
  const std::string text = std::string(words) + " *";
  const std::size_t endMark = text.size() - 1;
  std::size_t pos = 0;
  for (;;) {
    while (pos < endMark && text[pos] == ' ') ++pos;
    if (pos >= endMark) break;
    const std::size_t end = text.find(' ', pos);
    const std::string word = text.substr(pos, end - pos);
    pos = end;
    std::size_t ahead = pos;
    while (ahead < endMark && text[ahead] == ' ') ++ahead;
    std::string name = numberWordFileName(word);
    if (feminine == 1 && ahead >= endMark) {
      if (name == "_um") name = "_uma";
      else if (name == "_dois") name = "_duas";
    }
    platform::FileHandle file = platform::openForReading(lettersDirectory() + name + ".wav");
    if (file == nullptr) continue;
    const std::uint64_t size = platform::fileSize(file);
    if (size > 44 && platform::seekFile(file, 44)) {
      const std::uint32_t a = static_cast<std::uint32_t>(std::min<std::uint64_t>(size - 44, kNumberSoundData));
      if (sum + a > kNumberSoundData) {
        flush();
        sum = 0;
      }
      sum = static_cast<std::uint16_t>(sum + platform::readFile(file, buffer.data() + 44 + sum, a));
    }
    platform::closeFile(file);
  }
  if (sum > 0) flush();
}

}  // namespace tradutor

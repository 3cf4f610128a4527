// uttsExcessoes: loading the sorted table and the S/M lookups.
#include "tts/utts_excessoes.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "common/cp1252_case.h"
#include "tts/utts_inic.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace {

std::vector<std::pair<std::string, std::string>>& table() {
  static std::vector<std::pair<std::string, std::string>> t;
  return t;
}

// Each key's respelling as the bisection of the sorted table finds it (for
// a key written twice, the one the bisection meets), looked up by hashing.
tts::TextMap<const std::string*>& index() {
  static tts::TextMap<const std::string*> i;
  return i;
}

const std::string* bisect(std::string_view key) {
  const auto& t = table();
  int low = 0;
  int high = static_cast<int>(t.size()) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = key.compare(t[static_cast<std::size_t>(middle)].first);
    if (order == 0) return &t[static_cast<std::size_t>(middle)].second;
    if (order > 0) low = middle + 1;
    else high = middle - 1;
  }
  return nullptr;
}

}  // namespace

bool loadExceptions(const std::string& fileName) {
  auto& t = table();
  languageDataChanged();
  index().clear();
  t.clear();
  std::vector<std::string> lines;
  if (!tts::readLines(fileName, lines)) return false;
  for (std::string line : lines) {
    if (static_cast<int>(t.size()) >= kMaxTtsExceptions) break;
    if (line.size() > 255) line.resize(255);
    line = toUpperCp1252(line);
    if (line.empty()) continue;
    // Without "=" the key keeps a "|", which no word can equal.
    line += "|=|";
    const std::size_t equals = line.find('=');
    const std::size_t bar = line.find('|', equals + 1);
    t.emplace_back(line.substr(0, equals), line.substr(equals + 1, bar - equals - 1));
  }
  std::stable_sort(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  index().clear();
  for (const auto& entry : t) index().emplace(entry.first, bisect(entry.first));
  return true;
}

void lookupException(std::string& word) {
  // The word, then the word without its last S and M letters one by one;
  // the letters taken off stay after the respelling.
  const auto& i = index();
  for (std::size_t length = word.size();;) {
    if (const auto respelling = i.find(std::string_view(word).substr(0, length))) {
      word.replace(0, length, **respelling);
      return;
    }
    if (length == 0 || (word[length - 1] != 'S' && word[length - 1] != 'M')) return;
    if (--length == 0) return;
  }
}

int ttsExceptionCount() { return static_cast<int>(table().size()); }
void clearTtsExceptions() {
  languageDataChanged();
  index().clear();
  table().clear();
}

}  // namespace tradutor

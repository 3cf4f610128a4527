// uttsExcessoes: loading the sorted table and the S/M lookups.
#include "tts/utts_excessoes.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/cp1252_case.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace {

std::vector<std::pair<std::string, std::string>>& table() {
  static std::vector<std::pair<std::string, std::string>> t;
  return t;
}

const std::string* find(const std::string& key) {
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
  return true;
}

void lookupException(std::string& word) {
  std::string w = word;
  std::string suffix;
  for (;;) {
    if (const std::string* respelling = find(w)) {
      word = *respelling + suffix;
      return;
    }
    if (w.empty() || (w.back() != 'S' && w.back() != 'M')) return;
    suffix.insert(suffix.begin(), w.back());
    w.pop_back();
    if (w.empty()) return;
  }
}

int ttsExceptionCount() { return static_cast<int>(table().size()); }
void clearTtsExceptions() { table().clear(); }

}  // namespace tradutor

// Host platform: profile strings read from INI files with the Windows rules.
#include "platform/profile.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/files.h"

namespace platform {
namespace {

std::string trim(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string cut(std::string text, int bufferSize) {
  if (bufferSize <= 0) return {};
  if (static_cast<int>(text.size()) > bufferSize - 1) text.resize(static_cast<std::size_t>(bufferSize - 1));
  return text;
}

std::string resolve(const std::string& fileName) {
  if (fileName.find_first_of("\\/:") != std::string::npos) return fileName;
  std::string dir = windowsDirectory(260);
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir + fileName;
}

}  // namespace

std::string readProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                              int bufferSize, const std::string& fileName) {
  std::vector<std::uint8_t> bytes;
  if (!readWholeFile(resolve(fileName), bytes)) return cut(defaultValue, bufferSize);
  const std::string text(bytes.begin(), bytes.end());
  const std::string wantedSection = trim(section);
  const std::string wantedKey = trim(key);
  bool inSection = false;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (!line.empty() && line[0] == '[') {
      const std::size_t close = line.find(']');
      inSection = sameIgnoringCase(trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                                   wantedSection);
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || !sameIgnoringCase(trim(line.substr(0, equals)), wantedKey)) continue;
    std::string value = trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return cut(value, bufferSize);
  }
  return cut(defaultValue, bufferSize);
}

}  // namespace platform

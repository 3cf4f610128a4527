#include "tts/utts_text.h"

#include "common/cp1252_case.h"
#include "platform/files.h"

namespace tradutor::tts {

CaseCopy::CaseCopy(std::string_view text, Case to) {
  if (text.size() > sizeof small_) {
    large_ = to == upper ? toUpperCp1252(text) : toLowerCp1252(text);
    view_ = large_;
    return;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<std::uint8_t>(text[i]);
    small_[i] = static_cast<char>(to == upper ? upperCp1252(c) : lowerCp1252(c));
  }
  view_ = std::string_view(small_, text.size());
}

std::string trim(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

bool readLines(const std::string& fileName, std::vector<std::string>& lines) {
  std::vector<std::uint8_t> bytes;
  if (!platform::readWholeFile(fileName, bytes)) return false;
  lines.clear();
  std::string line;
  for (const std::uint8_t b : bytes) {
    if (b == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += static_cast<char>(b);
    }
  }
  if (!line.empty()) {
    if (line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return true;
}

}  // namespace tradutor::tts

#include "voice_tables.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace voicedb {
namespace {

int indexOf(const std::vector<PhonemeEntry>& phonemes, const std::string& name) {
  for (std::size_t i = 0; i < phonemes.size(); ++i)
    if (phonemes[i].name == name) return static_cast<int>(i);
  return -1;
}

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool loadPhonemeTable(const std::string& path, std::vector<PhonemeEntry>& out) {
  std::ifstream in(path);
  if (!in) return std::fprintf(stderr, "voicedb: cannot read %s\n", path.c_str()), false;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(trimmed(field));
    if (fields.size() != 4) return std::fprintf(stderr, "voicedb: %s:%d: four fields expected\n", path.c_str(), number), false;
    PhonemeEntry e{fields[0], fields[1], PhonemeClass::consonant, fields[3] == "yes"};
    if (fields[2] == "silence") e.kind = PhonemeClass::silence;
    else if (fields[2] == "vowel") e.kind = PhonemeClass::vowel;
    else if (fields[2] == "glide") e.kind = PhonemeClass::glide;
    else if (fields[2] != "consonant")
      return std::fprintf(stderr, "voicedb: %s:%d: unknown class %s\n", path.c_str(), number, fields[2].c_str()), false;
    if (indexOf(out, e.name) >= 0)
      return std::fprintf(stderr, "voicedb: %s:%d: %s given twice\n", path.c_str(), number, e.name.c_str()), false;
    out.push_back(e);
  }
  if (indexOf(out, "_") < 0) return std::fprintf(stderr, "voicedb: %s has no silence _\n", path.c_str()), false;
  return true;
}

bool loadDiphoneList(const std::string& path, const std::vector<PhonemeEntry>& phonemes,
                     std::vector<std::pair<int, int>>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::fprintf(stderr, "voicedb: cannot read %s\n", path.c_str()), false;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = trimmed(line);
    if (line.empty() || line[0] == ';') continue;
    std::string left, right;
    std::stringstream words(line);
    words >> left >> right;
    if (right.empty()) {
      const auto dash = left.find('-', 1);
      if (dash != std::string::npos) right = left.substr(dash + 1), left = left.substr(0, dash);
    }
    const int l = indexOf(phonemes, left), r = indexOf(phonemes, right);
    if (l < 0 || r < 0)
      return std::fprintf(stderr, "voicedb: %s:%d: phoneme not in the table: %s\n", path.c_str(), number, line.c_str()), false;
    out.emplace_back(l, r);
  }
  return true;
}

}  // namespace voicedb

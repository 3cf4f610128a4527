// coverage: how much of a word list the diphone voice speaks whole.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "commands.h"
#include "cp1252.h"
#include "diphone/kztradut.h"
#include "diphone/letter_rules.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"

namespace fs = std::filesystem;

namespace tool {

bool openVoice(const std::string& ini, const std::string& driveC);

namespace {

// A word list's line as Windows-1252: UTF-8 when it is valid UTF-8, else
// taken as ISO-8859-1, which Windows-1252 holds for letters.
std::string wordOf(const std::string& line) {
  const Conversion c = utf8ToCp1252(line);
  return c.error.empty() ? c.text : line;
}

}  // namespace

int coverageCommand(const Arguments& given) {
  Arguments args = given;
  std::string ini = "ORALIS.INI";
  std::string driveC;
  std::string top = "20";
  takeOption(args, "--ini", ini);
  takeOption(args, "--drive-c", driveC);
  takeOption(args, "--top", top);
  if (args.size() != 1) {
    printError("usage: tradutor coverage [--ini FILE] [--drive-c DIR] [--top N] WORDLIST");
    return kUsage;
  }
  std::ifstream list(args[0], std::ios::binary);
  if (!list) {
    printError("cannot read " + args[0]);
    return kFailed;
  }
  if (!openVoice(ini, driveC)) return kFailed;

  std::map<std::string, std::pair<int, std::string>> missing;  // unit -> words lacking it, first such word
  long words = 0;
  long whole = 0;
  std::string line;
  while (std::getline(list, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    ++words;
    const std::string word = wordOf(line);
    const tradutor::PhoneticCheck check = tradutor::checkPhonetic(tradutor::textToPhonetic(word));
    if (check.complete()) {
      ++whole;
      continue;
    }
    std::vector<std::string> units = check.dropped;
    for (const std::string& n : check.noise) units.push_back(n + " (noise)");
    std::sort(units.begin(), units.end());
    units.erase(std::unique(units.begin(), units.end()), units.end());
    for (const std::string& u : units) {
      auto& entry = missing[u];
      if (entry.first++ == 0) entry.second = line;
    }
  }
  std::vector<std::pair<std::string, std::pair<int, std::string>>> ranked(missing.begin(), missing.end());
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second.first > b.second.first; });
  std::printf("words: %ld\nspoken whole: %ld (%.2f%%)\n", words, whole, words ? 100.0 * whole / words : 0.0);
  const std::size_t shown = std::min<std::size_t>(ranked.size(), static_cast<std::size_t>(std::max(0, std::atoi(top.c_str()))));
  if (shown > 0) std::printf("most frequent missing units (words lacking them, an example):\n");
  for (std::size_t i = 0; i < shown; ++i)
    std::printf("  %-16s %7d  %s\n", cp1252ToUtf8(ranked[i].first).c_str(), ranked[i].second.first,
                ranked[i].second.second.c_str());
  return kOk;
}

}  // namespace tool

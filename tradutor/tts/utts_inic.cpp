// uttsInic: reading the rules file.
#include "tts/utts_inic.h"

#include "tts/utts_excessoes.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace {

std::vector<TranscriptionRule>* chains() {
  static std::vector<TranscriptionRule> heads[256];
  return heads;
}

std::string field(const std::string& line, std::size_t from, std::size_t to, std::size_t width) {
  if (from >= line.size() || to <= from) return {};
  return line.substr(from, std::min(to, line.size()) - from).substr(0, width);
}

std::uint64_t& version() {
  static std::uint64_t v = 0;
  return v;
}

}  // namespace

std::uint64_t languageDataVersion() { return version(); }
void languageDataChanged() { ++version(); }

TranscriptionRule parseRuleLine(const std::string& line) {
  TranscriptionRule rule;
  const std::size_t open = line.find('(');
  rule.leftContext = field(line, 0, open, 5);
  if (open == std::string::npos) return rule;
  const std::size_t close = line.find(')', open + 1);
  rule.match = field(line, open + 1, close, 5);
  if (close == std::string::npos) return rule;
  const std::size_t equals = line.find('=', close + 1);
  rule.rightContext = field(line, close + 1, equals, 5);
  if (equals == std::string::npos) return rule;
  rule.output = field(line, equals + 1, line.find('|', equals + 1), 20);
  return rule;
}

bool loadTranscriptionRules(const std::string& fileName) {
  freeTranscriptionRules();
  std::vector<std::string> lines;
  if (!tts::readLines(fileName, lines)) return false;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == ';') continue;
    // A line without "(", ")" or "=", or with an empty match, is no rule: a
    // rule that consumed nothing would stop the scanner; such lines are skipped.
    if (line.find('(') == std::string::npos || line.find('=') == std::string::npos) continue;
    TranscriptionRule rule = parseRuleLine(line);
    if (rule.match.empty()) continue;
    const unsigned char first = static_cast<unsigned char>(rule.match[0]);
    if (first < 32) continue;
    chains()[first].push_back(std::move(rule));
  }
  return true;
}

void freeTranscriptionRules() {
  languageDataChanged();
  for (int c = 0; c < 256; ++c) {
    chains()[c].clear();
    chains()[c].shrink_to_fit();
  }
}

bool loadLanguageData(const std::string& rulesFile, const std::string& exceptionsFile) {
  clearTtsExceptions();
  if (!loadTranscriptionRules(rulesFile)) return false;
  return loadExceptions(exceptionsFile);
}

const std::vector<TranscriptionRule>& ruleChain(unsigned char first) { return chains()[first]; }

int transcriptionRuleCount() {
  int n = 0;
  for (int c = 0; c < 256; ++c) n += static_cast<int>(chains()[c].size());
  return n;
}

}  // namespace tradutor

// uttsProsodia: loading the prosody file and the diphone list, tokens,
// word classes and intonation codes.
#include "tts/utts_prosodia.h"

#include <algorithm>

#include "common/cp1252_case.h"
#include "platform/msgbox.h"
#include "tts/utts_prosodia_state.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace prosody {

ProsodyState& state() {
  static ProsodyState s;
  return s;
}

std::uint64_t shortKey(std::string_view text) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < text.size() && i < 8; ++i)
    key |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(text[i])) << (8 * i);
  return key | (static_cast<std::uint64_t>(text.size()) << 60);
}

std::uint64_t upperKey(std::string_view text) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < text.size() && i < 8; ++i)
    key |= static_cast<std::uint64_t>(upperCp1252(static_cast<std::uint8_t>(text[i]))) << (8 * i);
  return key;
}

namespace {

const char* const kCaption = "Pros\xF3" "dia";

bool fail(const std::string& message) {
  platform::showMessage(message, kCaption);
  return false;
}

// A decimal integer as the whole text: an optional sign and digits.
bool readInteger(const std::string& text, int& value) {
  const std::string t = tts::trim(text);
  std::size_t i = t.size() > 0 && (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i >= t.size() || t.size() - i > 9) return false;
  for (std::size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') return false;
  value = std::stoi(t);
  return true;
}

// The lines of a section: those after its header up to the next "[" line.
bool sectionLines(const std::vector<std::string>& lines, const char* header, std::vector<std::string>& section) {
  section.clear();
  std::size_t i = 0;
  while (i < lines.size() && tts::trim(lines[i]) != header) ++i;
  if (i == lines.size()) return false;
  for (++i; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!line.empty() && line[0] == '[') break;
    if (line.empty() || line[0] == '*' || line[0] == ';') continue;
    section.push_back(line);
  }
  return true;
}

void tableFull(bool& reported, const std::string& line) {
  // The tables have fixed sizes; a longer section is read up to them and the
  // user is told once what was left out.
  if (!reported) platform::showMessage("Configura\xE7\xE3o da pros\xF3" "dia: tabela cheia, linha ignorada: " + line, kCaption);
  reported = true;
}

bool readDurations(const std::vector<std::string>& lines) {
  std::vector<std::string> section;
  if (!sectionLines(lines, "[DURA\xC7\xC3O]", section)) return fail("Dura\xE7\xE3o dos difones errada ou ausente");
  bool full = false;
  for (const std::string& line : section) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return fail("Configura\xE7\xE3o da pros\xF3" "dia: fonema errado: " + line);
    if (static_cast<int>(state().durations.size()) >= kMaxDurations) {
      tableFull(full, line);
      continue;
    }
    int duration = 100;
    if (!readInteger(line.substr(equals + 1), duration)) {
      platform::showMessage("Configura\xE7\xE3o da pros\xF3" "dia: fonema errado: " + line, kCaption);
      duration = 100;
    }
    const std::string phoneme = tts::trim(line.substr(0, equals)).substr(0, 2);
    state().durations.push_back({phoneme, duration});
    state().durationOf.insert(shortKey(phoneme), duration);  // the first entry of a phoneme counts
  }
  return true;
}

bool readKeywords(const std::vector<std::string>& lines) {
  std::vector<std::string> section;
  if (!sectionLines(lines, "[CHAVES]", section)) return fail("Pros\xF3" "dia: palavras chaves ausentes");
  bool full = false;
  auto& keywords = state().keywords;
  for (const std::string& line : section) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return fail("Configura\xE7\xE3o da pros\xF3" "dia: chave errada: " + line);
    if (static_cast<int>(keywords.size()) >= kMaxKeywords) {
      tableFull(full, line);
      continue;
    }
    keywords.push_back({toUpperCp1252(tts::trim(line.substr(0, equals))),
                        toUpperCp1252(tts::trim(line.substr(equals + 1))).substr(0, 2)});
  }
  std::stable_sort(keywords.begin(), keywords.end(), [](const auto& a, const auto& b) { return a.keyword < b.keyword; });
  for (const KeywordEntry& k : keywords) state().keywordClass.emplace(k.keyword, k.wordClass);  // the first one stays
  return true;
}

bool readPatterns(const std::vector<std::string>& lines) {
  std::vector<std::string> section;
  if (!sectionLines(lines, "[PROS\xD3" "DIA]", section)) return fail("Pros\xF3" "dia: especifica\xE7\xF5" "es ausentes");
  ProsodyState& s = state();
  bool full = false;
  for (const std::string& raw : section) {
    const std::string line = toUpperCp1252(raw);
    const std::string badFrequency = "Configura\xE7\xE3o da pros\xF3" "dia: frequ\xEAncia errada: " + raw;
    if (line.rfind("HERTZ=", 0) == 0) {
      if (!readInteger(line.substr(6), s.baseFrequency)) return fail(badFrequency);
      continue;
    }
    if (line.rfind("TABHERTZ=", 0) == 0) {
      std::string rest = line.substr(9);
      if (!rest.empty() && tts::trim(rest).back() != ',') rest += ',';
      int levels[10];
      std::size_t from = 0;
      for (int& level : levels) {
        const std::size_t comma = rest.find(',', from);
        if (comma == std::string::npos || !readInteger(rest.substr(from, comma - from), level)) return fail(badFrequency);
        from = comma + 1;
      }
      std::copy(levels, levels + 10, s.levels);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return fail("Configura\xE7\xE3o da pros\xF3" "dia: chave errada: " + raw);
    if (static_cast<int>(s.patterns.size()) >= kMaxPatterns) {
      tableFull(full, raw);
      continue;
    }
    IntonationPattern p;
    p.code = tts::trim(line.substr(equals + 1));
    const std::string parts = tts::trim(line.substr(0, equals));
    const std::size_t bar1 = parts.find('|');
    const std::size_t bar2 = bar1 == std::string::npos ? std::string::npos : parts.find('|', bar1 + 1);
    p.previousClass = tts::trim(parts.substr(0, bar1)).substr(0, 3);
    if (bar1 != std::string::npos)
      p.currentClass = tts::trim(parts.substr(bar1 + 1, bar2 == std::string::npos ? std::string::npos : bar2 - bar1 - 1)).substr(0, 3);
    if (bar2 != std::string::npos) p.nextClass = tts::trim(parts.substr(bar2 + 1)).substr(0, 3);
    s.patterns.push_back(p);
  }
  return true;
}

bool isDiphoneNameCharacter(char ch) {
  const char c = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
  return c == '2' || c == '_' || (c >= 64 && c <= 90);
}

// Byte order of the upper-cased texts, without making them.
int compareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = upperCp1252(static_cast<std::uint8_t>(a[i]));
    const int y = upperCp1252(static_cast<std::uint8_t>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool lessIgnoringCase(std::string_view a, std::string_view b) { return compareIgnoringCase(a, b) < 0; }

}  // namespace
}  // namespace prosody

using prosody::state;

bool loadProsodyFile(const std::string& fileName) {
  prosody::ProsodyState& s = state();
  s.durations.clear();
  s.durationOf.clear();
  s.keywords.clear();
  s.keywordClass.clear();
  s.patterns.clear();
  s.patternOf.clear();
  s.baseFrequency = 230;
  s.pauseReported = false;
  std::vector<std::string> lines;
  if (!tts::readLines(fileName, lines)) return prosody::fail("Configura\xE7\xE3o da pros\xF3" "dia n\xE3o foi achada");
  return prosody::readDurations(lines) && prosody::readKeywords(lines) && prosody::readPatterns(lines);
}

bool loadDiphoneList(const std::string& fileName) {
  std::vector<std::string> lines;
  if (!tts::readLines(fileName, lines)) return false;
  auto& list = state().diphones;
  list.clear();
  for (const std::string& raw : lines) {
    const std::string line = tts::trim(raw);
    if (line.empty() || line[0] == '!' || line[0] == '*' || line[0] == ';') continue;
    std::size_t i = 0;
    while (i < line.size() && prosody::isDiphoneNameCharacter(line[i])) ++i;
    const std::string first = line.substr(0, i);
    while (i < line.size() && !prosody::isDiphoneNameCharacter(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && prosody::isDiphoneNameCharacter(line[i])) ++i;
    list.push_back(first + "-" + line.substr(start, i - start));
  }
  std::sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) { return prosody::lessIgnoringCase(a, b); });
  state().diphoneKeys.clear();
  state().longDiphoneKeys.clear();
  for (const std::string& pair : list) {
    if (pair.size() <= 8) state().diphoneKeys.insert(prosody::upperKey(pair), 1);
    else state().longDiphoneKeys.insert(toUpperCp1252(pair));
  }
  return true;
}

void freeDiphoneList() {
  state().diphones.clear();
  state().diphones.shrink_to_fit();
  state().diphoneKeys.clear();
  state().longDiphoneKeys.clear();
}

bool hasDiphonePair(std::string_view pair) {
  // The sorted list is searched through its upper-cased keys: the same
  // answer as a bisection that ignores case, without comparing case on the way.
  if (pair.size() <= 8) return state().diphoneKeys.contains(prosody::upperKey(pair));
  return state().longDiphoneKeys.count(toUpperCp1252(pair)) != 0;
}

namespace {

// A token without a string: the word is a view into the text, a
// punctuation keeps its two characters.
struct TokenView {
  std::string_view word;
  char pair[2] = {0, 0};
  bool punctuation = false;
  std::string_view text() const { return punctuation ? std::string_view(pair, 2) : word; }
};

TokenView nextTokenView(std::string_view text, std::size_t& p) {
  TokenView t;
  while (p < text.size() && text[p] == ' ') ++p;
  if (p >= text.size()) return t;
  if (text[p] == '.' && p + 1 < text.size() && text[p + 1] == '.') {
    t.punctuation = true;
    t.pair[0] = '.';
    t.pair[1] = '-';
    while (p < text.size() && text[p] == '.') ++p;
  } else if (!tts::isLetter(static_cast<std::uint8_t>(text[p]))) {
    t.punctuation = true;
    t.pair[0] = t.pair[1] = text[p];
    ++p;
  } else {
    const std::size_t start = p;
    while (p < text.size() && tts::isLetter(static_cast<std::uint8_t>(text[p]))) ++p;
    t.word = text.substr(start, p - start);
  }
  return t;
}

// The keyword class of a word, as a view into the table; empty when it is none.
std::string_view wordClassView(std::string_view word) {
  const tts::CaseCopy key(word, tts::CaseCopy::upper);
  const auto& table = state().keywordClass;
  const std::string* wordClass = table.find(key.view());
  return wordClass == nullptr ? std::string_view() : std::string_view(*wordClass);
}

// The class part of a token entry "[CC]text": two characters, or none in a shorter entry.
std::string_view classOf(std::string_view token) { return token.size() >= 3 ? token.substr(1, 2) : std::string_view(); }

// A class of at most two characters packed with its length.
std::uint64_t classKey(std::string_view c) {
  std::uint64_t key = c.size();
  for (const char ch : c) key = key << 8 | static_cast<std::uint8_t>(ch);
  return key;
}

// The first pattern whose classes fit (an empty class fits any), -1 for none.
int choosePattern(std::string_view previous, std::string_view current, std::string_view next) {
  auto& cache = state().patternOf;
  const std::uint64_t key = classKey(previous) << 36 | classKey(current) << 18 | classKey(next);
  if (const int* known = cache.find(key)) return *known;
  int chosen = -1;
  const auto& patterns = state().patterns;
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    const prosody::IntonationPattern& p = patterns[i];
    if ((p.previousClass.empty() || p.previousClass == previous) && (p.currentClass.empty() || p.currentClass == current) &&
        (p.nextClass.empty() || p.nextClass == next)) {
      chosen = static_cast<int>(i);
      break;
    }
  }
  if (cache.size() >= 65536) cache.clear();  // odd texts cannot make it grow without end
  cache.insert(key, chosen);
  return chosen;
}

}  // namespace

Token nextToken(std::string_view text, std::size_t& p) {
  const TokenView t = nextTokenView(text, p);
  return Token{std::string(t.text()), t.punctuation};
}

void splitIntoWords(std::string_view text, TextList& list, TokenPlaces* places) {
  list.clear();
  if (places != nullptr) places->clear();
  list.push("[--]");
  if (places != nullptr) places->push_back(kPause);
  std::size_t p = 0;
  for (;;) {
    std::size_t start = p;
    while (start < text.size() && text[start] == ' ') ++start;
    const TokenView t = nextTokenView(text, p);
    const std::string_view tokenView = t.text();
    if (tokenView.empty()) break;
    std::string_view wordClassText = tokenView;
    std::string_view tokenText = tokenView.substr(1);
    if (!t.punctuation) {
      wordClassText = wordClassView(tokenView);
      if (wordClassText.empty()) wordClassText = "XX";
      tokenText = tokenView;
    }
    list.open();
    std::string& entry = list.text();
    entry += '[';
    entry.append(wordClassText.substr(0, 2));
    if (wordClassText.size() < 2) entry.append(2 - wordClassText.size(), ' ');
    entry += ']';
    entry.append(tokenText);
    list.close();
    if (places != nullptr) places->push_back({start, p});
    if (!tokenText.empty() && (tokenText[0] == '!' || tokenText[0] == '.' || tokenText[0] == '?')) {
      list.push("[--]");
      if (places != nullptr) places->push_back(kPause);
    }
  }
}

StringList splitIntoWords(std::string_view text) {
  TextList list;
  splitIntoWords(text, list);
  return list.toStrings();
}

std::string wordClass(std::string_view word) { return std::string(wordClassView(word)); }

void assignIntonationCodes(const TextList& tokens, TextList& coded) {
  coded.clear();
  char previousThird = '5';
  const auto& patterns = state().patterns;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::string_view token = tokens[i];
    const int chosen = choosePattern(i > 0 ? classOf(tokens[i - 1]) : std::string_view(), classOf(token),
                                     i + 1 < tokens.size() ? classOf(tokens[i + 1]) : std::string_view());
    coded.open();
    std::string& entry = coded.text();
    const std::size_t codeStart = entry.size();
    entry.append(chosen < 0 ? std::string_view("555") : std::string_view(patterns[static_cast<std::size_t>(chosen)].code));
    const std::size_t codeLength = entry.size() - codeStart;
    if (codeLength > 0 && entry[codeStart] == '?') entry[codeStart] = previousThird;
    if (codeLength >= 3) previousThird = entry[codeStart + 2];
    entry += '|';
    if (token.size() > 4) entry.append(token.substr(4));
    coded.close();
  }
}

StringList assignIntonationCodes(const StringList& tokens) {
  TextList in, out;
  in.assign(tokens);
  assignIntonationCodes(in, out);
  return out.toStrings();
}

int phonemeDuration(std::string_view name) {
  if (name.size() > 2) return 100;  // table phonemes have at most two characters
  const int* duration = state().durationOf.find(prosody::shortKey(name));
  return duration == nullptr ? 100 : *duration;
}

int baseFrequency() { return state().baseFrequency; }

int pitchLevel(char level) { return level >= '0' && level <= '9' ? state().levels[level - '0'] : 0; }

}  // namespace tradutor

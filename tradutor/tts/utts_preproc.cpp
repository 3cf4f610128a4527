// uttsPreproc: the abbreviations and the walk over the text.
#include "tts/utts_preproc.h"

#include <vector>

#include "common/cp1252_case.h"
#include "platform/files.h"
#include "tts/utts_preproc_tables.h"
#include "tts/utts_spoken_forms.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace {

struct Abbreviation {
  std::string key;
  std::string expansion;
};

std::vector<Abbreviation>& abbreviations() {
  static std::vector<Abbreviation> table;
  return table;
}

// Each upper-case key's expansion, the first of the file for a key written twice.
tts::TextMap<std::size_t>& abbreviationIndex() {
  static tts::TextMap<std::size_t> index;
  return index;
}

// The expansion of the word, or null.
const std::string* findAbbreviation(std::string_view word) {
  const auto& index = abbreviationIndex();
  if (index.empty()) return nullptr;
  const tts::CaseCopy key(word, tts::CaseCopy::upper);
  const std::size_t* at = index.find(key.view());
  return at == nullptr ? nullptr : &abbreviations()[*at].expansion;
}

bool isKeptPunctuation(char c) {
  switch (c) {
    case ' ': case '!': case '(': case ')': case ',': case '.': case ':': case ';': case '?': return true;
    default: return false;
  }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char at(std::string_view text, std::size_t i) { return i < text.size() ? text[i] : '\0'; }

}  // namespace

bool loadAbbreviations(const std::string& fileName) {
  std::vector<Abbreviation>& table = abbreviations();
  table.clear();
  abbreviationIndex().clear();
  std::vector<std::string> lines;
  if (!tts::readLines(fileName, lines)) return false;
  for (const std::string& raw : lines) {
    // The table holds 2000 entries; the lines after them are not read.
    if (static_cast<int>(table.size()) >= kMaxAbbreviations) break;
    const std::string line = tts::trim(raw);
    if (line.empty() || line[0] == ';') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    table.push_back({toUpperCp1252(tts::trim(line.substr(0, equals))), tts::trim(line.substr(equals + 1)).substr(0, 999)});
  }
  for (std::size_t i = 0; i < table.size(); ++i) abbreviationIndex().emplace(table[i].key, i);
  return true;
}

std::string lookupAbbreviation(std::string_view word) {
  const std::string* expansion = findAbbreviation(word);
  return expansion == nullptr ? std::string() : *expansion;
}

int abbreviationCount() { return static_cast<int>(abbreviations().size()); }

std::string characterName(std::uint8_t code) { return preproc::kCharacterNames[code]; }

namespace {

// readLetterWord, appending to `out`.
void appendLetterWord(std::string_view text, std::size_t& p, std::string& out) {
  const std::size_t start = p;
  bool consonantsOnly = true;
  while (p < text.size() && tts::isLetter(static_cast<std::uint8_t>(text[p]))) {
    consonantsOnly = consonantsOnly && tts::isConsonant(static_cast<std::uint8_t>(text[p]));
    ++p;
    if (at(text, p) == '-') ++p;
  }
  const std::string_view word = text.substr(start, p - start);
  // Looked up as written, hyphens kept, as the caller expands it: "D-R." is
  // spelled, not left unspelled and unexpanded.
  const std::string* expansion = consonantsOnly && at(text, p) == '.' ? findAbbreviation(word) : nullptr;
  if (!consonantsOnly || (expansion != nullptr && !expansion->empty())) {
    out.append(word);
    return;
  }
  // Each letter is a word of its own, said with its own stress: "CPF" is
  // "sê pê éfe", not one word "sêpêéfe".
  const std::size_t first = out.size();
  for (const char c : word) {
    const char* name = preproc::kCharacterNames[static_cast<std::uint8_t>(c)];
    if (out.size() > first && name[0] != '\0' && name[0] != ' ') out += ' ';
    out += name;
  }
}

}  // namespace

std::string readLetterWord(std::string_view text, std::size_t& p) {
  std::string word;
  appendLetterWord(text, p, word);
  return word;
}

namespace {

// One step of the normalisation from `p`: a number, a word or abbreviation,
// a run of points, or one character.
void normalizeStep(std::string_view text, std::size_t& p, std::string& out) {
  const char c = text[p];
  const std::uint8_t b = static_cast<std::uint8_t>(c);
  if (c == '-' && p > 0 && text[p - 1] == ' ' && at(text, p + 1) == ' ') {
    out += ',';
    ++p;
  } else if (c == '-' && isDigit(at(text, p + 1))) {
    out += "menos ";
    ++p;
  } else if (isDigit(c)) {
    out += readNumber(text, p);
    out += ' ';
    while ((at(text, p) == ',' || at(text, p) == '.') && isDigit(at(text, p + 1))) {
      out += at(text, p) == ',' ? "v\xEDrgula " : "ponto ";
      ++p;
      out += readNumber(text, p);
      out += ' ';
    }
  } else if (tts::isLetter(b)) {
    const std::size_t start = p;
    const std::size_t mark = out.size();
    appendLetterWord(text, p, out);
    const std::string* expansion =
        at(text, p) == '.' && at(text, p + 1) == ' ' ? findAbbreviation(text.substr(start, p - start)) : nullptr;
    if (expansion != nullptr && !expansion->empty()) {
      out.resize(mark);
      out += *expansion;
      ++p;  // the point belongs to the abbreviation
    }
  } else if (c == '.' && at(text, p + 1) == '.' && at(text, p + 2) == '.') {
    out += "... ";
    p += 3;
  } else if (c == '.' && p + 1 < text.size() && text[p + 1] != ' ') {
    out += " ponto ";
    ++p;
  } else {
    if (isKeptPunctuation(c)) out += c;
    else if (c != '\t' && c != '\n' && c != '\r') out += " " + characterName(b) + " ";
    ++p;
  }
}

}  // namespace

std::string normalizeText(std::string_view input) {
  std::string out;
  normalizeText(input, out);
  return out;
}

void normalizeText(std::string_view input, std::string& out, SourceSpans* spans) {
  out.clear();
  if (spans != nullptr) spans->clear();
  std::string single;
  SourceSpans singleSpans;
  if (input.size() == 1) {
    single = characterName(static_cast<std::uint8_t>(input[0]));
    input = single;
    singleSpans.assign(single.size(), SourceSpan{0, 1});
  }
  SourceSpans rewrittenSpans;
  const std::string rewritten = rewriteSpokenForms(input, spans != nullptr ? &rewrittenSpans : nullptr);
  if (spans != nullptr && !singleSpans.empty()) {
    for (SourceSpan& span : rewrittenSpans) span = coveringSpan(singleSpans, span.begin, span.end);
  }
  const std::string_view text = rewritten;
  out.reserve(text.size() * 2);
  std::size_t p = 0;
  while (p < text.size()) {
    const std::size_t from = p, mark = out.size();
    normalizeStep(text, p, out);
    if (spans != nullptr) markWritten(*spans, mark, out.size(), from, p, &rewrittenSpans);
  }
}

}  // namespace tradutor

// The rules engine's character classes and its table for bytes 128 to 255,
// which serves DOS code page 850 and Windows-1252 text at once.
#include "diphone/letter_rules_internal.h"

namespace tradutor::rules {
namespace {

struct Replacement {
  const char* text;
  std::uint8_t bytes[7];  // terminated by 0
};

// Accented letters become the base letter and a mark: ' acute, ` grave,
// ^ circumflex, ~ tilde, " diaeresis. C cedilla is written "ss".
const Replacement kReplacements[] = {
    {"ss", {128, 135, 199, 231}}, {"a'", {134, 143, 160, 193, 225}}, {"a`", {133, 192, 224}},
    {"a^", {131, 194, 226}},      {"a~", {132, 142, 195, 196, 227, 228}}, {"a", {197, 229}},
    {"ae", {145, 198, 230}},      {"e'", {130, 144, 201, 233}},      {"e`", {138, 200, 232}},
    {"e^", {136, 202, 234}},      {"e\"", {137, 203, 235}},          {"i'", {161, 205, 237}},
    {"i`", {141, 204, 236}},      {"i^", {140, 206, 238}},           {"i\"", {139, 207, 239}},
    {"o'", {162, 211, 243}},      {"o`", {149, 210, 214, 242, 246}}, {"o^", {147, 212, 244}},
    {"o~", {148, 153, 213, 245}}, {"u'", {163, 218, 250}},           {"u`", {151, 217, 249}},
    {"u^", {150, 219, 251}},      {"u\"", {129, 154}},               {"u", {220, 252}},
    {"nh", {164, 165, 209, 241}}, {"y-", {152}},                     {"x", {215, 247}},
    {"0", {216, 248}},            {"-", {146}},                      {"?", {168, 191}},
    {"!", {173}},                 {"\"", {174, 175}},                {"\xA7", {167}},
    {"\xAA", {171}},              {"\xBA", {187}},
};

struct ReplacementTable {
  const char* entries[128] = {};
  ReplacementTable() {
    for (const Replacement& r : kReplacements)
      for (std::uint8_t b : r.bytes) {
        if (b == 0) break;
        entries[b - 128] = r.text;
      }
  }
};

}  // namespace

const char* replacementOf(std::uint8_t byte) {
  static const ReplacementTable table;
  return byte >= 128 ? table.entries[byte - 128] : nullptr;
}

bool isVowel(int c) {
  switch (c) {
    case 'A': case 'E': case 'I': case 'O': case 'U':
    case 'a': case 'e': case 'i': case 'o': case 'u':
      return true;
    default:
      return false;
  }
}

bool isLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isConsonant(int c) { return isLetter(c) && !isVowel(c); }
bool isAccentMark(int c) { return c == '"' || c == '\'' || c == '^' || c == '`' || c == '~'; }

bool isSeparator(int c) {
  return c == ' ' || c == '!' || c == ',' || c == '.' || c == ':' || c == ';' || c == '?';
}

bool isFrontVowel(int c) { return c == 'E' || c == 'I' || c == 'e' || c == 'i'; }
bool isBackVowel(int c) { return c == 'A' || c == 'O' || c == 'a' || c == 'o'; }

}  // namespace tradutor::rules

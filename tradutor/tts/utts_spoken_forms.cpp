// Each form is recognised at a token's start and replaced by words, or by
// plain numbers that the walk reads; everything else is copied unchanged.
#include "tts/utts_spoken_forms.h"

#include <cstdint>
#include <cstring>

#include "common/cp1252_case.h"
#include "tts/utts_preproc.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace {

constexpr const char* kMonths[] = {"janeiro", "fevereiro", "mar\xE7o",  "abril",   "maio",     "junho",
                                   "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};

struct Unit {
  const char* written;
  const char* singular;
  const char* plural;
};
// Longer spellings first: "km/h" before "km".
constexpr Unit kUnits[] = {
    {"km/h", "quil\xF4metro por hora", "quil\xF4metros por hora"},
    {"km", "quil\xF4metro", "quil\xF4metros"},
    {"kg", "quilo", "quilos"},
    {"cm", "cent\xEDmetro", "cent\xEDmetros"},
    {"mm", "mil\xEDmetro", "mil\xEDmetros"},
    {"ml", "mililitro", "mililitros"},
    {"KB", "quilobyte", "quilobytes"},
    {"MB", "megabyte", "megabytes"},
    {"GB", "gigabyte", "gigabytes"},
    {"m", "metro", "metros"},
    {"g", "grama", "gramas"},
};

constexpr const char* kRomanNouns[] = {"s\xE9" "culo", "seculo", "cap\xED" "tulo", "capitulo", "volume", "parte"};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordChar(char c) { return isDigit(c) || tts::isLetter(static_cast<std::uint8_t>(c)); }
char at(std::string_view t, std::size_t i) { return i < t.size() ? t[i] : '\0'; }

// Up to `most` digits at p; their value, or -1 when there are none or more.
long digitsAt(std::string_view t, std::size_t& p, std::size_t most) {
  std::size_t n = 0;
  long value = 0;
  while (isDigit(at(t, p + n)) && n <= most) value = value * 10 + (t[p + n++] - '0');
  if (n == 0 || n > most) return -1;
  p += n;
  return value;
}

// "um" and "dois" at the end of a number become "uma" and "duas" (horas).
std::string feminineCardinal(long value) {
  std::string words = cardinalWords(static_cast<std::uint64_t>(value));
  if (value % 10 == 1 && value % 100 != 11 && words.size() >= 2 && words.compare(words.size() - 2, 2, "um") == 0)
    words += 'a';
  else if (value % 10 == 2 && value % 100 != 12 && words.size() >= 4 && words.compare(words.size() - 4, 4, "dois") == 0)
    words.replace(words.size() - 4, 4, "duas");
  return words;
}

bool endsToken(std::string_view t, std::size_t p) { return !isWordChar(at(t, p)); }

// 12/05/2026 (day 1-31, month 1-12, a year of 2 or 4 digits).
bool readDate(std::string_view t, std::size_t& p, std::string& out) {
  std::size_t q = p;
  const long day = digitsAt(t, q, 2);
  if (day < 1 || day > 31 || at(t, q) != '/') return false;
  ++q;
  const long month = digitsAt(t, q, 2);
  if (month < 1 || month > 12 || at(t, q) != '/') return false;
  ++q;
  const std::size_t yearStart = q;
  const long year = digitsAt(t, q, 4);
  if (year < 0 || (q - yearStart != 2 && q - yearStart != 4) || !endsToken(t, q) || at(t, q) == '/') return false;
  out += day == 1 ? "primeiro" : std::to_string(day);
  out += " de ";
  out += kMonths[month - 1];
  out += " de " + std::to_string(year);
  p = q;
  return true;
}

// 10h30, 10h, 14:05 (hours 0-23, minutes of two digits 0-59).
bool readTime(std::string_view t, std::size_t& p, std::string& out) {
  std::size_t q = p;
  const long hours = digitsAt(t, q, 2);
  if (hours < 0 || hours > 23) return false;
  long minutes = 0;
  if (at(t, q) == 'h' || at(t, q) == 'H') {
    ++q;
    if (isDigit(at(t, q))) {
      const std::size_t m = q;
      minutes = digitsAt(t, q, 2);
      if (q - m != 2 || minutes > 59) return false;
    }
  } else if (at(t, q) == ':' && isDigit(at(t, q + 1)) && isDigit(at(t, q + 2))) {
    ++q;
    minutes = digitsAt(t, q, 2);
    if (minutes > 59) return false;
  } else {
    return false;
  }
  if (!endsToken(t, q) || at(t, q) == ':') return false;
  out += feminineCardinal(hours) + (hours == 1 ? " hora" : " horas");
  if (minutes > 0) out += " e " + cardinalWords(static_cast<std::uint64_t>(minutes)) + (minutes == 1 ? " minuto" : " minutos");
  p = q;
  return true;
}

// R$ 1.234,56: reais with their thousands points, then two digits of centavos.
bool readMoney(std::string_view t, std::size_t& p, std::string& out) {
  if (at(t, p) != 'R' || at(t, p + 1) != '$') return false;
  std::size_t q = p + 2;
  if (at(t, q) == ' ') ++q;
  if (!isDigit(at(t, q))) return false;
  std::uint64_t reais = 0;
  std::size_t digits = 0;
  while (isDigit(at(t, q)) || (at(t, q) == '.' && isDigit(at(t, q + 1)) && digits > 0)) {
    if (t[q] != '.') {
      if (++digits > 12) return false;
      reais = reais * 10 + static_cast<std::uint64_t>(t[q] - '0');
    }
    ++q;
  }
  long centavos = 0;
  if (at(t, q) == ',' && isDigit(at(t, q + 1)) && isDigit(at(t, q + 2)) && !isDigit(at(t, q + 3))) {
    centavos = (t[q + 1] - '0') * 10 + (t[q + 2] - '0');
    q += 3;
  }
  if (!endsToken(t, q)) return false;
  std::string words;
  if (reais > 0 || centavos == 0) {
    words = cardinalWords(reais);
    while (!words.empty() && words.back() == ' ') words.pop_back();  // the scale names end in a blank
    const bool millions = words.size() >= 3 && (words.ends_with("milh\xE3o") || words.ends_with("milh\xF5" "es") ||
                                                words.ends_with("bilh\xE3o") || words.ends_with("bilh\xF5" "es") ||
                                                words.ends_with("trilh\xE3o") || words.ends_with("trilh\xF5" "es"));
    words += millions ? " de reais" : reais == 1 ? " real" : " reais";
  }
  if (centavos > 0) {
    if (!words.empty()) words += " e ";
    words += cardinalWords(static_cast<std::uint64_t>(centavos)) + (centavos == 1 ? " centavo" : " centavos");
  }
  out += words;
  p = q;
  return true;
}

// A number's digits (with a decimal comma or point), then "%" or a unit.
bool readMeasure(std::string_view t, std::size_t& p, std::string& out) {
  std::size_t q = p;
  while (isDigit(at(t, q))) ++q;
  if ((at(t, q) == ',' || at(t, q) == '.') && isDigit(at(t, q + 1))) {
    ++q;
    while (isDigit(at(t, q))) ++q;
  }
  const std::string_view number = t.substr(p, q - p);
  if (at(t, q) == '%') {
    out.append(number).append(" por cento");
    p = q + 1;
    return true;
  }
  std::size_t u = q;
  if (at(t, u) == ' ') ++u;
  for (const Unit& unit : kUnits) {
    const std::size_t n = std::strlen(unit.written);
    if (t.substr(u, n) != unit.written || !endsToken(t, u + n) || at(t, u + n) == '/') continue;
    out.append(number).append(" ").append(number == "1" ? unit.singular : unit.plural);
    p = u + n;
    return true;
  }
  return false;
}

long romanValue(char c) {
  switch (c) {
    case 'I': return 1; case 'V': return 5; case 'X': return 10; case 'L': return 50;
    case 'C': return 100; case 'D': return 500; case 'M': return 1000; default: return 0;
  }
}

// The value of a Roman numeral written the usual way (I to MMMCMXCIX); 0 otherwise.
long romanNumber(std::string_view r) {
  long total = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const long v = romanValue(r[i]);
    const long next = i + 1 < r.size() ? romanValue(r[i + 1]) : 0;
    if (v == 0) return 0;
    total += v < next ? -v : v;
  }
  if (total <= 0 || total >= 4000) return 0;
  // Only the canonical spelling counts: "IIII" or "VX" are left as words.
  static constexpr struct { long value; const char* text; } kParts[] = {
      {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
      {40, "XL"}, {10, "X"}, {9, "IX"}, {5, "V"}, {4, "IV"}, {1, "I"}};
  std::string canonical;
  for (long left = total; const auto& part : kParts)
    while (left >= part.value) {
      canonical += part.text;
      left -= part.value;
    }
  return canonical == r ? total : 0;
}

// "século XXI": the numeral after one of the nouns becomes its number.
bool readRomanAfterNoun(std::string_view t, std::size_t& p, std::string& out) {
  std::size_t q = p;
  while (tts::isLetter(static_cast<std::uint8_t>(at(t, q)))) ++q;
  // Every word passes here: the nouns have 5, 6 or 8 letters, the rest is
  // turned away before it is lowered.
  const std::size_t length = q - p;
  if (length != 5 && length != 6 && length != 8) return false;
  char noun[8];
  for (std::size_t i = 0; i < length; ++i) noun[i] = static_cast<char>(lowerCp1252(static_cast<std::uint8_t>(t[p + i])));
  bool known = false;
  for (const char* n : kRomanNouns) known = known || std::string_view(noun, length) == n;
  if (!known || at(t, q) != ' ') return false;
  std::size_t r = q + 1;
  while (romanValue(at(t, r)) != 0) ++r;
  const long value = romanNumber(t.substr(q + 1, r - q - 1));
  if (value == 0 || !endsToken(t, r)) return false;
  out.append(t.substr(p, q - p)).append(" ").append(std::to_string(value));
  p = r;
  return true;
}

// One step of the rewriting from `p`: a form read whole, a word or number
// copied whole, or one character.
void rewriteStep(std::string_view t, std::size_t& p, std::string& out) {
  const bool tokenStart = p == 0 || !isWordChar(t[p - 1]);
  const char c = t[p];
  // A number right after a separator belongs to what came before (14:05:33, 1/2/3/4).
  const bool afterSeparator = p > 0 && std::strchr(":/.,", t[p - 1]) != nullptr;
  if (tokenStart && !afterSeparator && isDigit(c) && (readDate(t, p, out) || readTime(t, p, out) || readMeasure(t, p, out))) return;
  if (tokenStart && c == 'R' && readMoney(t, p, out)) return;
  if (tokenStart && tts::isLetter(static_cast<std::uint8_t>(c)) && readRomanAfterNoun(t, p, out)) return;
  // d'água: the elided preposition joins its word.
  if (tokenStart && (c == 'd' || c == 'D') && (at(t, p + 1) == '\'' || at(t, p + 1) == '\x92') &&
      tts::isLetter(static_cast<std::uint8_t>(at(t, p + 2)))) {
    out += c;
    p += 2;
    return;
  }
  // The rest of a word or number is copied whole, so that no form starts inside it.
  if (isWordChar(c)) {
    const std::size_t start = p;
    while (p < t.size() && isWordChar(t[p])) ++p;
    out.append(t.substr(start, p - start));
    return;
  }
  out += t[p++];
}

}  // namespace

std::string rewriteSpokenForms(std::string_view t, SourceSpans* spans) {
  std::string out;
  out.reserve(t.size() + 16);
  if (spans != nullptr) spans->clear();
  std::size_t p = 0;
  while (p < t.size()) {
    const std::size_t from = p, mark = out.size();
    rewriteStep(t, p, out);
    if (spans != nullptr) markWritten(*spans, mark, out.size(), from, p, nullptr);
  }
  return out;
}

}  // namespace tradutor

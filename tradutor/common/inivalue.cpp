#include "common/inivalue.h"

#include <limits>

namespace tradutor {
namespace {

int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

NumberReading parseNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }

  // Decimal values beyond 32 bits fail; hexadecimal ones wrap, so that
  // "$FFFFFFFF" is -1 as a 32-bit pattern.
  const std::int64_t decimalLimit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                             : std::numeric_limits<std::int32_t>::max();
  std::uint32_t magnitude = 0;
  int hexDigits = 0;
  bool anyDigit = false;
  NumberReading reading;
  auto current = [&] {
    if (hex) return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
    const std::int64_t v = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(v);
  };
  for (; i < text.size(); ++i) {
    const int d = digitValue(text[i], hex);
    if (d < 0) {
      reading.value = current();
      return reading;  // a stray character: fail with the digits read so far
    }
    if (hex) {
      if (++hexDigits > 8) {
        reading.value = current();
        return reading;
      }
      magnitude = magnitude * 16u + static_cast<std::uint32_t>(d);
    } else {
      const std::int64_t next = static_cast<std::int64_t>(magnitude) * 10 + d;
      if (next > decimalLimit) {
        reading.value = current();
        return reading;
      }
      magnitude = static_cast<std::uint32_t>(next);
    }
    anyDigit = true;
  }
  reading.value = current();
  reading.ok = anyDigit;
  return reading;
}

std::int32_t numberOr(std::string_view text, std::int32_t fallback) {
  const NumberReading r = parseNumber(text);
  return r.ok ? r.value : fallback;
}

bool isYes(std::string_view text) { return !text.empty() && text[0] != 'N' && text[0] != 'n'; }

bool startsWithS(std::string_view text) { return !text.empty() && (text[0] == 'S' || text[0] == 's'); }

}  // namespace tradutor

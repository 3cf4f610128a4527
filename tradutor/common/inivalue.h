#pragma once
// How the text of an ORALIS.INI key becomes a number or a yes/no flag.
// Every reader of keys in the library goes through these helpers so that
// "12", " 12", "$1F" and "0x1f" mean the same thing everywhere.
#include <cstdint>
#include <string_view>

namespace tradutor {

struct NumberReading {
  std::int32_t value = 0;  // the number, or the value of the digits read before the failure
  bool ok = false;         // false for an empty value, a stray character or an overflow
};

// Leading blanks, an optional sign, then decimal digits; "$", "x", "X", "0x"
// or "0X" selects hexadecimal. Nothing may follow the digits.
NumberReading parseNumber(std::string_view text);

// The number, or `fallback` when the conversion failed.
std::int32_t numberOr(std::string_view text, std::int32_t fallback);

// The number formed by the digits read before any failure (0 when none).
inline std::int32_t partialNumber(std::string_view text) { return parseNumber(text).value; }

// True when the value is not empty and its first character is not 'N' or 'n'.
bool isYes(std::string_view text);

// True when the first character is 'S' or 's' (the VIDEO keys' form of yes).
bool startsWithS(std::string_view text);

}  // namespace tradutor

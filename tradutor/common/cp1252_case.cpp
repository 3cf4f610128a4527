#include "common/cp1252_case.h"

namespace tradutor {

std::uint8_t upperCp1252(std::uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<std::uint8_t>(c - 32);  // à..þ, not ÷
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}

std::uint8_t lowerCp1252(std::uint8_t c) {
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<std::uint8_t>(c + 32);  // À..Þ, not ×
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

std::string toUpperCp1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(upperCp1252(static_cast<std::uint8_t>(c)));
  return out;
}

std::string toLowerCp1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(lowerCp1252(static_cast<std::uint8_t>(c)));
  return out;
}

}  // namespace tradutor

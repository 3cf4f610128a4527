#include "cp1252.h"

#include <cstdint>
#include <cstdio>

namespace tool {
namespace {

// Unicode of the bytes 0x80..0x9F; 0 where Windows-1252 has no character.
const std::uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int byteOf(std::uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] != 0 && kHigh[i] == codePoint) return 0x80 + i;
  return -1;
}

void appendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

Conversion utf8ToCp1252(std::string_view in) {
  Conversion result;
  for (std::size_t i = 0; i < in.size();) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    std::uint32_t c = 0;
    int extra = 0;
    if (b < 0x80) c = b;
    else if ((b & 0xE0) == 0xC0) c = b & 0x1F, extra = 1;
    else if ((b & 0xF0) == 0xE0) c = b & 0x0F, extra = 2;
    else if ((b & 0xF8) == 0xF0) c = b & 0x07, extra = 3;
    else extra = -1;
    bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < in.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(in[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) valid = false;
      c = (c << 6) | (next & 0x3F);
    }
    static const std::uint32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
    if (valid && c < kLeast[extra]) valid = false;  // an overlong form
    if (!valid) {
      char message[128];
      std::snprintf(message, sizeof message, "the text is not UTF-8 (byte 0x%02X at position %zu)", b, i + 1);
      result.error = message;
      return result;
    }
    const int byte = byteOf(c);
    if (byte < 0) {
      char message[128];
      std::snprintf(message, sizeof message, "the character U+%04X at position %zu has no Windows-1252 code", c, i + 1);
      result.error = message;
      return result;
    }
    result.text += static_cast<char>(byte);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return result;
}

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  for (const char ch : text) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b < 0xA0) appendUtf8(out, kHigh[b - 0x80] != 0 ? kHigh[b - 0x80] : 0xFFFD);
    else appendUtf8(out, b);
  }
  return out;
}

}  // namespace tool

#pragma once
// Upper and lower case of Windows-1252 text, accented letters included, as
// the ANSI code page's case conversion does it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tradutor {

namespace detail {
struct CaseTables {
  std::array<std::uint8_t, 256> upper{}, lower{};
  constexpr CaseTables() {
    for (int c = 0; c < 256; ++c) upper[c] = lower[c] = static_cast<std::uint8_t>(c);
    for (int c = 'a'; c <= 'z'; ++c) {
      upper[c] = static_cast<std::uint8_t>(c - 32);
      lower[c - 32] = static_cast<std::uint8_t>(c);
    }
    for (int c = 0xE0; c <= 0xFE; ++c) {
      if (c == 0xF7) continue;  // ÷ has no case, nor × below it
      upper[c] = static_cast<std::uint8_t>(c - 32);
      lower[c - 32] = static_cast<std::uint8_t>(c);
    }
    const int pairs[4][2] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};  // š œ ž ÿ
    for (const auto& p : pairs) {
      upper[p[0]] = static_cast<std::uint8_t>(p[1]);
      lower[p[1]] = static_cast<std::uint8_t>(p[0]);
    }
  }
};
inline constexpr CaseTables kCase{};
}  // namespace detail

inline std::uint8_t upperCp1252(std::uint8_t c) { return detail::kCase.upper[c]; }
inline std::uint8_t lowerCp1252(std::uint8_t c) { return detail::kCase.lower[c]; }
std::string toUpperCp1252(std::string_view text);
std::string toLowerCp1252(std::string_view text);

}  // namespace tradutor

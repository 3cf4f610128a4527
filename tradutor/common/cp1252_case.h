#pragma once
// Upper and lower case of Windows-1252 text, accented letters included, as
// the ANSI code page's case conversion does it.
#include <cstdint>
#include <string>
#include <string_view>

namespace tradutor {

std::uint8_t upperCp1252(std::uint8_t c);
std::uint8_t lowerCp1252(std::uint8_t c);
std::string toUpperCp1252(std::string_view text);
std::string toLowerCp1252(std::string_view text);

}  // namespace tradutor

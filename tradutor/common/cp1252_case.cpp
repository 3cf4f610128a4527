#include "common/cp1252_case.h"

namespace tradutor {

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

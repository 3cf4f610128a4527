#pragma once
// Windows-1252, the system's text, at the edge of a UTF-8 terminal.
#include <optional>
#include <string>
#include <string_view>

namespace tool {

struct Conversion {
  std::string text;
  std::string error;  // empty when the whole input converted
};

// UTF-8 to Windows-1252; a character that Windows-1252 has no byte for, or
// bytes that are not UTF-8, are an error naming the character.
Conversion utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view text);

}  // namespace tool

#pragma once
// Text helpers shared by the units of the Portuguese front end.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tradutor::tts {

// A letter of the normaliser and tokeniser: A-Z, a-z and the accented
// letters of Portuguese (À Á Â Ã Ç É Ê Ì Í Ñ Ó Ô Õ Ù Ú Ü, either case).
bool isLetter(std::uint8_t c);
// B C D F G H J K L M N P Q R S T V W X Y Z Ç Ñ, either case.
bool isConsonant(std::uint8_t c);

std::string trim(std::string_view text);

// The file's lines without their line ends; false when it cannot be read.
bool readLines(const std::string& fileName, std::vector<std::string>& lines);

}  // namespace tradutor::tts

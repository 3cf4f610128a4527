#pragma once
// uttsTonica: the stressed letter of a Portuguese word by its spelling.
#include <string_view>

namespace tradutor {

// 1-based position of the stressed letter; 0 when the word has no vowel.
int findStressedLetter(std::string_view word);

}  // namespace tradutor

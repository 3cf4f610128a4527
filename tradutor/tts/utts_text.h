#pragma once
// Text helpers shared by the units of the Portuguese front end.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/cp1252_case.h"
#include "tts/utts_text_map.h"

namespace tradutor::tts {

namespace detail {

enum : std::uint8_t { kLetter = 1, kConsonant = 2 };

constexpr bool isAccentedLetter(std::uint8_t upper) {
  constexpr std::uint8_t kAccented[] = {0xC0, 0xC1, 0xC2, 0xC3, 0xC7, 0xC9, 0xCA, 0xCC,
                                        0xCD, 0xD1, 0xD3, 0xD4, 0xD5, 0xD9, 0xDA, 0xDC};
  for (const std::uint8_t a : kAccented)
    if (a == upper) return true;
  return false;
}

// Each byte's classes, made at compile time (the tokeniser asks for every byte).
struct LetterTable {
  std::uint8_t bits[256] = {};
  constexpr LetterTable() {
    for (int c = 0; c < 256; ++c) {
      const std::uint8_t upper = tradutor::detail::kCase.upper[static_cast<std::size_t>(c)];
      const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isAccentedLetter(upper);
      const bool consonant = upper == 0xC7 || upper == 0xD1 ||
                             (upper >= 'B' && upper <= 'Z' && upper != 'E' && upper != 'I' && upper != 'O' && upper != 'U');
      bits[c] = static_cast<std::uint8_t>((letter ? kLetter : 0) | (consonant ? kConsonant : 0));
    }
  }
};

inline constexpr LetterTable kLetters{};

}  // namespace detail

// A letter of the normaliser and tokeniser: A-Z, a-z and the accented
// letters of Portuguese (À Á Â Ã Ç É Ê Ì Í Ñ Ó Ô Õ Ù Ú Ü, either case).
inline bool isLetter(std::uint8_t c) { return (detail::kLetters.bits[c] & detail::kLetter) != 0; }
// B C D F G H J K L M N P Q R S T V W X Y Z Ç Ñ, either case.
inline bool isConsonant(std::uint8_t c) { return (detail::kLetters.bits[c] & detail::kConsonant) != 0; }

std::string trim(std::string_view text);

// A text upper- or lower-cased, on the stack when it is short (a word looked
// up for every token), in a string otherwise. Not copyable: the view may
// point into the object itself.
class CaseCopy {
 public:
  enum Case { upper, lower };
  CaseCopy(std::string_view text, Case to);
  CaseCopy(const CaseCopy&) = delete;
  CaseCopy& operator=(const CaseCopy&) = delete;
  std::string_view view() const { return view_; }

 private:
  char small_[64];
  std::string large_;
  std::string_view view_;
};

// The file's lines without their line ends; false when it cannot be read.
bool readLines(const std::string& fileName, std::vector<std::string>& lines);

}  // namespace tradutor::tts

// How the default data pronounce the words users hear every day: the
// synthetic voice's phonemes and the diphone voice's phonetic strings, kept
// as data (tests/data/pronunciation_*.tsv).
#include <gtest/gtest.h>

#include <string>

#include "diphone/letter_rules.h"
#include "platform/host/host_control.h"
#include "support/golden_data.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

namespace {

const std::string kVoice = std::string(VOICE_DIR) + "/drive_c/tarsis/";

// The phonemes of a word, one space between two, the headers and the
// word's closing entries left out.
std::string synthesizedPhonemes(const std::string& word) {
  std::string out;
  for (const std::string& p : tradutor::transcribeWords(
           tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(word))))) {
    if (p.empty() || p[0] == ';' || p == "__") continue;
    if (!out.empty()) out += ' ';
    out += p;
  }
  return out;
}

// The synthetic voice's data files, as the program loads them.
bool loadSyntheticVoice() {
  platform::host::reset();
  const std::string stem = kVoice + "aureatts/portug";
  return tradutor::loadAbbreviations(stem + ".abr") && tradutor::loadProsodyFile(stem + ".pro") &&
         tradutor::loadLanguageData(stem + ".nrl", stem + ".exc");
}

TEST(Pronunciation, TheSyntheticVoiceSaysEachWordAsASpeakerWould) {
  ASSERT_TRUE(loadSyntheticVoice());
  const auto rows = testing_support::goldenRows("pronunciation_synthetic");
  ASSERT_GE(rows.size(), 50u);
  for (const auto& [word, phonemes] : rows) EXPECT_EQ(synthesizedPhonemes(word), phonemes) << word;
  // Every byte mixed into the sentences: still phonemes, never a fault.
  for (const auto& [text, phonemes] : rows) {
    if (text.find(' ') == std::string::npos) continue;
    std::string mixed;
    for (std::size_t i = 0; i < text.size(); ++i) mixed += text.substr(i, 1) + static_cast<char>((i * 37) % 256);
    for (int b = 0; b < 256; ++b) mixed += static_cast<char>(b);
    EXPECT_FALSE(synthesizedPhonemes(mixed).empty()) << text;
  }
  tradutor::freeTranscriptionRules();
}

TEST(Pronunciation, TheDiphoneVoiceSaysEachWordAsASpeakerWould) {
  const std::string folder = kVoice + "som/difones/";
  ASSERT_TRUE(tradutor::loadLetterRules(folder + "regras.rgr"));
  ASSERT_TRUE(tradutor::loadExceptionWords(folder + "portug.exc"));
  const auto rows = testing_support::goldenRows("pronunciation_diphone");
  ASSERT_GE(rows.size(), 25u);
  for (const auto& [word, phonetic] : rows) EXPECT_EQ(tradutor::textToPhonetic(word), phonetic) << word;
  for (const auto& [text, phonetic] : rows) {
    if (text.find(' ') == std::string::npos) continue;
    std::string mixed;
    for (std::size_t i = 0; i < text.size(); ++i) mixed += text.substr(i, 1) + static_cast<char>((i * 37) % 256);
    for (int b = 0; b < 256; ++b) mixed += static_cast<char>(b);
    EXPECT_FALSE(tradutor::textToPhonetic(mixed).empty()) << text;
  }
  tradutor::freeLetterRules();
}

// Odd words: every one gets a pronunciation from both voices, the same the
// second time.
TEST(Pronunciation, OddWordsArePronouncedAndTheSameEachTime) {
  ASSERT_TRUE(loadSyntheticVoice());
  ASSERT_TRUE(tradutor::loadLetterRules(kVoice + "som/difones/regras.rgr"));
  ASSERT_TRUE(tradutor::loadExceptionWords(kVoice + "som/difones/portug.exc"));
  std::string longest;
  for (int i = 0; i < 200; ++i) longest += "aeioubcdflmnprstvz"[(i * 7) % 18];
  const std::string words[] = {
      "a", "\xE9", "x", longest, longest.substr(0, 49),
      "\xE1\xE0\xE2\xE3\xE4\xE9\xE8\xEA\xEB\xED\xEC\xEE\xEF\xF3\xF2\xF4\xF5\xF6\xFA\xF9\xFB\xFC\xE7\xF1\xFD\xFF",
      "p\xE1g\xEAn\xF3" "c\xFAs\xE7\xE3\xF5", "\xC1\xC9\xCD\xD3\xDA\xC7\xC3\xD5", "NBRXYZWQK", "CPU", "abc123def", "x2y",
      "bem-te-vi-de-l\xE1", "guarda-chuva-de-sol-azul", "qu", "gu", "e-e-e-e-e", "oo", "ee"};
  for (const std::string& w : words) {
    const std::string phonemes = synthesizedPhonemes(w), phonetic = tradutor::textToPhonetic(w);
    EXPECT_FALSE(phonemes.empty()) << w;
    EXPECT_FALSE(phonetic.empty()) << w;
    EXPECT_EQ(synthesizedPhonemes(w), phonemes) << w;
    EXPECT_EQ(tradutor::textToPhonetic(w), phonetic) << w;
  }
  tradutor::freeLetterRules();
  tradutor::freeTranscriptionRules();
}

}  // namespace

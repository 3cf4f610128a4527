// The default installation made at build time: every recording the system
// can ask for is there, in the one format the player and the synthesizer
// take, and the diphone voice opens.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "diphone/letter_rules.h"
#include "sound/kzlenum.h"

namespace {

const std::string kLetters = std::string(VOICE_DIR) + "/drive_c/tarsis/som/letras/";

std::set<std::string> namesTheSystemAsksFor() {
  std::set<std::string> names = {"_1", "_zero", "_MENOS", "_DEL", "_APFCPO", "_APICPO", "_CPOAPA", "_FALACI",
                                 "_FALDLG", "_VELOC", "_uma", "_duas", "_hora", "_horas", "_minuto", "_minutos",
                                 "_primeir", "_de", "_e"};
  for (const char* d : {"_Domingo", "_Segunda", "_Terca", "_Quarta", "_Quinta", "_Sexta", "_Sabado"}) names.insert(d);
  for (const char* m : {"_Janeiro", "_Feverei", "_Marco", "_Abril", "_Maio", "_Junho", "_Julho", "_Agosto",
                        "_Setembr", "_Outubro", "_Novembr", "_Dezembr"})
    names.insert(m);
  for (int c = 'A'; c <= 'Z'; ++c) {
    names.insert("_FON" + std::to_string(c));
    names.insert("_FON" + std::to_string(c + 32));
  }
  for (const char* t : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "#", "X"}) names.insert(std::string("dtmf_") + t);
  // Every printable Windows-1252 character.
  for (int c = 32; c <= 255; ++c) {
    if (c == 127 || c == 129 || c == 141 || c == 143 || c == 144 || c == 157) continue;
    names.insert("_" + std::to_string(c));
  }
  // Every word the numbers unit can say.
  std::vector<std::uint32_t> numbers;
  for (std::uint32_t n = 0; n <= 1000; ++n) numbers.push_back(n);
  for (std::uint32_t n : {1000000u, 2000000u, 1000000000u, 2000000000u}) numbers.push_back(n);
  for (std::uint32_t n : numbers) {
    const std::string words = tradutor::numberToWords(n) + " ";
    for (std::size_t at = 0, end; (end = words.find(' ', at)) != std::string::npos; at = end + 1)
      if (end > at) names.insert(tradutor::numberWordFileName(words.substr(at, end - at)));
  }
  return names;
}

std::vector<std::uint8_t> bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(DefaultVoice, EveryRecordingTheSystemAsksForExists) {
  std::vector<std::string> missing;
  for (const std::string& name : namesTheSystemAsksFor())
    if (!std::filesystem::exists(kLetters + name + ".wav")) missing.push_back(name);
  EXPECT_TRUE(missing.empty()) << missing.size() << " missing, the first " << (missing.empty() ? "" : missing[0]);
}

TEST(DefaultVoice, EveryRecordingIs8BitMono11025HzWithThe44ByteHeader) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kLetters)) {
    const std::vector<std::uint8_t> b = bytesOf(entry.path().string());
    const std::string name = entry.path().filename().string();
    ASSERT_GT(b.size(), 44u + 100u) << name;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << name;
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data") << name;
    EXPECT_EQ(le32(b, 40), b.size() - 44) << name;
    EXPECT_EQ(b[22], 1) << name;             // mono
    EXPECT_EQ(le32(b, 24), 11025u) << name;  // samples per second
    EXPECT_EQ(b[34], 8) << name;             // bits
    ++files;
  }
  EXPECT_GT(files, 350);
}

TEST(DefaultVoice, TelephoneTonesAreTheTwoFrequenciesOfTheirKey) {
  // dtmf_5 is 770 Hz + 1336 Hz: both carry far more energy than a frequency between them.
  const std::vector<std::uint8_t> b = bytesOf(kLetters + "dtmf_5.wav");
  ASSERT_EQ(b.size(), 44u + 1653u);
  double energyLow = 0, energyHigh = 0, energyOther = 0;
  for (double f : {770.0, 1336.0, 1000.0}) {
    double re = 0, im = 0;
    for (std::size_t i = 44; i < b.size(); ++i) {
      const double t = static_cast<double>(i - 44) / 11025.0;
      re += (b[i] - 128.0) * std::cos(2 * 3.14159265358979 * f * t);
      im += (b[i] - 128.0) * std::sin(2 * 3.14159265358979 * f * t);
    }
    (f == 770.0 ? energyLow : f == 1336.0 ? energyHigh : energyOther) = re * re + im * im;
  }
  EXPECT_GT(energyLow, 100 * energyOther);
  EXPECT_GT(energyHigh, 100 * energyOther);
}

}  // namespace

namespace {

// Every respelling of the diphone voice's exceptions is read by the rules
// into sounds: none leaves a mark (as a bare "~") to be spelled out by its
// recorded name in the middle of the word.
TEST(DefaultVoice, NoExceptionWordIsSpelledInThePartsItRespells) {
  const std::string folder = std::string(VOICE_DIR) + "/drive_c/tarsis/som/difones/";
  ASSERT_TRUE(tradutor::loadLetterRules(folder + "regras.rgr"));
  ASSERT_TRUE(tradutor::loadExceptionWords(folder + "portug.exc"));
  std::ifstream in(folder + "portug.exc", std::ios::binary);
  int words = 0;
  for (std::string line; std::getline(in, line);) {
    const std::size_t equals = line.find('=');
    if (line.empty() || line[0] == ';' || equals == std::string::npos) continue;
    const std::string word = line.substr(0, equals);
    EXPECT_EQ(tradutor::textToPhonetic(word).find("/_"), std::string::npos) << word << ": " << tradutor::textToPhonetic(word);
    ++words;
  }
  EXPECT_GE(words, 20);
  for (const char* word : {"mim", "nem", "cem", "bem", "tamb\xE9m"})
    EXPECT_EQ(tradutor::textToPhonetic(word).find('~') != std::string::npos, true) << word << " keeps its nasal vowel";
  tradutor::freeLetterRules();
}

}  // namespace

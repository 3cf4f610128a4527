// agreement: how often the synthetic voice's front end pronounces a word as
// espeak-ng (pt-br) does. For every word type of a text (two letters or
// more, with a vowel), both phoneme strings are mapped to one coarse
// inventory (coarse_phonemes.h) and compared whole: the same phonemes and
// the same stressed vowel. Prints the share that agree and the ten largest
// classes of disagreement with an example each; --list prints every one.
// With --diphone DIR the diphone voice is measured instead, on the phonetic
// strings its rules (DIR/regras.rgr, DIR/portug.exc) give, with open and
// closed e and o taken as one: its recordings have only the closed ones.
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../tradutor/cp1252.h"
#include "coarse_phonemes.h"
#include "common/cp1252_case.h"
#include "diphone/letter_rules.h"
#include "platform/host/host_control.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"
#include "tts/utts_text.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: agreement (--data DIR | --diphone DIR) [--list] TEXTFILE";

std::vector<std::string> ourPhonemes(const std::string& word) {
  std::vector<std::string> out;
  for (const std::string& p : tradutor::transcribeWords(
           tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(word)))))
    out.push_back(p);
  return out;
}

std::string espeakPhonemes(const std::string& utf8Word) {
  const void* text = utf8Word.c_str();
  std::string all;
  while (text != nullptr) {
    const char* p = espeak_TextToPhonemes(&text, espeakCHARS_UTF8, '|' << 8);
    if (p != nullptr) all += (all.empty() ? "" : "|") + std::string(p);
  }
  return all;
}

// The word types of the text, lower case, in Windows-1252.
std::set<std::string> wordTypes(const std::string& file) {
  std::set<std::string> words;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    std::string token;
    auto take = [&] {
      const tool::Conversion c = tool::utf8ToCp1252(token);
      token.clear();
      if (!c.error.empty() || c.text.size() < 2) return;
      std::string w = tradutor::toLowerCp1252(c.text);
      bool vowel = false, letters = true;
      for (const char ch : w) {
        letters = letters && tradutor::tts::isLetter(static_cast<std::uint8_t>(ch));
        vowel = vowel || std::string("aeiou\xE0\xE1\xE2\xE3\xE9\xEA\xED\xF3\xF4\xF5\xFA").find(ch) != std::string::npos;
      }
      if (letters && vowel) words.insert(w);
    };
    for (const char ch : line) {
      const unsigned char u = static_cast<unsigned char>(ch);
      if (u >= 0x80 || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) token += ch;
      else take();
    }
    take();
  }
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  std::string data, diphone, textFile;
  bool list = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--data" && i + 1 < argc) data = argv[++i];
    else if (a == "--diphone" && i + 1 < argc) diphone = argv[++i];
    else if (a == "--list") list = true;
    else textFile = a;
  }
  if (data.empty() == diphone.empty() || textFile.empty()) {
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
  }
  platform::host::reset();
  if (!diphone.empty()) {
    const fs::path dir = fs::absolute(diphone);
    if (!tradutor::loadLetterRules((dir / "regras.rgr").string()) ||
        !tradutor::loadExceptionWords((dir / "portug.exc").string())) {
      std::fprintf(stderr, "agreement: cannot read regras.rgr and portug.exc in %s\n", dir.string().c_str());
      return 1;
    }
  } else {
    const std::string stem = (fs::absolute(data) / "portug").string();
    if (!tradutor::loadAbbreviations(stem + ".abr") || !tradutor::loadProsodyFile(stem + ".pro") ||
        !tradutor::loadLanguageData(stem + ".nrl", stem + ".exc")) {
      std::fprintf(stderr, "agreement: cannot read the data files %s.*\n", stem.c_str());
      return 1;
    }
  }
  if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0) < 0 || espeak_SetVoiceByName("pt-br") != EE_OK) {
    std::fprintf(stderr, "agreement: espeak-ng (pt-br) did not start\n");
    return 1;
  }
  const std::set<std::string> words = wordTypes(textFile);
  if (words.empty()) {
    std::fprintf(stderr, "agreement: no words in %s\n", textFile.c_str());
    return 1;
  }
  std::size_t agree = 0;
  std::map<std::string, std::pair<int, std::string>> classes;  // class -> count, first example
  for (const std::string& w : words) {
    const std::string utf8 = tool::cp1252ToUtf8(w);
    agreement::Coarse theirs = agreement::coarseOfEspeak(espeakPhonemes(utf8));
    agreement::Coarse ours;
    if (diphone.empty()) {
      ours = agreement::coarseOfOurs(ourPhonemes(w));
    } else {
      ours = agreement::coarseOfDiphone(tradutor::textToPhonetic(w));
      agreement::mergeOpenVowels(ours);
      agreement::mergeOpenVowels(theirs);
    }
    // espeak-ng leaves many short words unstressed (ser, para, está): then the
    // stress is not compared.
    if (!agreement::hasStress(ours) || !agreement::hasStress(theirs)) {
      agreement::dropStress(ours);
      agreement::dropStress(theirs);
    }
    if (ours == theirs) {
      ++agree;
      continue;
    }
    const std::string line = utf8 + ": " + agreement::joined(ours) + " | espeak-ng " + agreement::joined(theirs);
    auto& entry = classes[agreement::disagreementClass(ours, theirs)];
    if (entry.first++ == 0) entry.second = line;
    if (list) std::printf("%s\n", line.c_str());
  }
  std::printf("word types %zu, agreeing %zu (%.1f%%)\n", words.size(), agree, 100.0 * agree / words.size());
  std::vector<std::pair<int, std::string>> ranked;
  for (const auto& [name, entry] : classes) ranked.emplace_back(entry.first, name);
  std::sort(ranked.rbegin(), ranked.rend());
  for (std::size_t i = 0; i < ranked.size() && i < 10; ++i)
    std::printf("%6d  %-10s e.g. %s\n", ranked[i].first, ranked[i].second.c_str(), classes[ranked[i].second].second.c_str());
  return 0;
}

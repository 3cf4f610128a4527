// normalize, stress, tokens, codes, phonemes and pho: the Portuguese front
// end's stages, each printing its list one entry a line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "commands.h"
#include "cp1252.h"
#include "common/cp1252_case.h"
#include "platform/host/host_control.h"
#include "tts/utts_excessoes.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"
#include "tts/utts_text.h"
#include "tts/utts_tonica.h"

namespace fs = std::filesystem;

namespace tool {
namespace {

constexpr const char* kUsageLine = "tradutor STAGE [--data DIR] [--base NAME] TEXT";

void print(const std::string& cp1252) { std::printf("%s\n", cp1252ToUtf8(cp1252).c_str()); }

void printList(const tradutor::StringList& list) {
  for (const std::string& entry : list) print(entry);
}

// Loads the five files DIR/NAME.abr, .exc, .nrl, .pro, .dfn that the stage needs.
bool loadData(const std::string& dir, const std::string& base, int upToStage) {
  const std::string stem = (fs::absolute(dir) / base).string();
  platform::host::reset();
  auto need = [](bool ok, const std::string& file) {
    if (!ok) printError("cannot read " + file);
    return ok;
  };
  if (!need(tradutor::loadAbbreviations(stem + ".abr"), stem + ".abr")) return false;
  if (upToStage >= 2 && !tradutor::loadProsodyFile(stem + ".pro")) {
    for (const std::string& m : platform::host::messagesShown()) printError(cp1252ToUtf8(m));
    return need(false, stem + ".pro");
  }
  if (upToStage >= 3 && !need(tradutor::loadLanguageData(stem + ".nrl", stem + ".exc"), stem + ".nrl or " + stem + ".exc"))
    return false;
  if (upToStage >= 4 && !need(tradutor::loadDiphoneList(stem + ".dfn"), stem + ".dfn")) return false;
  return true;
}

// One text's stages in the stored form the tests compare with: "@text"
// with the text, then each stage's name on a line of its own and its
// entries after it, each behind one blank (an entry may be empty).
void writeStages(std::FILE* out, const std::string& text) {
  auto stage = [out](const char* name, const tradutor::StringList& entries) {
    std::fprintf(out, "@%s\n", name);
    for (const std::string& e : entries) {
      std::fputc(' ', out);
      std::fwrite(e.data(), 1, e.size(), out);
      std::fputc('\n', out);
    }
  };
  std::fprintf(out, "@text ");
  std::fwrite(text.data(), 1, text.size(), out);
  std::fputc('\n', out);
  const std::string normalized = tradutor::normalizeText(text);
  stage("normalize", {normalized});
  const tradutor::StringList tokens = tradutor::splitIntoWords(normalized);
  stage("tokens", tokens);
  const tradutor::StringList codes = tradutor::assignIntonationCodes(tokens);
  stage("codes", codes);
  const tradutor::StringList phonemes = tradutor::transcribeWords(codes);
  stage("phonemes", phonemes);
  tradutor::resetPhonemeLineState();  // each text as if it were the first one spoken
  stage("pho", tradutor::makePhonemeLines(phonemes, 1.0, 1.0));
}

// Takes --data DIR and --base NAME out of the arguments (defaults: the
// current directory, portug); false, after the usage, unless one argument
// (`what`) is left.
bool dataArguments(Arguments& args, std::string& dir, std::string& base, const char* what, const std::string& usage) {
  dir = ".";
  base = "portug";
  takeOption(args, "--data", dir);
  takeOption(args, "--base", base);
  if (args.size() == 1) return true;
  printError((args.empty() ? std::string("missing ") + what : std::string("too many arguments")) + "; usage: " + usage);
  return false;
}

}  // namespace

int stagesCommand(const Arguments& given) {
  Arguments args = given;
  std::string dir, base;
  if (!dataArguments(args, dir, base, "TEXTS", "tradutor stages [--data DIR] [--base NAME] TEXTS")) return kUsage;
  std::ifstream in(args[0], std::ios::binary);
  if (!in) {
    printError("cannot read " + args[0]);
    return kFailed;
  }
  if (!loadData(dir, base, 4)) return kFailed;
  std::printf("# The front end's stages for each text (Windows-1252): tradutor stages TEXTS\n");
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) writeStages(stdout, line);
  }
  return kOk;
}

int ttsStageCommand(const std::string& stage, const Arguments& given) {
  Arguments args = given;
  std::string dir, base;
  if (!dataArguments(args, dir, base, "TEXT", kUsageLine)) return kUsage;
  std::string text;
  if (!textArgument(args[0], text)) return kUsage;
  const int depth = stage == "normalize" ? 1 : (stage == "stress" || stage == "tokens" || stage == "codes") ? 2
                                             : stage == "phonemes" ? 3 : 4;
  if (!loadData(dir, base, stage == "stress" ? 3 : depth)) return kFailed;

  const std::string normalized = tradutor::normalizeText(text);
  if (stage == "normalize") {
    print(normalized);
    return kOk;
  }
  const tradutor::StringList tokens = tradutor::splitIntoWords(normalized);
  if (stage == "tokens") {
    printList(tokens);
    return kOk;
  }
  if (stage == "stress") {
    for (const std::string& t : tokens) {
      if (t.size() <= 4 || !tradutor::tts::isLetter(static_cast<std::uint8_t>(t[4]))) continue;  // boundaries, punctuation
      std::string word = tradutor::toUpperCp1252(t.substr(4));
      tradutor::lookupException(word);
      print(word + " " + std::to_string(tradutor::isUnstressedWord(word) ? 0 : tradutor::findStressedLetter(word)));
    }
    return kOk;
  }
  const tradutor::StringList codes = tradutor::assignIntonationCodes(tokens);
  if (stage == "codes") {
    printList(codes);
    return kOk;
  }
  const tradutor::StringList phonemes = tradutor::transcribeWords(codes);
  if (stage == "phonemes") {
    printList(phonemes);
    return kOk;
  }
  printList(tradutor::makePhonemeLines(phonemes, 1.0, 1.0));
  return kOk;
}

}  // namespace tool

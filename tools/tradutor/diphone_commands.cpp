// phonetic, numbers and say: the diphone voice's stages.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "commands.h"
#include "cp1252.h"
#include "diphone/kztradut.h"
#include "diphone/letter_rules.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzlenum.h"
#include "sound/kzwav.h"

namespace fs = std::filesystem;

namespace tool {

namespace {

bool oneArgument(const Arguments& args, const char* usage) {
  if (args.size() == 1) return true;
  printError(args.empty() ? std::string("missing argument; usage: ") + usage
                          : std::string("too many arguments; usage: ") + usage);
  return false;
}

}  // namespace

int phoneticCommand(const Arguments& given) {
  Arguments args = given;
  std::string dir = ".";
  takeOption(args, "--rules", dir);
  if (!oneArgument(args, "tradutor phonetic [--rules DIR] TEXT")) return kUsage;
  std::string text;
  if (!textArgument(args[0], text)) return kUsage;
  const std::string folder = fs::absolute(dir).string();
  if (!tradutor::loadLetterRules(folder + "/regras.rgr")) {
    printError("cannot read " + folder + "/regras.rgr");
    return kFailed;
  }
  if (!tradutor::loadExceptionWords(folder + "/portug.exc")) {
    printError("cannot read " + folder + "/portug.exc");
    return kFailed;
  }
  std::printf("%s\n", cp1252ToUtf8(tradutor::textToPhonetic(text)).c_str());
  return kOk;
}

int numbersCommand(const Arguments& args) {
  if (!oneArgument(args, "tradutor numbers N")) return kUsage;
  const std::string& n = args[0];
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(n.c_str(), &end, 10);
  if (n.empty() || n[0] == '-' || *end != '\0' || errno == ERANGE || value > 4294967295ull) {
    printError("'" + n + "' is not a whole number from 0 to 4294967295");
    return kUsage;
  }
  std::printf("%s\n", cp1252ToUtf8(tradutor::numberToWords(static_cast<std::uint32_t>(value))).c_str());
  return kOk;
}

// The host platform stands for Windows: the INI's folder is the Windows
// directory, the program's directory is the current one, and --drive-c
// names the folder that holds what the INI calls C:\.
void setUpHost(const fs::path& iniPath, const std::string& driveC) {
  namespace host = platform::host;
  host::reset();
  host::setWindowsDirectory(iniPath.parent_path().string());
  host::setCurrentDirectory(fs::current_path().string());
  if (!driveC.empty()) host::mapDrive('C', fs::absolute(driveC).string());
}

bool openVoice(const std::string& ini, const std::string& driveC) {
  const fs::path iniPath = fs::absolute(ini);
  if (!fs::is_regular_file(iniPath)) {
    printError("cannot find " + iniPath.string());
    return false;
  }
  setUpHost(iniPath, driveC);
  tradutor::initSpeechHub();
  tradutor::applySpeechSettings(3);
  const int code = tradutor::openDiphoneSynth();
  if (code != 0) {
    printError("the diphone voice " + tradutor::diphoneBaseName() + " cannot be opened (code " + std::to_string(code) + ")");
    return false;
  }
  return true;
}

int sayCommand(const Arguments& given) {
  namespace host = platform::host;
  Arguments args = given;
  std::string out;
  std::string ini = "ORALIS.INI";
  std::string driveC;
  const bool hasOut = takeOption(args, "--out", out);
  takeOption(args, "--ini", ini);
  takeOption(args, "--drive-c", driveC);
  if (!hasOut) {
    printError("missing --out FILE.wav; usage: tradutor say --out FILE.wav [--ini FILE] [--drive-c DIR] TEXT");
    return kUsage;
  }
  if (!oneArgument(args, "tradutor say --out FILE.wav [--ini FILE] [--drive-c DIR] TEXT")) return kUsage;
  std::string text;
  if (!textArgument(args[0], text)) return kUsage;
  const fs::path iniPath = fs::absolute(ini);
  if (!fs::is_regular_file(iniPath)) {
    printError("cannot find " + iniPath.string());
    return kFailed;
  }

  setUpHost(iniPath, driveC);
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::initSpeechHub();
  tradutor::openConsoleWindow();
  // When the voice cannot open, the hub writes why and waits for Enter.
  host::setIdleHook([] { host::typeText("\r"); });
  try {
    tradutor::startSpeech(0, "");
  } catch (const host::ProgramExit&) {
    for (int row = 1; row <= 2; ++row) {
      std::string line;
      for (int column = 1; column <= tradutor::kScreenColumns; ++column)
        line += static_cast<char>(tradutor::screenCharAt(column, row));
      line.erase(line.find_last_not_of(' ') + 1);
      printError(cp1252ToUtf8(line));
    }
    return kFailed;
  }
  host::setIdleHook(nullptr);
  tradutor::speakText(text);
  tradutor::stopSpeech();
  if (!host::writePlayedWave(out)) {
    printError("cannot write " + out);
    return kFailed;
  }
  return kOk;
}

}  // namespace tool

// tradutor: the speech library's stages on the command line. Reads and
// prints UTF-8; the library works in Windows-1252.
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "cp1252.h"

namespace tool {

void printError(const std::string& message) { std::fprintf(stderr, "tradutor: %s\n", message.c_str()); }

bool textArgument(const std::string& utf8, std::string& cp1252) {
  const Conversion c = utf8ToCp1252(utf8);
  if (!c.error.empty()) {
    printError(c.error);
    return false;
  }
  cp1252 = c.text;
  return true;
}

bool takeOption(Arguments& args, const std::string& name, std::string& value) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == name) {
      value = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return true;
    }
  }
  return false;
}

}  // namespace tool

namespace {

const char kUsage[] =
    "usage: tradutor COMMAND [OPTIONS] ARGUMENT\n"
    "\n"
    "commands:\n"
    "  phonetic [--rules DIR] TEXT\n"
    "      the diphone voice's phonetic string of TEXT, with regras.rgr and\n"
    "      portug.exc of DIR (default: the current directory)\n"
    "  numbers N\n"
    "      the Portuguese words of N (0 to 4294967295)\n"
    "  say --out FILE.wav [--ini FILE] [--drive-c DIR] TEXT\n"
    "      speaks TEXT as the program would, with the diphone voice and the\n"
    "      recordings an ORALIS.INI names (default: ./ORALIS.INI), and writes\n"
    "      everything played to FILE.wav; --drive-c gives the folder that holds\n"
    "      what the INI calls C:\\ (a Wine prefix's drive_c)\n"
    "  coverage [--ini FILE] [--drive-c DIR] [--top N] WORDLIST\n"
    "      the share of the words of WORDLIST (one a line) that the diphone voice\n"
    "      speaks with no segment dropped or heard as noise, and the missing\n"
    "      segments that cost the most words\n"
    "  normalize | stress | tokens | codes | phonemes | pho [--data DIR] [--base NAME] TEXT\n"
    "      a stage of the Portuguese voice's front end, one entry a line: the\n"
    "      normalised text, each word's stressed letter, the tokens, the coded\n"
    "      words, the phoneme list, or the phoneme lines as MBROLA gets them;\n"
    "      the data files are NAME.abr, .pro, .exc, .nrl, .dfn in DIR\n"
    "      (default: portug in the current directory)\n"
    "  stages [--data DIR] [--base NAME] TEXTS\n"
    "      every stage above for each line of the file TEXTS (Windows-1252), as\n"
    "      the tests keep them in tests/data/front_end_stages.txt\n"
    "  synth [--db PATH] [--out FILE.wav] [FILE.pho | -]\n"
    "      phoneme lines (from FILE.pho, or standard input) spoken by the\n"
    "      synthetic voice's engine into a 16 kHz WAV file (default: standard\n"
    "      output); the database is the one the build made unless --db names one\n"
    "  speak [--data DIR] [--db PATH] [--speed N] [--pitch N] --out FILE.wav TEXT\n"
    "      TEXT through the whole synthetic voice into FILE.wav, as falamci says\n"
    "      it with the engine type 3; speed and pitch as in [SERVFALA]; DIR holds\n"
    "      the voice's data files and br4 (default: the voice the build made)\n"
    "\n"
    "TEXT is UTF-8 and must be writable in Windows-1252.\n"
    "Exit codes: 0 done, 1 the work failed, 2 the command line was wrong.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? tool::kUsage : tool::kOk;
  }
  const std::string command = argv[1];
  const tool::Arguments args(argv + 2, argv + argc);
  if (command == "phonetic") return tool::phoneticCommand(args);
  if (command == "numbers") return tool::numbersCommand(args);
  if (command == "say") return tool::sayCommand(args);
  if (command == "coverage") return tool::coverageCommand(args);
  if (command == "synth") return tool::synthCommand(args);
  if (command == "speak") return tool::speakCommand(args);
  if (command == "stages") return tool::stagesCommand(args);
  for (const char* stage : {"normalize", "stress", "tokens", "codes", "phonemes", "pho"})
    if (command == stage) return tool::ttsStageCommand(command, args);
  tool::printError("unknown command '" + command + "'");
  std::fputs(kUsage, stderr);
  return tool::kUsage;
}

#pragma once
// The subcommands of the tradutor tool. Each takes its arguments (after the
// command's name) and returns the process's exit code.
#include <string>
#include <vector>

namespace tool {

using Arguments = std::vector<std::string>;

constexpr int kOk = 0;
constexpr int kFailed = 1;  // the command could not do its work (files, voice)
constexpr int kUsage = 2;   // the command line was wrong

int phoneticCommand(const Arguments& args);
int numbersCommand(const Arguments& args);
int sayCommand(const Arguments& args);
int coverageCommand(const Arguments& args);
int synthCommand(const Arguments& args);
int speakCommand(const Arguments& args);
// normalize, stress, tokens, codes, phonemes, pho.
int ttsStageCommand(const std::string& stage, const Arguments& args);
// Every stage of each line of a Windows-1252 file, in the tests' stored form.
int stagesCommand(const Arguments& args);

// Shared helpers.
void printError(const std::string& message);
// The text argument converted to Windows-1252; false (after an error message) when it cannot be.
bool textArgument(const std::string& utf8, std::string& cp1252);
// Takes "--name VALUE" out of the arguments; false when it is not there.
bool takeOption(Arguments& args, const std::string& name, std::string& value);
// The synthetic voice's folder (data files and br4) that the build makes
// beside this program: voice/drive_c/tarsis/aureatts.
std::string builtVoiceFolder();
// A 16 kHz 16-bit mono WAV file ("-": standard output).
bool writeWave16(const std::string& path, const std::vector<short>& samples);

}  // namespace tool

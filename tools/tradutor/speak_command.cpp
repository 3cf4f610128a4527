// speak: text through the whole synthetic voice, as falamci speaks it with
// [SERVFALA] TIPOSAPI=3: the Portuguese voice driver with its file output,
// the engine linked in where mbrola.dll would be loaded.
#include <filesystem>
#include <string>

#include "commands.h"
#include "engines/mbrola_voice.h"
#include "platform/host/host_control.h"
#include "psola_static.h"
#include "tts/utts_aurea.h"

namespace fs = std::filesystem;

namespace tool {
namespace {

constexpr const char* kUsageLine =
    "tradutor speak [--data DIR] [--db PATH] [--speed N] [--pitch N] --out FILE.wav TEXT";

bool number(const std::string& text, int& value) {
  try {
    std::size_t used = 0;
    value = std::stoi(text, &used);
    return used == text.size();
  } catch (...) {
    return false;
  }
}

}  // namespace

int speakCommand(const Arguments& given) {
  Arguments args = given;
  std::string dir = builtVoiceFolder(), db, out, speedText = "0", pitchText = "0";
  takeOption(args, "--data", dir);
  takeOption(args, "--db", db);
  takeOption(args, "--out", out);
  takeOption(args, "--speed", speedText);
  takeOption(args, "--pitch", pitchText);
  int speed = 0, pitch = 0;
  if (out.empty() || args.size() != 1 || !number(speedText, speed) || !number(pitchText, pitch)) {
    printError(std::string(out.empty() ? "missing --out" : args.size() != 1 ? "one TEXT expected" : "speed and pitch are numbers") +
               "; usage: " + kUsageLine);
    return kUsage;
  }
  std::string text;
  if (!textArgument(args[0], text)) return kUsage;
  if (db.empty()) db = (fs::path(dir) / "br4").string();
  const std::string stem = (fs::absolute(dir) / "portug").string();

  platform::host::reset();
  platform::host::installLibrary("mbrola.dll", [](const char* name) { return psola_export(name); });
  tradutor::ttsSetOutputFile(fs::absolute(out).string());
  if (tradutor::ttsInitialize(fs::absolute(db).string(), stem + ".nrl", stem + ".exc", stem + ".dfn", stem + ".pro",
                              stem + ".abr") == 0) {
    const std::string& why = tradutor::ttsErrorText();
    printError(why.empty() ? "the engine did not start with the database " + db + " (or " + out + " cannot be written)"
                           : why);
    tradutor::ttsTerminate();
    return kFailed;
  }
  tradutor::ttsSetFactors(tradutor::mbrolaDurationFactor(speed), tradutor::mbrolaPitchFactor(pitch));
  const bool spoken = tradutor::ttsSpeak(text);
  tradutor::ttsTerminate();
  if (!spoken) {
    printError("the engine reported an error or " + out + " could not be written");
    return kFailed;
  }
  return kOk;
}

}  // namespace tool

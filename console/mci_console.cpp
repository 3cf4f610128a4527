// falamci: the talking MCI command console.
#include "mci_console.h"

#include <cstring>
#include <string>

#include "engines/mbrola_voice.h"
#include "hub/kzwin.h"
#include "hub/line_editor.h"
#include "platform/mci.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace falamci {
namespace {

// A command the buffer cannot hold is refused, never cut: a cut command
// would run something other than what was typed (another file, another device).
constexpr const char* kTooLong = "Comando longo demais: o MCI aceita at\xE9 151 caracteres";

void runCommand(const std::string& line) {
  char command[kCommandBuffer] = {};
  char answer[kCommandBuffer] = {};
  if (line.size() >= sizeof command) {
    tradutor::writeLineAndSpeak(kTooLong);
    return;
  }
  std::memcpy(command, line.data(), line.size());
  const int result = platform::sendMciString(command, answer, kReturnLength);
  if (result != 0) {
    if (!platform::mciErrorText(result, answer, kReturnLength))
      std::strcpy(answer, ("Erro MCI " + std::to_string(result)).c_str());
    tradutor::writeLineAndSpeak(answer);
  } else if (answer[0] != '\0') {
    tradutor::writeLineAndSpeak(std::string("retorno ") + answer);
  }
}

}  // namespace

void initUnits() {
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::initSpeechHub();
  tradutor::initMbrolaVoiceAdapter();
}

void runMciConsole() {
  tradutor::writeLine();
  tradutor::startSpeech(0, "");
  std::string line;
  for (;;) {
    tradutor::writeLineAndSpeak("Entre comando MCI");
    tradutor::readSpokenLine(line);
    if (line.empty()) break;
    runCommand(line);
  }
  tradutor::stopSpeech();
  tradutor::closeConsoleWindow();
}

}  // namespace falamci

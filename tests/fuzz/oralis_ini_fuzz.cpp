// Any ORALIS.INI: the console's display settings as the window opens, the
// hub's start-up reading its sections, and readConfig of every key the
// programs ask for.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace host = platform::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::resetProgram();
  host::setDriveFolder(fuzz::scratchFolder());
  host::writeFile("C:\\WINDOWS\\ORALIS.INI", std::string(reinterpret_cast<const char*>(data), size));
  try {
    tradutor::initConsoleUnit();
    tradutor::initWavePlayer();
    tradutor::initSpeechHub();
    tradutor::openConsoleWindow();
    for (const char* section : {"TRADUTOR", "SERVFALA", "SINTETIZADOR", "VIDEO", "BRAILLE", "AUREATTS", "ORALIS"})
      for (const char* key : {"VELOCIDADE", "SAPI", "DIRLETRAS", "DIRDIFONES", "VOZ", "TOM", "TIPOSAPI", "DIFONES3",
                              "CORTEFON3", "FONTE", "CORFUNDO", "TABCORES", "AMPLIF", "MODO", "MBROLA_DB", "DIR", "BASE"})
        tradutor::readConfig(section, key);
    tradutor::startSpeech(0, "");
    tradutor::stopSpeech();
  } catch (const host::ProgramExit&) {
    // A voice that cannot start ends the program, as it should.
  } catch (const host::Stalled&) {
    // ... after waiting for Enter, which no fuzzer presses.
  }
  return 0;
}

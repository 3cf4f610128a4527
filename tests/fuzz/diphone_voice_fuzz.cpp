// Any index and samples as the diphone voice, then any phonetic text spoken
// with it on the host's device. The input is the index (.IND), a line
// "@@@", the samples (.DIF), "@@@", and the phonetic text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "diphone/kztradut.h"
#include "fuzz_support.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace host = platform::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = fuzz::splitParts(data, size, 3);
  fuzz::resetProgram();
  host::mapDrive('C', std::string(FUZZ_VOICE_DIR) + "/drive_c");
  host::mapDrive('D', fuzz::scratchFolder());
  host::setWindowsDirectory("D:\\");
  host::setCurrentDirectory("C:\\tarsis");
  host::writeFile("D:\\ORALIS.INI",
                  "[TRADUTOR]\r\ndirLetras=C:\\tarsis\\som\\letras\r\nDIRDIFONES=D:\\\r\n");
  host::writeFile("D:\\FUZZ.IND", parts[0]);
  host::writeFile("D:\\FUZZ.DIF", parts[1]);
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::initSpeechHub();
  tradutor::openConsoleWindow();
  tradutor::setDiphoneBaseName("FUZZ");
  try {
    if (tradutor::openDiphoneSynth() == 0) {
      tradutor::speakPhonetic(parts[2].empty() ? "[ka'za] [bo'nita], [a]." : parts[2], size > 0 && (data[0] & 1));
      tradutor::closeDiphoneSynth();
    }
  } catch (const host::Stalled&) {
  } catch (const host::ProgramExit&) {
  }
  return 0;
}

// Any bytes as a WAV file or wave image: parsed, and played on the host's
// device.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    platform::host::reset();
    platform::host::setWaveRecording(false);
    tradutor::initConsoleUnit();
    tradutor::initWavePlayer();
    tradutor::openConsoleWindow();
    return true;
  }();
  (void)ready;
  tradutor::parseWaveImage(data, size);
  tradutor::playWaveImage(data, size);
  tradutor::stopWave();
  const std::string path = fuzz::writeScratch("sound.wav", data, size);
  tradutor::playWaveFile(path);
  tradutor::stopWave();
  platform::host::waveLog().blocks.clear();
  return 0;
}

#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace fuzz {

const std::string& scratchFolder() {
  static const std::string folder = [] {
    const auto dir = std::filesystem::temp_directory_path() / ("falamci-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
  }();
  return folder;
}

std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = scratchFolder() + "/" + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

void resetProgram() {
  platform::host::reset();
  tradutor::resetConsoleUnit();
  tradutor::resetWavePlayer();
  tradutor::resetSpeechHub();
  platform::host::setWaveRecording(false);
}

std::string voiceData(const std::string& file) { return std::string(FUZZ_VOICE_DIR) + "/drive_c/tarsis/aureatts/" + file; }

}  // namespace fuzz

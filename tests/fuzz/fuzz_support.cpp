#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace fuzz {

namespace {

std::string& madeFolder() {
  static std::string folder;
  return folder;
}

void removeScratchFolder() {
  std::error_code ignored;
  if (!madeFolder().empty()) std::filesystem::remove_all(madeFolder(), ignored);
}

}  // namespace

// A folder no other process can have chosen (mkdtemp), removed when the
// program ends.
const std::string& scratchFolder() {
  static const std::string& folder = [] () -> const std::string& {
    std::string pattern = (std::filesystem::temp_directory_path() / "falamci-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    madeFolder() = pattern;
    std::atexit(removeScratchFolder);
    return madeFolder();
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

std::string writeScratch(const std::string& name, const std::string& text) {
  return writeScratch(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void resetProgram() {
  platform::host::reset();
  tradutor::resetConsoleUnit();
  tradutor::resetWavePlayer();
  tradutor::resetSpeechHub();
  platform::host::setWaveRecording(false);
}

void openTalkingConsole() {
  resetProgram();
  platform::host::mapDrive('C', std::string(FUZZ_VOICE_DIR) + "/drive_c");
  platform::host::setWindowsDirectory("C:\\windows");
  platform::host::setCurrentDirectory("C:\\tarsis");
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::initSpeechHub();
  tradutor::openConsoleWindow();
}

void postKeyEvents(const std::uint8_t* data, std::size_t size) {
  namespace host = platform::host;
  for (std::size_t i = 0; i + 1 < size && i < 400; i += 2) {
    const std::uint8_t how = data[i], what = data[i + 1];
    const host::Modifiers m{(how & 4) != 0, (how & 8) != 0, (how & 16) != 0};
    switch (how & 3) {
      case 0: host::pressKey(what, m); break;
      case 1: host::postChar(what, m); break;
      case 2: host::postKeyDown(what, m); break;
      default: host::postKeyUp(what, m); break;
    }
  }
}

std::vector<std::string> splitParts(const std::uint8_t* data, std::size_t size, std::size_t count) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts(count);
  std::size_t at = 0;
  for (std::size_t i = 0; i < count && at <= input.size(); ++i) {
    const std::size_t next = i + 1 == count ? std::string::npos : input.find("@@@", at);
    parts[i] = input.substr(at, next == std::string::npos ? std::string::npos : next - at);
    if (next == std::string::npos) break;
    at = next + 3;
  }
  return parts;
}

std::string voiceData(const std::string& file) { return std::string(FUZZ_VOICE_DIR) + "/drive_c/tarsis/aureatts/" + file; }

}  // namespace fuzz

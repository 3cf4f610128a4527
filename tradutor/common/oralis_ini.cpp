// Where ORALIS.INI lies and how "@" reads in it.
#include "common/oralis_ini.h"

#include "platform/files.h"
#include "platform/profile.h"

namespace tradutor {
namespace {

constexpr const char* kIniName = "ORALIS.INI";
constexpr int kValueBuffer = 255;
// GetWindowsDirectoryA's buffer in the older programs.
constexpr int kWindowsDirectoryBuffer = 144;

std::string windowsDirectoryIni() {
  std::string dir = platform::windowsDirectory(kWindowsDirectoryBuffer);
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir + kIniName;
}

std::string programDirectory(const std::string& file, const std::string& startDirectory) {
  const std::string dir = platform::readProfileString("ORALIS", "PGMORALIS", "", kValueBuffer, file);
  if (dir.empty() || dir[0] == '@') return startDirectory;
  return dir;
}

}  // namespace

std::string oralisIniFile(const std::string& startDirectory) {
  const std::string windows = windowsDirectoryIni();
  if (platform::fileExists(windows)) return windows;
  return startDirectory + "\\" + kIniName;
}

std::string expandProgramDirectory(std::string_view value, const std::string& file,
                                   const std::string& startDirectory) {
  std::string result;
  std::string_view rest = value;
  if (!rest.empty() && rest[0] == '@') {
    result = programDirectory(file, startDirectory);
    rest.remove_prefix(1);
  }
  for (;;) {
    const std::size_t at = rest.find("@\\");
    if (at == std::string_view::npos) break;
    result += rest.substr(0, at);
    result += programDirectory(file, startDirectory);
    rest.remove_prefix(at + 1);  // the backslash stays
  }
  result += rest;
  return result;
}

std::string readBareNameSetting(const std::string& section, const std::string& key, const std::string& defaultValue,
                                int bufferSize, const std::string& startDirectory) {
  if (platform::fileExists(windowsDirectoryIni()))
    return platform::readProfileString(section, key, defaultValue, bufferSize, kIniName);
  const std::string file = startDirectory + "\\" + kIniName;
  return expandProgramDirectory(platform::readProfileString(section, key, defaultValue, bufferSize, file), file,
                                startDirectory);
}

std::string startingDirectory() {
  std::string dir = platform::currentDirectory();
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir;
}

}  // namespace tradutor

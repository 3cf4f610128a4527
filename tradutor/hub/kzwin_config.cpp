// The hub's configuration lookup: which ORALIS.INI, and the "@" shorthand
// for the programs' directory.
#include <string>

#include "hub/kzwin.h"
#include "hub/kzwin_state.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace tradutor {
namespace {

constexpr int kValueBuffer = 255;

std::string iniFile() {
  std::string dir = platform::windowsDirectory(144);
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  if (platform::fileExists(dir + "ORALIS.INI")) return dir + "ORALIS.INI";
  return hub::state().startDirectory + "\\ORALIS.INI";
}

std::string programDirectory(const std::string& file) {
  const std::string dir = platform::readProfileString("ORALIS", "PGMORALIS", "", kValueBuffer, file);
  if (dir.empty() || dir[0] == '@') return hub::state().startDirectory;
  return dir;
}

}  // namespace

std::string readConfig(std::string_view section, std::string_view key) {
  const std::string file = iniFile();
  const std::string sectionName = section.empty() ? "ORALIS" : std::string(section);
  const std::string value = platform::readProfileString(sectionName, std::string(key), "", kValueBuffer, file);
  // Only the text as read is expanded, never the directory put in its place,
  // so a directory that itself holds "@\" cannot make the expansion endless.
  std::string result;
  std::string_view rest = value;
  if (!rest.empty() && rest[0] == '@') {
    result = programDirectory(file);
    rest.remove_prefix(1);
  }
  for (;;) {
    const std::size_t at = rest.find("@\\");
    if (at == std::string_view::npos) break;
    result += rest.substr(0, at);
    result += programDirectory(file);
    rest.remove_prefix(at + 1);  // the backslash stays
  }
  result += rest;
  return result;
}

}  // namespace tradutor

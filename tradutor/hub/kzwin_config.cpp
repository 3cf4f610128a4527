// The hub's configuration lookup: one key of the family's ORALIS.INI, with
// its "@" paths expanded (common/oralis_ini.h).
#include <string>

#include "common/oralis_ini.h"
#include "hub/kzwin.h"
#include "hub/kzwin_state.h"
#include "platform/profile.h"

namespace tradutor {
namespace {

constexpr int kValueBuffer = 255;

}  // namespace

std::string readConfig(std::string_view section, std::string_view key) {
  const std::string& start = hub::state().startDirectory;
  const std::string file = oralisIniFile(start);
  const std::string sectionName = section.empty() ? "ORALIS" : std::string(section);
  return expandProgramDirectory(
      platform::readProfileString(sectionName, std::string(key), "", kValueBuffer, file), file, start);
}

}  // namespace tradutor

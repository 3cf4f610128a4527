// Windows platform: profile strings through GetPrivateProfileStringA.
#include "platform/profile.h"

#include <windows.h>

namespace platform {

std::string readProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                              int bufferSize, const std::string& fileName) {
  if (bufferSize <= 0) return {};
  std::string buffer(static_cast<std::size_t>(bufferSize), '\0');
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                           static_cast<DWORD>(bufferSize), fileName.c_str());
  buffer.resize(n < static_cast<DWORD>(bufferSize) ? n : static_cast<DWORD>(bufferSize - 1));
  return buffer;
}

}  // namespace platform

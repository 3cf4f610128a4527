// Win32 platform: the registry through advapi32, read only.
#include "platform/registry.h"

#include <windows.h>

namespace platform {

bool openRegistryKey(RegistryRoot root, const std::string& subkey, RegistryKey& key) {
  HKEY base = root == RegistryRoot::localMachine  ? HKEY_LOCAL_MACHINE
              : root == RegistryRoot::currentUser ? HKEY_CURRENT_USER
                                                  : HKEY_CLASSES_ROOT;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, subkey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  key = reinterpret_cast<RegistryKey>(opened);
  return true;
}

bool queryRegistryValue(RegistryKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size,
                        std::uint8_t* buffer) {
  DWORD kind = 0, bytes = buffer == nullptr ? 0 : size;
  const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.empty() ? nullptr : name.c_str(), nullptr,
                                       &kind, buffer, &bytes);
  if (status != ERROR_SUCCESS) return false;
  type = kind;
  size = bytes;
  return true;
}

void closeRegistryKey(RegistryKey key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }

}  // namespace platform

// Win32 platform: libraries through LoadLibraryExA and GetProcAddress.
#include "platform/library.h"

#include <windows.h>

#include "platform/win32/own_module.h"

namespace platform {

// Never by a bare name: Windows would search the host program's folder, its
// working folder and PATH, where anyone could have put a DLL of that name.
// A name without a folder is the file beside this module; the library's own
// dependencies are then searched from its folder.
LibraryHandle loadLibrary(const std::string& name) {
  std::string path = name;
  if (name.find_first_of("\\/:") == std::string::npos) {
    const std::string folder = win32::ownModuleFolder();
    if (folder.empty()) return nullptr;
    path = folder + name;
  }
  return reinterpret_cast<LibraryHandle>(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

void* findSymbol(LibraryHandle library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

void freeLibrary(LibraryHandle library) {
  if (library != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

}  // namespace platform

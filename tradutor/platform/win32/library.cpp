// Win32 platform: libraries through LoadLibraryExA and GetProcAddress.
#include "platform/library.h"

#include <windows.h>

namespace platform {
namespace {

// The folder of the module this code is linked into (falamci.exe, or the
// voice's DLL when a SAPI client loaded it), ending in a backslash; empty
// when Windows cannot say.
std::string ownFolder() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&ownFolder), &self))
    return {};
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string folder(path, length);
  const std::size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace

// Never by a bare name: Windows would search the host program's folder, its
// working folder and PATH, where anyone could have put a DLL of that name.
// A name without a folder is the file beside this module; the library's own
// dependencies are then searched from its folder.
LibraryHandle loadLibrary(const std::string& name) {
  std::string path = name;
  if (name.find_first_of("\\/:") == std::string::npos) {
    const std::string folder = ownFolder();
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

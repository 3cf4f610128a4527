// Win32 platform: libraries through LoadLibraryA and GetProcAddress.
#include "platform/library.h"

#include <windows.h>

namespace platform {

LibraryHandle loadLibrary(const std::string& name) {
  return reinterpret_cast<LibraryHandle>(LoadLibraryA(name.c_str()));
}

void* findSymbol(LibraryHandle library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

void freeLibrary(LibraryHandle library) {
  if (library != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

}  // namespace platform

#pragma once
// Windows platform: the module this code is linked into — falamci.exe, or
// the voice's DLL inside whatever program loaded it — and its folder.
#include <string>

namespace platform::win32 {

// Its full path; empty when Windows cannot say (never the host program's
// path, which GetModuleFileName(nullptr) would give inside a DLL).
std::string ownModulePath();
// Its folder, ending in a backslash; empty when the path is.
std::string ownModuleFolder();

}  // namespace platform::win32

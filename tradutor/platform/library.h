#pragma once
// Libraries loaded at run time by name (mbrola.dll).
//
// Contract: loadLibrary gives null when the library cannot be loaded; a
// name without a folder is the file beside the program (on Windows, beside
// the module that holds this code), never one found along a search path;
// findSymbol gives null for a name the library does not export; every
// library loaded is freed once with freeLibrary.
#include <string>

// The calling convention of the functions such libraries export.
#if defined(_WIN32) && defined(__i386__)
#define PLATFORM_STDCALL __stdcall
#else
#define PLATFORM_STDCALL
#endif

namespace platform {

using LibraryHandle = struct LibraryImpl*;

LibraryHandle loadLibrary(const std::string& name);
void* findSymbol(LibraryHandle library, const char* name);
void freeLibrary(LibraryHandle library);

}  // namespace platform

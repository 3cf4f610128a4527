// mbrola: LoadLibrary, then GetProcAddress for each export in a fixed order;
// any one missing frees the library again.
#include "tts/mbrola.h"

#include <cstring>

namespace tradutor {

const char* const kMbrolaExports[23] = {
    "init_MBR",       "init_rename_MBR", "write_MBR",          "flush_MBR",          "read_MBR",       "readtype_MBR",
    "close_MBR",      "reset_MBR",       "lastError_MBR",      "lastErrorStr_MBR",   "setNoError_MBR", "getNoError_MBR",
    "setFreq_MBR",    "getFreq_MBR",     "setVolumeRatio_MBR", "getVolumeRatio_MBR", "getVersion_MBR", "getDatabaseInfo_MBR",
    "setParser_MBR",  "init_Phone",      "reset_Phone",        "close_Phone",        "appendf0_Phone"};

namespace {

struct BindingState {
  platform::LibraryHandle library = nullptr;
  MbrolaLibrary entries{};
};

BindingState& state() {
  static BindingState s;
  return s;
}

}  // namespace

bool loadMbrolaLibrary() {
  BindingState& s = state();
  if (s.library != nullptr) unloadMbrolaLibrary();
  platform::LibraryHandle library = platform::loadLibrary("mbrola.dll");
  if (library == nullptr) return false;
  // The entry points lie in the record in the order of kMbrolaExports; each
  // is a plain function pointer of the same size.
  static_assert(sizeof(MbrolaLibrary) == 23 * sizeof(void*) && sizeof(void*) == sizeof(void (*)()), "one pointer per export");
  void* found[23];
  for (int i = 0; i < 23; ++i) {
    found[i] = platform::findSymbol(library, kMbrolaExports[i]);
    if (found[i] == nullptr) {
      platform::freeLibrary(library);
      return false;
    }
  }
  std::memcpy(&s.entries, found, sizeof found);
  s.library = library;
  return true;
}

void unloadMbrolaLibrary() {
  BindingState& s = state();
  if (s.library != nullptr) platform::freeLibrary(s.library);
  s.library = nullptr;
  s.entries = MbrolaLibrary{};
}

bool mbrolaLoaded() { return state().library != nullptr; }

const MbrolaLibrary& mbrolaLibrary() { return state().entries; }

}  // namespace tradutor

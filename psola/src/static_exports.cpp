// The exports by name, for static builds.
#include <cstring>

#include "mbrola.h"
#include "psola_static.h"

namespace {

struct Export {
  const char* name;
  void* address;
};

template <typename F>
void* address(F f) {
  return reinterpret_cast<void*>(f);
}

const Export kExports[] = {
    {"init_MBR", address(init_MBR)},
    {"init_rename_MBR", address(init_rename_MBR)},
    {"write_MBR", address(write_MBR)},
    {"flush_MBR", address(flush_MBR)},
    {"read_MBR", address(read_MBR)},
    {"readtype_MBR", address(readtype_MBR)},
    {"close_MBR", address(close_MBR)},
    {"reset_MBR", address(reset_MBR)},
    {"lastError_MBR", address(lastError_MBR)},
    {"lastErrorStr_MBR", address(lastErrorStr_MBR)},
    {"setNoError_MBR", address(setNoError_MBR)},
    {"getNoError_MBR", address(getNoError_MBR)},
    {"setFreq_MBR", address(setFreq_MBR)},
    {"getFreq_MBR", address(getFreq_MBR)},
    {"setVolumeRatio_MBR", address(setVolumeRatio_MBR)},
    {"getVolumeRatio_MBR", address(getVolumeRatio_MBR)},
    {"getVersion_MBR", address(getVersion_MBR)},
    {"getDatabaseInfo_MBR", address(getDatabaseInfo_MBR)},
    {"setParser_MBR", address(setParser_MBR)},
    {"init_Phone", address(init_Phone)},
    {"reset_Phone", address(reset_Phone)},
    {"close_Phone", address(close_Phone)},
    {"appendf0_Phone", address(appendf0_Phone)},
};

}  // namespace

extern "C" void* psola_export(const char* name) {
  if (name == nullptr) return nullptr;
  for (const Export& e : kExports)
    if (std::strcmp(e.name, name) == 0) return e.address;
  return nullptr;
}

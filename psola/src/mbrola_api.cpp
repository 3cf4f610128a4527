// The exported functions: thin shims over the process's one engine. Nothing
// here may throw past the C boundary, so every entry point catches what the
// C++ library could raise (in practice, running out of memory) and names it
// as the engine's last error, so that no caller takes the failure for
// success. A fuzzing build lets every fault but running out of memory reach
// the fuzzer, which would otherwise never see it.
#include <cmath>
#include <cstring>
#include <new>

#include "engine.h"
#include "mbrola.h"

using psola::theEngine;

namespace {

char* copyOut(char* buffer, int size, const std::string& text) {
  if (buffer == nullptr || size <= 0) return buffer;
  const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size) - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return buffer;
}

// Raising must not throw in turn: the text is a literal and, should even
// that fail to fit, the number alone is set.
void nameFault(const char* text) noexcept {
  try {
    theEngine().raise(MBR_ERR_INTERNAL, text);
  } catch (...) {
    try {
      theEngine().raise(MBR_ERR_INTERNAL, std::string());
    } catch (...) {
    }
  }
}

template <typename F>
auto guarded(F f, decltype(f()) onFailure) -> decltype(f()) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    nameFault("out of memory");
    return onFailure;
  } catch (...) {
#ifdef PSOLA_FUZZING
    throw;
#else
    nameFault("an internal fault");
    return onFailure;
#endif
  }
}

}  // namespace

extern "C" {

int MBR_API init_MBR(char* db) { return init_rename_MBR(db, nullptr, nullptr); }

int MBR_API init_rename_MBR(char* db, char* rename, char* clone) {
  return guarded([&] { return theEngine().init(db, rename, clone); }, -1);
}

int MBR_API write_MBR(char* lines) {
  return guarded([&] { return theEngine().write(lines); }, -1);
}

int MBR_API flush_MBR(void) {
  return guarded([] { return theEngine().flush(); }, -1);
}

int MBR_API read_MBR(short* buffer, int count) {
  return guarded([&] { return theEngine().read(buffer, count); }, -1);
}

int MBR_API readtype_MBR(void* buffer, int count, int type) {
  return guarded([&] { return theEngine().readType(buffer, count, type); }, -1);
}

void MBR_API close_MBR(void) {
  guarded([] { theEngine().close(); return 0; }, 0);
}

void MBR_API reset_MBR(void) {
  guarded([] { theEngine().reset(); return 0; }, 0);
}

int MBR_API lastError_MBR(void) { return theEngine().lastError(); }

char* MBR_API lastErrorStr_MBR(char* buffer, int size) {
  return guarded([&] { return copyOut(buffer, size, theEngine().lastErrorText()); }, buffer);
}

void MBR_API setNoError_MBR(int noError) { theEngine().setNoError(noError != 0); }

int MBR_API getNoError_MBR(void) { return theEngine().noError() ? 1 : 0; }

void MBR_API setFreq_MBR(int freq) { theEngine().setFrequency(freq); }

int MBR_API getFreq_MBR(void) { return theEngine().frequency(); }

void MBR_API setVolumeRatio_MBR(float ratio) {
  if (ratio >= 0 && ratio <= 100) theEngine().setVolume(ratio);
}

float MBR_API getVolumeRatio_MBR(void) { return theEngine().volume(); }

char* MBR_API getVersion_MBR(char* buffer, int size) { return copyOut(buffer, size, psola::kVersion); }

int MBR_API getDatabaseInfo_MBR(char* buffer, int size, int index) {
  return guarded(
      [&] {
        std::string line;
        if (!theEngine().databaseInfo(index, line)) return 0;
        copyOut(buffer, size, line);
        return static_cast<int>(line.size());
      },
      0);
}

void MBR_API setParser_MBR(void* parser) { theEngine().setParser(static_cast<MbrParser*>(parser)); }

void* MBR_API init_Phone(char* name, float ms) {
  if (name == nullptr) return nullptr;
  if (!std::isfinite(ms)) {
    guarded([] { theEngine().raise(MBR_ERR_DURATION_RANGE, "a phone's duration is not a finite number"); return 0; }, 0);
    return nullptr;
  }
  auto* phone = new (std::nothrow) psola::PhoneObject;
  if (phone == nullptr) return nullptr;
  phone->name.assign(name, strnlen(name, 256));
  phone->ms = ms;
  return phone;
}

int MBR_API reset_Phone(void* phone) {
  if (phone == nullptr) return -1;
  static_cast<psola::PhoneObject*>(phone)->points.clear();
  return 0;
}

void MBR_API close_Phone(void* phone) { delete static_cast<psola::PhoneObject*>(phone); }

int MBR_API appendf0_Phone(void* phone, float position, float hz) {
  if (phone == nullptr) return -1;
  auto* p = static_cast<psola::PhoneObject*>(phone);
  // Written so that NaN fails every test.
  if (!(hz >= psola::kMinPitchHz && hz <= psola::kMaxPitchHz) || !std::isfinite(position) ||
      p->points.size() >= psola::kMaxPitchPoints)
    return -1;
  const double at = position < 0 ? 0.0 : position > 100 ? 100.0 : position;
  auto where = p->points.end();
  while (where != p->points.begin() && (where - 1)->position > at) --where;
  p->points.insert(where, {at, hz});
  return 0;
}

}  // extern "C"

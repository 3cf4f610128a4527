#include "support/fake_mbrola.h"

#include <cstring>
#include <string>

#include "platform/host/host_control.h"
#include "platform/library.h"

namespace testing_support {

std::string FakeMbrola::initPath;
std::vector<std::string> FakeMbrola::written;
std::vector<std::string> FakeMbrola::calls;
int FakeMbrola::resets = 0, FakeMbrola::flushes = 0, FakeMbrola::closes = 0, FakeMbrola::noError = 0;
int FakeMbrola::initResult = 0;
std::deque<int> FakeMbrola::reads;
std::set<int> FakeMbrola::failingWrites;
bool FakeMbrola::claimsMore = false;
std::set<std::string> FakeMbrola::missing;
std::function<void()> FakeMbrola::onRead;

namespace {

int g_error = 0;
short g_next = 1;

int PLATFORM_STDCALL init(char* db) {
  FakeMbrola::initPath = db;
  g_error = 0;
  return FakeMbrola::initResult;
}
int PLATFORM_STDCALL initRename(char* db, char*, char*) { return init(db); }
int PLATFORM_STDCALL write(char* lines) {
  FakeMbrola::calls.emplace_back("write");
  if (FakeMbrola::failingWrites.count(static_cast<int>(FakeMbrola::written.size()))) g_error = 1;
  FakeMbrola::written.emplace_back(lines);
  return 0;
}
int PLATFORM_STDCALL flush() {
  FakeMbrola::calls.emplace_back("flush");
  return ++FakeMbrola::flushes, 0;
}
int PLATFORM_STDCALL read(short* buffer, int count) {
  if (FakeMbrola::onRead) FakeMbrola::onRead();
  const int n = FakeMbrola::reads.empty() ? 0 : std::min(count, FakeMbrola::reads.front());
  FakeMbrola::calls.push_back("read " + std::to_string(n));
  if (FakeMbrola::reads.empty()) return 0;
  FakeMbrola::reads.pop_front();
  for (int i = 0; i < n; ++i) buffer[i] = g_next++;
  return FakeMbrola::claimsMore ? n + 1000 : n;
}
int PLATFORM_STDCALL readType(void*, int, int) { return 0; }
void PLATFORM_STDCALL close() { ++FakeMbrola::closes; }
void PLATFORM_STDCALL resetEngine() {
  FakeMbrola::calls.emplace_back("reset");
  ++FakeMbrola::resets;
  g_error = 0;
}
int PLATFORM_STDCALL lastError() {
  FakeMbrola::calls.emplace_back("error");
  return g_error;
}
char* PLATFORM_STDCALL lastErrorText(char* b, int) { return b; }
void PLATFORM_STDCALL setNoError(int on) { FakeMbrola::noError = on; }
int PLATFORM_STDCALL getNoError() { return FakeMbrola::noError; }
void PLATFORM_STDCALL setFreq(int) {}
int PLATFORM_STDCALL getFreq() { return 16000; }
void PLATFORM_STDCALL setVolume(float) {}
float PLATFORM_STDCALL getVolume() { return 1; }
char* PLATFORM_STDCALL version(char* b, int) { return b; }
int PLATFORM_STDCALL info(char*, int, int) { return 0; }
void PLATFORM_STDCALL setParser(void*) {}
void* PLATFORM_STDCALL initPhone(char*, float) { return nullptr; }
int PLATFORM_STDCALL resetPhone(void*) { return 0; }
void PLATFORM_STDCALL closePhone(void*) {}
int PLATFORM_STDCALL appendF0(void*, float, float) { return 0; }

struct Entry {
  const char* name;
  void* address;
};
template <typename F>
void* address(F f) {
  return reinterpret_cast<void*>(f);
}
const Entry kEntries[] = {
    {"init_MBR", address(init)},          {"init_rename_MBR", address(initRename)},
    {"write_MBR", address(write)},        {"flush_MBR", address(flush)},
    {"read_MBR", address(read)},          {"readtype_MBR", address(readType)},
    {"close_MBR", address(close)},        {"reset_MBR", address(resetEngine)},
    {"lastError_MBR", address(lastError)}, {"lastErrorStr_MBR", address(lastErrorText)},
    {"setNoError_MBR", address(setNoError)}, {"getNoError_MBR", address(getNoError)},
    {"setFreq_MBR", address(setFreq)},    {"getFreq_MBR", address(getFreq)},
    {"setVolumeRatio_MBR", address(setVolume)}, {"getVolumeRatio_MBR", address(getVolume)},
    {"getVersion_MBR", address(version)}, {"getDatabaseInfo_MBR", address(info)},
    {"setParser_MBR", address(setParser)}, {"init_Phone", address(initPhone)},
    {"reset_Phone", address(resetPhone)}, {"close_Phone", address(closePhone)},
    {"appendf0_Phone", address(appendF0)},
};

}  // namespace

void FakeMbrola::install() {
  platform::host::installLibrary("mbrola.dll", [](const char* name) -> void* {
    if (missing.count(name)) return nullptr;
    for (const Entry& e : kEntries)
      if (std::strcmp(e.name, name) == 0) return e.address;
    return nullptr;
  });
}

void FakeMbrola::reset() {
  initPath.clear();
  written.clear();
  calls.clear();
  resets = flushes = closes = noError = 0;
  initResult = 0;
  reads.clear();
  failingWrites.clear();
  claimsMore = false;
  missing.clear();
  onRead = nullptr;
  g_error = 0;
  g_next = 1;
}

}  // namespace testing_support

// mbrola.dll as a Windows program reaches it: loaded by name, its 23
// functions found by their plain names, and the same samples as the native
// build for the same lines.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kExports[] = {
    "init_MBR",       "init_rename_MBR", "write_MBR",          "flush_MBR",          "read_MBR",       "readtype_MBR",
    "close_MBR",      "reset_MBR",       "lastError_MBR",      "lastErrorStr_MBR",   "setNoError_MBR", "getNoError_MBR",
    "setFreq_MBR",    "getFreq_MBR",     "setVolumeRatio_MBR", "getVolumeRatio_MBR", "getVersion_MBR", "getDatabaseInfo_MBR",
    "setParser_MBR",  "init_Phone",      "reset_Phone",        "close_Phone",        "appendf0_Phone"};

using InitFn = int(__stdcall*)(char*);
using WriteFn = int(__stdcall*)(char*);
using VoidFn = void(__stdcall*)();
using IntFn = int(__stdcall*)();
using ReadFn = int(__stdcall*)(short*, int);
using SetIntFn = void(__stdcall*)(int);

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

class DllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA("mbrola.dll");
    ASSERT_NE(library_, nullptr) << "LoadLibraryA(\"mbrola.dll\") failed: " << GetLastError();
  }
  void TearDown() override {
    if (library_ != nullptr) FreeLibrary(library_);
  }
  template <typename F>
  F get(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
  }
  HMODULE library_ = nullptr;
};

TEST_F(DllTest, AllTwentyThreeFunctionsAreFoundByTheirPlainNames) {
  for (const char* name : kExports) EXPECT_NE(GetProcAddress(library_, name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(library_, "init_MBR@4"), nullptr);
}

TEST_F(DllTest, TheSameLinesGiveTheSameSamplesAsTheNativeBuild) {
  auto init = get<InitFn>("init_MBR");
  auto write = get<WriteFn>("write_MBR");
  auto read = get<ReadFn>("read_MBR");
  auto flush = get<IntFn>("flush_MBR");
  auto lastError = get<IntFn>("lastError_MBR");
  auto reset = get<VoidFn>("reset_MBR");
  auto setNoError = get<SetIntFn>("setNoError_MBR");
  auto getFreq = get<IntFn>("getFreq_MBR");
  auto close = get<VoidFn>("close_MBR");

  std::string missing = env("PSOLA_DB") + ".none";
  EXPECT_LT(init(missing.data()), 0);
  EXPECT_NE(lastError(), 0);
  std::string db = env("PSOLA_DB");
  ASSERT_EQ(init(db.data()), 0) << db;
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(getFreq(), 16000);
  setNoError(1);

  // The lines as the voice driver sends them: one at a time with CR LF,
  // reading after each until nothing is ready, a flush after the last.
  std::ifstream lines(env("PSOLA_LINES"), std::ios::binary);
  ASSERT_TRUE(lines.good()) << env("PSOLA_LINES");
  std::vector<short> samples;
  short buffer[16000];
  std::string line;
  reset();
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line += "\r\n";
    write(line.data());
    EXPECT_EQ(lastError(), 0) << line;
    for (int n; (n = read(buffer, 16000)) > 0;) samples.insert(samples.end(), buffer, buffer + n);
  }
  flush();
  for (int n; (n = read(buffer, 16000)) > 0;) samples.insert(samples.end(), buffer, buffer + n);
  close();

  std::ifstream wav(env("PSOLA_REFERENCE"), std::ios::binary);
  std::vector<char> bytes{std::istreambuf_iterator<char>(wav), std::istreambuf_iterator<char>()};
  ASSERT_GT(bytes.size(), 44u);
  std::vector<short> reference((bytes.size() - 44) / 2);
  std::memcpy(reference.data(), bytes.data() + 44, reference.size() * 2);
  ASSERT_EQ(samples.size(), reference.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) differing += samples[i] != reference[i];
  EXPECT_EQ(differing, 0u) << "of " << samples.size() << " samples";
}

}  // namespace

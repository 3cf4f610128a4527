// The platform's library loader on Windows: a bare name is the file beside
// the program, never one the search path finds (the working folder, PATH),
// where anyone could have put a DLL of that name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/library.h"
#include "platform/win32/own_module.h"

namespace {

std::string folderOf(HMODULE module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  const std::string full = path;
  return full.substr(0, full.find_last_of('\\') + 1);
}

TEST(Library, ABareNameIsTheFileBesideTheProgramNeverOneOnTheSearchPath) {
  const std::string program = platform::win32::ownModuleFolder();
  // The engine's DLL of this build, a real one to plant.
  const std::string engine = program + "..\\..\\console\\mbrola.dll";
  char temp[MAX_PATH], here[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, here), 0u);
  const std::string elsewhere = std::string(temp) + "falamci-plantada\\";
  const std::string name = "falamci_plantada.dll";
  CreateDirectoryA(elsewhere.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(engine.c_str(), (elsewhere + name).c_str(), FALSE)) << engine;
  ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.c_str()));
  SetEnvironmentVariableA("PATH", (elsewhere + ";" + std::string(temp)).c_str());

  EXPECT_EQ(platform::loadLibrary(name), nullptr) << "found on the search path";
  ASSERT_TRUE(CopyFileA(engine.c_str(), (program + name).c_str(), FALSE));
  platform::LibraryHandle beside = platform::loadLibrary(name);
  ASSERT_NE(beside, nullptr);
  EXPECT_EQ(folderOf(reinterpret_cast<HMODULE>(beside)), program);
  EXPECT_NE(platform::findSymbol(beside, "init_MBR"), nullptr);
  platform::freeLibrary(beside);
  // A name with its folder is taken as it stands.
  platform::LibraryHandle named = platform::loadLibrary(elsewhere + name);
  EXPECT_NE(named, nullptr);
  platform::freeLibrary(named);

  SetCurrentDirectoryA(here);
  DeleteFileA((program + name).c_str());
  DeleteFileA((elsewhere + name).c_str());
  RemoveDirectoryA(elsewhere.c_str());
}

}  // namespace

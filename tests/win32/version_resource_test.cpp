// The version resource of each product, as Windows reads it: the product,
// the project's version (the same in every file) and a description, in
// Brazilian Portuguese.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/own_module.h"

namespace {

std::string value(const std::vector<char>& info, const char* name) {
  char* text = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\041604E4\\") + name;
  if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr) return "";
  return text;
}

TEST(VersionResource, EachProductNamesItselfAndTheRelease) {
  const std::string build = platform::win32::ownModuleFolder() + "..\\..\\";
  const struct {
    std::string file, description;
  } products[] = {{"console\\falamci.exe", "Console falante de comandos MCI"},
                  {"console\\mbrola.dll", "Motor de voz por difones"},
                  {"sapivoice\\vozsapi.dll", "Voz portuguesa do Brasil para SAPI 5"}};
  for (const auto& p : products) {
    const std::string path = build + p.file;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << path << " has no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data())) << path;
    EXPECT_EQ(value(info, "ProductName"), "falamci") << path;
    EXPECT_EQ(value(info, "ProductVersion"), FALAMCI_VERSION) << path;
    EXPECT_EQ(value(info, "FileVersion"), FALAMCI_VERSION) << path;
    EXPECT_EQ(value(info, "FileDescription"), p.description) << path;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) << path;
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, p.file.find(".exe") != std::string::npos ? static_cast<DWORD>(VFT_APP) : static_cast<DWORD>(VFT_DLL));
  }
}

}  // namespace

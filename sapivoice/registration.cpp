// DllRegisterServer's and DllUnregisterServer's work: the class key and the
// voice token, written in ANSI (code page 1252).
#include "registration.h"

#include <windows.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "platform/win32/own_module.h"
#include "tts_engine_interfaces.h"
#include "voice_engine.h"

namespace sapivoice {
namespace {

std::string classIdText() {
  const GUID& g = CLSID_PortugueseVoice;
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

std::string classKey() { return "CLSID\\" + classIdText(); }

bool setValue(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(opened);
  return result == ERROR_SUCCESS;
}

}  // namespace

bool registerVoice() {
  const std::string token = kTokenKey;
  const std::string attributes = token + "\\Attributes";
  const std::vector<std::pair<const char*, std::string>> tokenValues = {
      {nullptr, kVoiceName}, {"416", kVoiceName}, {"CLSID", classIdText()}, {"VoiceData", platform::win32::ownModuleFolder()}};
  const std::vector<std::pair<const char*, std::string>> attributeValues = {
      {"Name", kVoiceName}, {"Language", "416"}, {"Gender", "Male"}, {"Age", "Adult"}, {"Vendor", "falamci"}};
  bool ok = setValue(HKEY_CLASSES_ROOT, classKey(), nullptr, kVoiceName) &&
            setValue(HKEY_CLASSES_ROOT, classKey() + "\\InprocServer32", nullptr, platform::win32::ownModulePath()) &&
            setValue(HKEY_CLASSES_ROOT, classKey() + "\\InprocServer32", "ThreadingModel", "Both");
  for (const auto& [name, value] : tokenValues) ok = ok && setValue(HKEY_LOCAL_MACHINE, token, name, value);
  for (const auto& [name, value] : attributeValues) ok = ok && setValue(HKEY_LOCAL_MACHINE, attributes, name, value);
  if (!ok) unregisterVoice();
  return ok;
}

void unregisterVoice() {
  const std::string token = kTokenKey;
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, (token + "\\Attributes").c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, token.c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, (classKey() + "\\InprocServer32").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey().c_str());
}

}  // namespace sapivoice

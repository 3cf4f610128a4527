// vozsapi.dll under Wine, installed by regsvr32: its voice token among the
// SAPI 5 voices, and the engine called as SAPI calls it, through a site of
// the test's own that records what is written and can abort.
#include <gtest/gtest.h>
#include <windows.h>
#include <sapi.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sapi5.h"
#include "platform/win32/wave_file_stream.h"
#include "registration.h"
#include "tts_engine_interfaces.h"

namespace {

using namespace sapivoice;
using platform::win32::kWaveFormatExFormatId;

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::wstring wide(const std::string& text) {
  std::wstring out(text.size(), L'\0');
  const int n = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                    static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return out;
}

std::wstring lastPart(const std::wstring& key) {
  const std::size_t slash = key.find_last_of(L'\\');
  return slash == std::wstring::npos ? key : key.substr(slash + 1);
}

// Records every write; aborts once `abortAfterWrites` writes were taken.
class TestSite final : public ISpTTSEngineSite {
 public:
  std::vector<short> samples;
  int writes = 0;
  int writesAfterAbort = 0;
  int abortAfterWrites = -1;
  long rate = 0;
  USHORT volume = 100;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE AddEvents(const SPEVENT*, ULONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetEventInterest(ULONGLONG* interest) override {
    *interest = 0;
    return S_OK;
  }
  DWORD STDMETHODCALLTYPE GetActions() override { return aborting() ? SPVES_ABORT : SPVES_CONTINUE; }
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG bytes, ULONG* written) override {
    if (aborting()) ++writesAfterAbort;
    const auto* s = static_cast<const short*>(buffer);
    samples.insert(samples.end(), s, s + bytes / 2);
    ++writes;
    if (written != nullptr) *written = bytes;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRate(long* r) override {
    *r = rate;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVolume(USHORT* v) override {
    *v = volume;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSkipInfo(SPVSKIPTYPE* type, long* count) override {
    *type = SPVST_SENTENCE;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CompleteSkip(long) override { return S_OK; }

 private:
  bool aborting() const { return abortAfterWrites >= 0 && writes >= abortAfterWrites; }
};

class SapiVoice : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    ISpObjectTokenCategory* category = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                               reinterpret_cast<void**>(&category)),
              S_OK);
    ASSERT_EQ(category->SetId(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices", FALSE), S_OK);
    IEnumSpObjectTokens* tokens = nullptr;
    ASSERT_EQ(category->EnumTokens(nullptr, nullptr, &tokens), S_OK);
    category->Release();
    ULONG count = 0;
    tokens->GetCount(&count);
    voices_ = static_cast<int>(count);
    for (ULONG i = 0; i < count; ++i) {
      ISpObjectToken* token = nullptr;
      if (FAILED(tokens->Item(i, &token))) continue;
      wchar_t* id = nullptr;
      // Windows gives the token's whole key, Wine its last part.
      if (SUCCEEDED(token->GetId(&id)) && id != nullptr && lastPart(id) == L"FalamciPortugues") {
        ++ours_;
        token_ = token;
        token->AddRef();
      }
      CoTaskMemFree(id);
      token->Release();
    }
    tokens->Release();
  }
  void TearDown() override {
    if (token_ != nullptr) token_->Release();
  }

  ISpTTSEngine* engine() {
    ISpTTSEngine* e = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_PortugueseVoice, nullptr, CLSCTX_INPROC_SERVER, IID_ISpTTSEngine,
                               reinterpret_cast<void**>(&e)),
              S_OK);
    if (e == nullptr) return nullptr;
    ISpObjectWithToken* withToken = nullptr;
    EXPECT_EQ(e->QueryInterface(IID_ISpObjectWithToken, reinterpret_cast<void**>(&withToken)), S_OK);
    if (withToken != nullptr) {
      EXPECT_EQ(withToken->SetObjectToken(token_), S_OK);
      withToken->Release();
    }
    return e;
  }

  static HRESULT speak(ISpTTSEngine* e, const std::wstring& text, TestSite& site) {
    SPVTEXTFRAG fragment{};
    fragment.State.eAction = SPVA_Speak;
    fragment.State.Volume = 100;
    fragment.pTextStart = text.c_str();
    fragment.ulTextLen = static_cast<ULONG>(text.size());
    WAVEFORMATEX format{};
    return e->Speak(0, kWaveFormatExFormatId, &format, &fragment, &site);
  }

  int voices_ = 0;
  int ours_ = 0;
  ISpObjectToken* token_ = nullptr;
};

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The sentence the native tool spoke, in code page 1252.
std::wstring sentence() { return wide(fileText(env("SAPI_VOICE_TEXT"))); }

std::vector<short> referenceSamples() {
  std::ifstream in(env("SAPI_VOICE_REFERENCE"), std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<short> samples(bytes.size() > 44 ? (bytes.size() - 44) / 2 : 0);
  if (!samples.empty()) std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
  return samples;
}

TEST_F(SapiVoice, RegisteredItIsOneOfTheVoicesAndTheAdapterCountsIt) {
  EXPECT_EQ(ours_, 1);
  EXPECT_GE(voices_, 2);  // with Wine's own
  ASSERT_NE(token_, nullptr);
  ISpDataKey* attributes = nullptr;
  ASSERT_EQ(token_->OpenKey(L"Attributes", &attributes), S_OK);
  for (const auto& [name, value] : {std::pair<const wchar_t*, std::wstring>{L"Language", L"416"},
                                    {L"Name", wide(kVoiceName)}, {L"Vendor", L"falamci"}}) {
    wchar_t* got = nullptr;
    ASSERT_EQ(attributes->GetStringValue(name, &got), S_OK) << name;
    EXPECT_EQ(std::wstring(got), value);
    CoTaskMemFree(got);
  }
  attributes->Release();
  auto voice = platform::createSapi5Voice(platform::Sapi5Runtime::sapi5);
  ASSERT_NE(voice, nullptr);
  EXPECT_EQ(voice->voiceCount(), voices_);
}

TEST_F(SapiVoice, ItSaysWhatTheNativeToolSaysSampleForSample) {
  ASSERT_NE(token_, nullptr);
  ISpTTSEngine* e = engine();
  ASSERT_NE(e, nullptr);
  GUID format{};
  WAVEFORMATEX* wave = nullptr;
  ASSERT_EQ(e->GetOutputFormat(&kWaveFormatExFormatId, nullptr, &format, &wave), S_OK);
  EXPECT_TRUE(IsEqualGUID(format, kWaveFormatExFormatId));
  EXPECT_EQ(wave->nSamplesPerSec, 16000u);
  EXPECT_EQ(wave->wBitsPerSample, 16);
  EXPECT_EQ(wave->nChannels, 1);
  CoTaskMemFree(wave);

  TestSite site;
  ASSERT_EQ(speak(e, sentence(), site), S_OK);
  const std::vector<short> reference = referenceSamples();
  ASSERT_GT(reference.size(), 16000u);
  ASSERT_EQ(site.samples.size(), reference.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < reference.size(); ++i) differing += site.samples[i] != reference[i];
  EXPECT_EQ(differing, 0u);
  e->Release();
}

TEST_F(SapiVoice, AnAbortStopsTheWritingWithinOneBlockAndBadCallsAreRefused) {
  ASSERT_NE(token_, nullptr);
  ISpTTSEngine* e = engine();
  ASSERT_NE(e, nullptr);
  TestSite site;
  site.abortAfterWrites = 2;
  ASSERT_EQ(speak(e, sentence(), site), S_OK);
  EXPECT_EQ(site.writes, 2);
  EXPECT_EQ(site.writesAfterAbort, 0);

  // A site that aborts at once, given a million characters, returns at once.
  TestSite atOnce;
  atOnce.abortAfterWrites = 0;
  const DWORD start = GetTickCount();
  EXPECT_EQ(speak(e, std::wstring(1000000, L'a'), atOnce), S_OK);
  EXPECT_EQ(atOnce.writes, 0);
  EXPECT_LT(GetTickCount() - start, 2000u);

  TestSite controls;
  EXPECT_EQ(speak(e, L"\x01\x02\t\r\n\x1f", controls), S_OK);
  EXPECT_TRUE(controls.samples.empty());
  EXPECT_EQ(e->Speak(0, kWaveFormatExFormatId, nullptr, nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(e->GetOutputFormat(nullptr, nullptr, nullptr, nullptr), E_POINTER);
  e->Release();
}

// Counts the registered voices that are ours.
int ourVoices() {
  ISpObjectTokenCategory* category = nullptr;
  if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                              reinterpret_cast<void**>(&category))))
    return -1;
  IEnumSpObjectTokens* tokens = nullptr;
  category->SetId(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices", FALSE);
  category->EnumTokens(nullptr, nullptr, &tokens);
  category->Release();
  if (tokens == nullptr) return -1;
  ULONG count = 0;
  tokens->GetCount(&count);
  int ours = 0;
  for (ULONG i = 0; i < count; ++i) {
    ISpObjectToken* token = nullptr;
    if (FAILED(tokens->Item(i, &token))) continue;
    wchar_t* id = nullptr;
    if (SUCCEEDED(token->GetId(&id)) && id != nullptr && lastPart(id) == L"FalamciPortugues") ++ours;
    CoTaskMemFree(id);
    token->Release();
  }
  tokens->Release();
  return ours;
}

TEST_F(SapiVoice, UnregisteringRemovesTheVoiceAndRegisteringPutsItBack) {
  HMODULE dll = LoadLibraryA(env("SAPI_VOICE_DLL").c_str());
  ASSERT_NE(dll, nullptr);
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto unregister = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll, "DllUnregisterServer")));
  auto reregister = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
  auto canUnload = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
  ASSERT_TRUE(unregister && reregister && canUnload);
  EXPECT_EQ(canUnload(), S_OK);  // every engine of the other tests was released
  EXPECT_EQ(unregister(), S_OK);
  EXPECT_EQ(ourVoices(), 0);
  ISpTTSEngine* gone = nullptr;
  EXPECT_NE(CoCreateInstance(CLSID_PortugueseVoice, nullptr, CLSCTX_INPROC_SERVER, IID_ISpTTSEngine,
                             reinterpret_cast<void**>(&gone)),
            S_OK);
  EXPECT_EQ(reregister(), S_OK);
  EXPECT_EQ(ourVoices(), 1);
  FreeLibrary(dll);
}

}  // namespace

// vozsapi.dll under Wine, installed by regsvr32: its voice token among the
// SAPI 5 voices, and the engine called as SAPI calls it, through a site of
// the test's own that records what is written and can abort.
#include <gtest/gtest.h>
#include <windows.h>
#include <sapi.h>

#include <cstdio>
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

// An event as the site received it, its string copied as SAPI copies it.
struct SiteEvent {
  SPEVENTENUM id;
  ULONGLONG offset;
  WPARAM wParam;
  LPARAM lParam;  // for a bookmark, 0: its text is in `text`
  std::wstring text;
  bool operator==(const SiteEvent&) const = default;
};

// Records every write and event; aborts once `abortAfterWrites` writes were
// taken; fails every write with `writeFailure` when that is set.
class TestSite final : public ISpTTSEngineSite {
 public:
  std::vector<short> samples;
  int writes = 0;
  int writesAfterAbort = 0;
  int abortAfterWrites = -1;
  long rate = 0;
  USHORT volume = 100;
  ULONGLONG interest = 0;
  HRESULT writeFailure = S_OK;
  std::vector<SiteEvent> events;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE AddEvents(const SPEVENT* list, ULONG count) override {
    for (ULONG i = 0; i < count; ++i) {
      const SPEVENT& e = list[i];
      const bool text = e.elParamType == SPET_LPARAM_IS_STRING;
      events.push_back({static_cast<SPEVENTENUM>(e.eEventId), e.ullAudioStreamOffset, e.wParam, text ? 0 : e.lParam,
                        text ? std::wstring(reinterpret_cast<const wchar_t*>(e.lParam)) : std::wstring()});
      if (e.ullAudioStreamOffset < samples.size() * 2) ADD_FAILURE() << "an event after the sound it marks";
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEventInterest(ULONGLONG* wanted) override {
    *wanted = interest;
    return S_OK;
  }
  DWORD STDMETHODCALLTYPE GetActions() override { return aborting() ? SPVES_ABORT : SPVES_CONTINUE; }
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG bytes, ULONG* written) override {
    if (FAILED(writeFailure)) return writeFailure;
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

  // An abort during the first piece of a million characters.
  TestSite first;
  first.abortAfterWrites = 1;
  EXPECT_EQ(speak(e, std::wstring(1000000, L'a'), first), S_OK);
  EXPECT_EQ(first.writes, 1);

  TestSite controls;
  EXPECT_EQ(speak(e, L"\x01\x02\t\r\n\x1f", controls), S_OK);
  EXPECT_TRUE(controls.samples.empty());
  EXPECT_EQ(e->Speak(0, kWaveFormatExFormatId, nullptr, nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(e->GetOutputFormat(nullptr, nullptr, nullptr, nullptr), E_POINTER);
  e->Release();
}

SPVTEXTFRAG fragment(SPVACTIONS action, const wchar_t* text, ULONG offset) {
  SPVTEXTFRAG f{};
  f.State.eAction = action;
  f.State.Volume = 100;
  f.pTextStart = text;
  f.ulTextLen = text != nullptr ? static_cast<ULONG>(wcslen(text)) : 0;
  f.ulTextSrcOffset = offset;
  return f;
}

HRESULT speakList(ISpTTSEngine* e, std::vector<SPVTEXTFRAG>& list, TestSite& site) {
  for (std::size_t i = 0; i + 1 < list.size(); ++i) list[i].pNext = &list[i + 1];
  WAVEFORMATEX format{};
  return e->Speak(0, kWaveFormatExFormatId, &format, list.data(), &site);
}

constexpr ULONGLONG bit(SPEVENTENUM id) { return 1ull << id; }

// The events a screen reader follows, straight from the engine: each
// bookmark (its text and number) where the sound before it ends, each word
// where its sound begins, with its place and length in the client's text.
TEST_F(SapiVoice, BookmarksAndWordsReachTheSiteInOrder) {
  ASSERT_NE(token_, nullptr);
  ISpTTSEngine* e = engine();
  ASSERT_NE(e, nullptr);
  // "<bookmark mark='1'/>Bom dia<bookmark mark='dois'/> 1250 reais."
  std::vector<SPVTEXTFRAG> list = {fragment(SPVA_Bookmark, L"1", 0), fragment(SPVA_Speak, L"Bom dia", 20),
                                   fragment(SPVA_Bookmark, L"dois", 27), fragment(SPVA_Speak, L" 1250 reais.", 50)};
  TestSite site;
  site.interest = bit(SPEI_TTS_BOOKMARK) | bit(SPEI_WORD_BOUNDARY);
  ASSERT_EQ(speakList(e, list, site), S_OK);
  ASSERT_EQ(site.events.size(), 6u);
  std::vector<std::pair<SPEVENTENUM, LPARAM>> order;
  for (const SiteEvent& got : site.events) order.emplace_back(got.id, got.lParam);
  EXPECT_EQ(order, (std::vector<std::pair<SPEVENTENUM, LPARAM>>{{SPEI_TTS_BOOKMARK, 0}, {SPEI_WORD_BOUNDARY, 20},
                                                                 {SPEI_WORD_BOUNDARY, 24}, {SPEI_TTS_BOOKMARK, 0},
                                                                 {SPEI_WORD_BOUNDARY, 51}, {SPEI_WORD_BOUNDARY, 56}}));
  EXPECT_EQ(site.events[0], (SiteEvent{SPEI_TTS_BOOKMARK, 0, 1, 0, L"1"}));
  EXPECT_EQ(site.events[2].wParam, 3u);  // "dia"
  EXPECT_EQ(site.events[4].wParam, 4u);  // "1250", said as four words
  EXPECT_EQ(site.events[3].text, L"dois");
  EXPECT_EQ(site.events[3].wParam, 0u);  // no number in it
  EXPECT_GT(site.events[3].offset, site.events[2].offset);
  EXPECT_LE(site.events[3].offset, site.samples.size() * 2);

  // Nothing asked for, nothing sent; the same sound.
  TestSite quiet;
  ASSERT_EQ(speakList(e, list, quiet), S_OK);
  EXPECT_TRUE(quiet.events.empty());
  EXPECT_EQ(quiet.samples, site.samples);
  e->Release();
}

TEST_F(SapiVoice, OddFragmentsAndAFailingSiteEndTheCallCleanly) {
  ASSERT_NE(token_, nullptr);
  ISpTTSEngine* e = engine();
  ASSERT_NE(e, nullptr);
  std::vector<SPVTEXTFRAG> list = {fragment(SPVA_Speak, nullptr, 0), fragment(SPVA_Speak, L"", 0),
                                   fragment(SPVA_Speak, L"alto", 4000000000u), fragment(SPVA_SpellOut, L"abc", 9),
                                   fragment(SPVA_Bookmark, nullptr, 12), fragment(SPVA_Speak, L"fim", 13)};
  list[0].ulTextLen = 5;  // a length with no text
  list[2].State.PitchAdj.MiddleAdj = 99;
  list[2].State.RateAdj = -99;
  list[3].State.PitchAdj.MiddleAdj = -10;
  list[3].State.RateAdj = 10;
  TestSite site;
  site.interest = bit(SPEI_TTS_BOOKMARK) | bit(SPEI_WORD_BOUNDARY);
  EXPECT_EQ(speakList(e, list, site), S_OK);
  EXPECT_FALSE(site.samples.empty());
  ASSERT_FALSE(site.events.empty());
  EXPECT_EQ(static_cast<ULONG>(site.events[0].lParam), 4000000000u);  // where the client said, even past its text

  TestSite failing;
  failing.writeFailure = E_ACCESSDENIED;
  EXPECT_EQ(speak(e, L"Bom dia", failing), E_ACCESSDENIED);
  e->Release();
}

// Through SpVoice, as a screen reader speaks: XML with two bookmarks, the
// events read back with GetEvents. Where the Wine at hand cannot, the test
// says what it does instead.
TEST_F(SapiVoice, ThroughSpVoiceTheClientGetsTheEvents) {
  ASSERT_NE(token_, nullptr);
  ISpVoice* voice = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void**>(&voice)), S_OK);
  HRESULT hr = voice->SetVoice(token_);
  if (hr == E_NOTIMPL) {
    voice->Release();
    GTEST_SKIP() << "this Wine's SpVoice cannot select a voice (SetVoice answers E_NOTIMPL)";
  }
  ASSERT_EQ(hr, S_OK);
  const ULONGLONG wanted = bit(SPEI_TTS_BOOKMARK) | bit(SPEI_WORD_BOUNDARY) | (1ull << 30) | (1ull << 33);
  const HRESULT interest = voice->SetInterest(wanted, wanted);
  ASSERT_TRUE(interest == S_OK || interest == E_NOTIMPL) << std::hex << static_cast<unsigned long>(interest);
  hr = voice->Speak(L"<bookmark mark='1'/>Bom dia<bookmark mark='2'/> a todos.", SPF_IS_XML, nullptr);
  const bool xml = SUCCEEDED(hr);
  if (!xml) {
    std::printf("SpVoice::Speak with SPF_IS_XML answers 0x%08lx here; the text is spoken without XML\n",
                static_cast<unsigned long>(hr));
    ASSERT_EQ(voice->Speak(L"Bom dia a todos.", SPF_DEFAULT, nullptr), S_OK);
  }
  std::vector<std::pair<int, LPARAM>> got;
  SPEVENT event;
  ULONG fetched = 0;
  HRESULT events = S_OK;
  while ((events = voice->GetEvents(1, &event, &fetched)) == S_OK && fetched == 1) {
    got.emplace_back(static_cast<int>(event.eEventId), event.elParamType == SPET_LPARAM_IS_STRING ? 0 : event.lParam);
    if (event.elParamType == SPET_LPARAM_IS_STRING) CoTaskMemFree(reinterpret_cast<void*>(event.lParam));
  }
  voice->Release();
  std::vector<std::pair<int, LPARAM>> boundaries;
  for (const auto& g : got)
    if (g.first == SPEI_TTS_BOOKMARK || g.first == SPEI_WORD_BOUNDARY) boundaries.push_back(g);
  if (boundaries.empty())
    GTEST_SKIP() << "this Wine's SpVoice passes no engine event to the client: SetInterest answers 0x" << std::hex
                 << static_cast<unsigned long>(interest) << ", Speak with SPF_IS_XML 0x" << static_cast<unsigned long>(hr)
                 << ", GetEvents 0x" << static_cast<unsigned long>(events) << std::dec << " with " << got.size()
                 << " other events; the engine's events are shown through its own site above";
  if (xml) {
    EXPECT_EQ(boundaries, (std::vector<std::pair<int, LPARAM>>{{SPEI_TTS_BOOKMARK, 0}, {SPEI_WORD_BOUNDARY, 20},
                                                                {SPEI_WORD_BOUNDARY, 24}, {SPEI_TTS_BOOKMARK, 0},
                                                                {SPEI_WORD_BOUNDARY, 48}, {SPEI_WORD_BOUNDARY, 50}}));
  } else {
    EXPECT_EQ(boundaries.size(), 4u);
  }
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

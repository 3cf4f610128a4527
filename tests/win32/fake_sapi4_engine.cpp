// The tests' SAPI 4 engine: just enough of an enumerator, two destinations
// and an engine to play the adapter's part of the conversation.
#include "fake_sapi4_engine.h"

#include <cstdio>
#include <cstring>

#include "platform/win32/sapi4_interfaces.h"

namespace win32_test {
namespace {

using namespace platform::win32::sapi4;

FakeSapi4Log& theLog() {
  static FakeSapi4Log l;
  return l;
}

void note(const std::string& call) { theLog().calls.push_back(call); }

// One reference-counted object answering for the interfaces it lists.
class Object {
 public:
  Object() { ++theLog().liveObjects; }
  virtual ~Object() { --theLog().liveObjects; }
  ULONG addRef() { return ++references_; }
  ULONG release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG references_ = 1;
};

#define FAKE_IUNKNOWN                                                               \
  ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }                    \
  ULONG STDMETHODCALLTYPE Release() override { return release(); }

class Card final : public Object, public IAudioMultiMediaDevice {
 public:
  FAKE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IAudioMultiMediaDevice)) return E_NOINTERFACE;
    *out = static_cast<IAudioMultiMediaDevice*>(this);
    addRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CustomMessage(UINT, SDATA) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeviceNumGet(DWORD* d) override {
    *d = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DeviceNumSet(DWORD) override { return S_OK; }
};

class FileDestination final : public Object, public IAudioFile {
 public:
  FAKE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IAudioFile)) return E_NOINTERFACE;
    *out = static_cast<IAudioFile*>(this);
    addRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Register(IUnknown*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Set(LPCWSTR file, DWORD flags) override {
    theLog().fileName = file;
    note("set " + std::to_string(flags));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Add(LPCWSTR, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Flush() override {
    note("flush");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RealTimeSet(WORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RealTimeGet(WORD* r) override {
    *r = 100;
    return S_OK;
  }
};

class Central;
Central* speakingEngine = nullptr;  // the engine the timers speak for

class Central final : public Object, public ITTSCentralA, public ITTSAttributesA {
 public:
  explicit Central(IUnknown* audio) : audio_(audio) { audio_->AddRef(); }
  ~Central() override {
    if (speakingEngine == this) speakingEngine = nullptr;
    dropSinks();
    audio_->Release();
  }
  FAKE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown)) *out = static_cast<ITTSCentralA*>(this);
    else if (IsEqualIID(iid, IID_ITTSAttributesA)) *out = static_cast<ITTSAttributesA*>(this);
    else return E_NOINTERFACE;
    addRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Inject(LPCSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ModeGet(TTSMODEINFOA*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Phoneme(VOICECHARSET, DWORD, SDATA, SDATA*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PosnGet(QWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ToFileTime(QWORD*, FILETIME*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AudioPause() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AudioResume() override { return S_OK; }

  HRESULT STDMETHODCALLTYPE TextData(VOICECHARSET charset, DWORD flags, SDATA text, void* sink, IID iid) override {
    const char* chars = static_cast<const char*>(text.pData);
    if (charset != CHARSET_TEXT || flags != 0 || chars == nullptr || !IsEqualIID(iid, IID_ITTSBufNotifySinkA) ||
        std::strlen(chars) + 1 != text.dwSize)
      return E_INVALIDARG;
    theLog().texts.emplace_back(chars);
    dropBufferSink();
    bufferSink_ = static_cast<ITTSBufNotifySinkA*>(sink);
    bufferSink_->AddRef();
    bufferSink_->TextDataStarted(0);
    speakingEngine = this;
    SetTimer(nullptr, 0, 10, audioStarts);
    SetTimer(nullptr, 0, theLog().speakingMs, textEnds);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AudioReset() override {
    note("audio reset");
    if (notifySink_ != nullptr) notifySink_->AudioStop(0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Register(void* sink, IID iid, DWORD* key) override {
    if (!IsEqualIID(iid, IID_ITTSNotifySinkA) || sink == nullptr) return E_INVALIDARG;
    notifySink_ = static_cast<ITTSNotifySinkA*>(sink);
    notifySink_->AddRef();
    *key = 7;
    note("register");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UnRegister(DWORD key) override {
    note("unregister " + std::to_string(key));
    if (notifySink_ != nullptr) notifySink_->Release();
    notifySink_ = nullptr;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE PitchGet(WORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PitchSet(WORD pitch) override {
    note("pitch " + std::to_string(pitch));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RealTimeGet(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RealTimeSet(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SpeedGet(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SpeedSet(DWORD speed) override {
    note("speed " + std::to_string(speed));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE VolumeGet(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE VolumeSet(DWORD) override { return S_OK; }

 private:
  static void CALLBACK audioStarts(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (speakingEngine != nullptr && speakingEngine->notifySink_ != nullptr) speakingEngine->notifySink_->AudioStart(0);
  }
  static void CALLBACK textEnds(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (speakingEngine == nullptr) return;
    if (speakingEngine->bufferSink_ != nullptr) speakingEngine->bufferSink_->TextDataDone(0, 0);
    if (speakingEngine->notifySink_ != nullptr) speakingEngine->notifySink_->AudioStop(0);
  }
  void dropBufferSink() {
    if (bufferSink_ != nullptr) bufferSink_->Release();
    bufferSink_ = nullptr;
  }
  void dropSinks() {
    dropBufferSink();
    if (notifySink_ != nullptr) notifySink_->Release();
    notifySink_ = nullptr;
  }

  IUnknown* audio_;
  ITTSBufNotifySinkA* bufferSink_ = nullptr;
  ITTSNotifySinkA* notifySink_ = nullptr;
};

class Enumerator final : public Object, public ITTSEnumA {
 public:
  FAKE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_ITTSEnumA)) return E_NOINTERFACE;
    *out = static_cast<ITTSEnumA*>(this);
    addRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, TTSMODEINFOA* modes, ULONG* fetched) override {
    note("next");
    *fetched = 0;
    if (count != 1 || next_ >= theLog().modes) return S_FALSE;
    std::memset(modes, 0, sizeof *modes);
    modes->gModeID.Data1 = static_cast<unsigned long>(++next_);
    std::snprintf(modes->szModeName, sizeof modes->szModeName, "modo %d", next_);
    *fetched = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override {
    note("reset");
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(ITTSEnumA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Select(GUID mode, ITTSCentralA** engine, IUnknown* audio) override {
    note("select " + std::to_string(mode.Data1));
    if (audio == nullptr || mode.Data1 == 0) return E_INVALIDARG;
    if (theLog().changeDirectoryOnSelect) SetCurrentDirectoryA("C:\\windows");
    *engine = new Central(audio);
    return S_OK;
  }

 private:
  int next_ = 0;
};

template <typename T, typename Interface>
class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static: never freed
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* object = new T;
    const HRESULT hr = static_cast<Interface*>(object)->QueryInterface(iid, out);
    static_cast<Interface*>(object)->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory<Enumerator, ITTSEnumA> enumeratorFactory;
Factory<Card, IAudioMultiMediaDevice> cardFactory;
Factory<FileDestination, IAudioFile> fileFactory;

}  // namespace

FakeSapi4Engine::FakeSapi4Engine() {
  theLog() = FakeSapi4Log{};
  const std::pair<const GUID*, IClassFactory*> classes[] = {
      {&CLSID_TTSEnumerator, &enumeratorFactory}, {&CLSID_MMAudioDest, &cardFactory}, {&CLSID_AudioDestFile, &fileFactory}};
  for (const auto& [classId, factory] : classes) {
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(*classId, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie)))
      cookies_.push_back(cookie);
  }
}

FakeSapi4Engine::~FakeSapi4Engine() {
  for (const DWORD cookie : cookies_) CoRevokeClassObject(cookie);
}

FakeSapi4Log& FakeSapi4Engine::log() { return theLog(); }

}  // namespace win32_test

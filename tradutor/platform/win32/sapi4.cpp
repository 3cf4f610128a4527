// Windows platform: a SAPI 4 engine session over the ANSI interfaces, with
// the two sinks the engine calls back.
#include "platform/sapi4.h"

#include <string>

#include "platform/win32/sapi4_interfaces.h"

namespace platform {
namespace {

using namespace win32::sapi4;

template <typename T>
void release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

// Reference counting shared by the two sinks.
template <typename Interface>
class Sink : public Interface {
 public:
  Sink(Sapi4Events* events, const IID& iid) : events_(events), iid_(iid) {}
  virtual ~Sink() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, iid_)) {
      *object = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  Sapi4Events* events_;

 private:
  IID iid_;
  LONG references_ = 1;
};

class NotifySink final : public Sink<ITTSNotifySinkA> {
 public:
  explicit NotifySink(Sapi4Events* events) : Sink(events, IID_ITTSNotifySinkA) {}
  HRESULT STDMETHODCALLTYPE AttribChanged(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AudioStart(QWORD) override {
    events_->audioStart();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AudioStop(QWORD) override {
    events_->audioStop();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Visual(QWORD, CHAR, CHAR, DWORD, TTSMOUTH*) override { return S_OK; }
};

class BufferSink final : public Sink<ITTSBufNotifySinkA> {
 public:
  explicit BufferSink(Sapi4Events* events) : Sink(events, IID_ITTSBufNotifySinkA) {}
  HRESULT STDMETHODCALLTYPE TextDataDone(QWORD, DWORD) override {
    events_->textDataDone();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TextDataStarted(QWORD) override {
    events_->textDataStarted();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE BookMark(QWORD, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE WordPosition(QWORD, DWORD) override { return S_OK; }
};

template <typename T>
bool create(const GUID& classId, const IID& iid, T*& object) {
  object = nullptr;
  return SUCCEEDED(CoCreateInstance(classId, nullptr, CLSCTX_ALL, iid, reinterpret_cast<void**>(&object))) &&
         object != nullptr;
}

class Win32Sapi4Session final : public Sapi4Session {
 public:
  ~Win32Sapi4Session() override {
    if (file_ != nullptr) file_->Flush();
    release(file_);
    release(card_);
    release(enumerator_);
    release(bufferSink_);
    if (registered_) engine_->UnRegister(key_);
    release(notifySink_);
    release(engine_);
  }

  bool useFileDestination(const std::string& path) override {
    if (!create(CLSID_AudioDestFile, IID_IAudioFile, file_)) return false;
    std::wstring wide(path.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return file_->Set(wide.c_str(), 1) == 0;
  }

  bool useSoundCard() override { return create(CLSID_MMAudioDest, IID_IAudioMultiMediaDevice, card_); }

  bool openEnumerator() override {
    return create(CLSID_TTSEnumerator, IID_ITTSEnumA, enumerator_) && SUCCEEDED(enumerator_->Reset());
  }

  bool nextMode() override {
    ULONG fetched = 0;
    return enumerator_ != nullptr && enumerator_->Next(1, &mode_, &fetched) == S_OK && fetched == 1;
  }

  bool selectMode() override {
    IUnknown* destination = file_ != nullptr ? static_cast<IUnknown*>(file_) : static_cast<IUnknown*>(card_);
    return enumerator_ != nullptr && SUCCEEDED(enumerator_->Select(mode_.gModeID, &engine_, destination)) &&
           engine_ != nullptr;
  }

  bool registerSinks(Sapi4Events* events) override {
    if (engine_ == nullptr) return false;
    bufferSink_ = new BufferSink(events);
    notifySink_ = new NotifySink(events);
    registered_ = SUCCEEDED(engine_->Register(static_cast<ITTSNotifySinkA*>(notifySink_), IID_ITTSNotifySinkA, &key_));
    return registered_;
  }

  void setSpeedAndPitch(int speed, int pitch) override {
    ITTSAttributesA* attributes = nullptr;
    if (engine_ == nullptr ||
        FAILED(engine_->QueryInterface(IID_ITTSAttributesA, reinterpret_cast<void**>(&attributes))) ||
        attributes == nullptr)
      return;
    if (speed != 0) attributes->SpeedSet(static_cast<DWORD>(speed));
    if (pitch != 0) attributes->PitchSet(static_cast<WORD>(pitch));
    attributes->Release();
  }

  bool textData(const char* text, unsigned size) override {
    if (engine_ == nullptr) return false;
    SDATA data{const_cast<char*>(text), size};
    return SUCCEEDED(engine_->TextData(CHARSET_TEXT, 0, data, static_cast<ITTSBufNotifySinkA*>(bufferSink_),
                                       IID_ITTSBufNotifySinkA));
  }

  bool audioReset() override { return engine_ != nullptr && SUCCEEDED(engine_->AudioReset()); }

 private:
  IAudioFile* file_ = nullptr;
  IAudioMultiMediaDevice* card_ = nullptr;
  ITTSEnumA* enumerator_ = nullptr;
  TTSMODEINFOA mode_ = {};
  ITTSCentralA* engine_ = nullptr;
  BufferSink* bufferSink_ = nullptr;
  NotifySink* notifySink_ = nullptr;
  DWORD key_ = 0;
  bool registered_ = false;
};

}  // namespace

std::unique_ptr<Sapi4Session> createSapi4Session() { return std::make_unique<Win32Sapi4Session>(); }

}  // namespace platform

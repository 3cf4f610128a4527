// Windows platform: SAPI 5 voices through ISpVoice and the voice tokens.
#include "platform/sapi5.h"

#include <windows.h>
#include <sapi.h>

#include <string>

#include "platform/win32/wave_file_stream.h"

namespace platform {
namespace {

// SetInterest checks that these two reserved bits are set (SPFEI_FLAGCHECK).
constexpr ULONGLONG kInterestCheckBits = (1ull << 30) | (1ull << 33);
constexpr const wchar_t* kVoicesCategory = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";

std::wstring wideFromAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

template <typename T>
void release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

class Win32Sapi5Voice final : public Sapi5Voice {
 public:
  explicit Win32Sapi5Voice(ISpVoice* voice) : voice_(voice) {}
  ~Win32Sapi5Voice() override {
    if (stream_ != nullptr) stream_->close();
    release(stream_);
    release(tokens_);
    release(voice_);
  }

  bool setEventInterests(unsigned long long interests) override {
    // Signalled through the notification, never queued: nothing here calls
    // GetEvents, and a queue nobody empties grows for the whole session.
    const ULONGLONG bits = interests | kInterestCheckBits;
    return SUCCEEDED(voice_->SetInterest(bits, kInterestCheckBits));
  }

  int voiceCount() override {
    release(tokens_);
    ISpObjectTokenCategory* category = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                reinterpret_cast<void**>(&category))))
      return -1;
    HRESULT hr = category->SetId(kVoicesCategory, FALSE);
    if (SUCCEEDED(hr)) hr = category->EnumTokens(nullptr, nullptr, &tokens_);
    release(category);
    ULONG count = 0;
    if (FAILED(hr) || tokens_ == nullptr || FAILED(tokens_->GetCount(&count))) return -1;
    return static_cast<int>(count);
  }

  bool selectVoice(int index) override {
    if (tokens_ == nullptr || index < 0) return false;
    ISpObjectToken* token = nullptr;
    if (FAILED(tokens_->Item(static_cast<ULONG>(index), &token)) || token == nullptr) return false;
    const HRESULT hr = voice_->SetVoice(token);
    token->Release();
    return SUCCEEDED(hr);
  }

  bool setRate(int rate) override { return SUCCEEDED(voice_->SetRate(rate)); }

  void keepCompletionEvent() override { completion_ = voice_->SpeakCompleteEvent(); }

  bool openOutputFile(const std::string& path) override {
    release(stream_);
    stream_ = win32::WaveFileStream::create(path);
    if (stream_ == nullptr) return false;
    // The voice converts its engine's samples to the stream's format.
    return SUCCEEDED(voice_->SetOutput(stream_, FALSE));
  }

  bool speak(std::string_view text, unsigned flags) override {
    const std::wstring wide = wideFromAnsi(text);
    return SUCCEEDED(voice_->Speak(wide.c_str(), flags, nullptr));
  }

  bool waitUntilDone(unsigned milliseconds) override {
    // Any answer but "still waiting" counts as done: a voice that cannot say
    // must not keep the program waiting for ever.
    if (completion_ != nullptr) return WaitForSingleObject(completion_, milliseconds) != WAIT_TIMEOUT;
    return voice_->WaitUntilDone(milliseconds) != S_FALSE;
  }

 private:
  ISpVoice* voice_;
  IEnumSpObjectTokens* tokens_ = nullptr;
  win32::WaveFileStream* stream_ = nullptr;
  HANDLE completion_ = nullptr;  // owned by the voice
};

}  // namespace

// Both runtimes register the same SpVoice class; each adapter has its own object.
std::unique_ptr<Sapi5Voice> createSapi5Voice(Sapi5Runtime /*runtime*/) {
  ISpVoice* voice = nullptr;
  if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void**>(&voice))) ||
      voice == nullptr)
    return nullptr;
  return std::make_unique<Win32Sapi5Voice>(voice);
}

}  // namespace platform

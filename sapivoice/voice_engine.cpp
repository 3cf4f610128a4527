// The Portuguese voice's ISpTTSEngine: SAPI's text fragments in, samples out
// through the engine site.
#include "voice_engine.h"

#include <vector>

#include "platform/win32/wave_file_stream.h"
#include "portuguese_voice.h"

namespace sapivoice {

LONG liveObjects = 0;

namespace {

std::string ansiFromWide(const wchar_t* text, ULONG length) {
  if (text == nullptr || length == 0) return {};
  const int wide = static_cast<int>(length);
  const int size = WideCharToMultiByte(1252, 0, text, wide, nullptr, 0, " ", nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), ' ');
  if (size > 0) WideCharToMultiByte(1252, 0, text, wide, out.data(), size, " ", nullptr);
  return out;
}

std::vector<VoiceFragment> fragmentsOf(const SPVTEXTFRAG* fragment) {
  std::vector<VoiceFragment> out;
  for (; fragment != nullptr; fragment = fragment->pNext) {
    VoiceFragment f;
    switch (fragment->State.eAction) {
      case SPVA_Speak:
      case SPVA_Pronounce:
      case SPVA_SpellOut:
        f.kind = VoiceFragment::Kind::speak;
        f.text = ansiFromWide(fragment->pTextStart, fragment->ulTextLen);
        break;
      case SPVA_Silence:
        f.kind = VoiceFragment::Kind::silence;
        f.silenceMs = fragment->State.SilenceMSecs;
        break;
      default:
        f.kind = VoiceFragment::Kind::other;
        break;
    }
    f.rateAdjust = fragment->State.RateAdj;
    f.volume = fragment->State.Volume;
    out.push_back(std::move(f));
  }
  return out;
}

class SiteOutput final : public VoiceOutput {
 public:
  explicit SiteOutput(ISpTTSEngineSite* site) : site_(site) {}
  unsigned actions() override { return site_->GetActions(); }
  bool write(const short* samples, std::size_t count) override {
    const auto* bytes = reinterpret_cast<const BYTE*>(samples);
    ULONG left = static_cast<ULONG>(count * sizeof(short));
    while (left > 0) {
      ULONG written = 0;
      if (FAILED(site_->Write(bytes, left, &written)) || written == 0 || written > left) return false;
      bytes += written;
      left -= written;
    }
    return true;
  }
  long rate() override {
    long r = 0;
    return SUCCEEDED(site_->GetRate(&r)) ? r : 0;
  }
  unsigned volume() override {
    USHORT v = 100;
    return SUCCEEDED(site_->GetVolume(&v)) ? v : 100;
  }
  long sentencesToSkip() override {
    SPVSKIPTYPE type = SPVST_SENTENCE;
    long count = 0;
    if (FAILED(site_->GetSkipInfo(&type, &count)) || type != SPVST_SENTENCE) return 0;
    return count;
  }
  void completeSkip(long skipped) override { site_->CompleteSkip(skipped); }

 private:
  ISpTTSEngineSite* site_;
};

// The engine's DLL beside the data: loaded once by its full path, so that the
// driver's LoadLibrary("mbrola.dll") finds it among the modules loaded.
void loadEngineBeside(const std::string& folder) {
  static bool loaded = false;
  if (!loaded) loaded = LoadLibraryA((folder + "mbrola.dll").c_str()) != nullptr;
}

}  // namespace

std::string modulePath() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&modulePath), &self);
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

std::string moduleFolder() {
  const std::string folder = modulePath();
  const std::size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

VoiceEngine::VoiceEngine() : dataFolder_(moduleFolder()) { InterlockedIncrement(&liveObjects); }

VoiceEngine::~VoiceEngine() {
  if (token_ != nullptr) token_->Release();
  InterlockedDecrement(&liveObjects);
}

HRESULT VoiceEngine::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISpTTSEngine)) {
    *object = static_cast<ISpTTSEngine*>(this);
  } else if (IsEqualIID(iid, IID_ISpObjectWithToken)) {
    *object = static_cast<ISpObjectWithToken*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG VoiceEngine::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG VoiceEngine::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT VoiceEngine::Speak(DWORD, REFGUID, const WAVEFORMATEX*, const SPVTEXTFRAG* fragments, ISpTTSEngineSite* site) {
  if (site == nullptr) return E_INVALIDARG;
  try {
    loadEngineBeside(moduleFolder());
    if (!startPortugueseVoice(dataFolder_)) return E_FAIL;
    SiteOutput output(site);
    speakFragments(fragmentsOf(fragments), output, synthesizePortuguese);
    return S_OK;  // an abort or a full output is not the voice's failure
  } catch (...) {
    return E_OUTOFMEMORY;  // nothing may unwind into SAPI
  }
}

HRESULT VoiceEngine::GetOutputFormat(const GUID*, const WAVEFORMATEX*, GUID* outputFormatId, WAVEFORMATEX** outputFormat) {
  if (outputFormatId == nullptr || outputFormat == nullptr) return E_POINTER;
  *outputFormat = platform::win32::newStreamWaveFormat();
  if (*outputFormat == nullptr) return E_OUTOFMEMORY;
  *outputFormatId = platform::win32::kWaveFormatExFormatId;
  return S_OK;
}

HRESULT VoiceEngine::SetObjectToken(ISpObjectToken* token) {
  if (token == nullptr) return E_INVALIDARG;
  token->AddRef();
  if (token_ != nullptr) token_->Release();
  token_ = token;
  wchar_t* folder = nullptr;
  if (SUCCEEDED(token->GetStringValue(L"VoiceData", &folder)) && folder != nullptr) {
    std::string ansi = ansiFromWide(folder, static_cast<ULONG>(wcslen(folder)));
    CoTaskMemFree(folder);
    if (!ansi.empty()) {
      if (ansi.back() != '\\') ansi += '\\';
      dataFolder_ = ansi;
    }
  }
  return S_OK;
}

HRESULT VoiceEngine::GetObjectToken(ISpObjectToken** token) {
  if (token == nullptr) return E_POINTER;
  *token = token_;
  if (token_ == nullptr) return S_FALSE;
  token_->AddRef();
  return S_OK;
}

}  // namespace sapivoice

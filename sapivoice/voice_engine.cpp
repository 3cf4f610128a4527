// The Portuguese voice's ISpTTSEngine: SAPI's text fragments in, samples out
// through the engine site.
#include "voice_engine.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <vector>

#include "platform/win32/own_module.h"
#include "platform/win32/wave_file_stream.h"
#include "portuguese_voice.h"

namespace sapivoice {

LONG liveObjects = 0;

namespace {

// One byte for each UTF-16 unit, so that a place in the text is the same
// number in both; a unit code page 1252 cannot hold becomes a space.
std::string ansiFromWide(const wchar_t* text, ULONG length) {
  if (text == nullptr || length == 0) return {};
  const int wide = static_cast<int>(std::min<ULONG>(length, INT_MAX / 2));
  const int size = WideCharToMultiByte(1252, 0, text, wide, nullptr, 0, " ", nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), ' ');
  if (size > 0) WideCharToMultiByte(1252, 0, text, wide, out.data(), size, " ", nullptr);
  if (size == wide) return out;
  out.assign(static_cast<std::size_t>(wide), ' ');
  for (int i = 0; i < wide; ++i) WideCharToMultiByte(1252, 0, text + i, 1, &out[static_cast<std::size_t>(i)], 1, " ", nullptr);
  return out;
}

struct Fragments {
  std::vector<VoiceFragment> voice;
  std::vector<std::wstring> bookmarks;  // the text of each bookmark fragment, by fragment
};

Fragments fragmentsOf(const SPVTEXTFRAG* fragment) {
  Fragments out;
  for (; fragment != nullptr; fragment = fragment->pNext) {
    VoiceFragment f;
    std::wstring bookmark;
    switch (fragment->State.eAction) {
      case SPVA_Speak:
      case SPVA_Pronounce:  // no phoneme input here: its text, when it has one, is spoken
        f.kind = VoiceFragment::Kind::speak;
        f.text = ansiFromWide(fragment->pTextStart, fragment->ulTextLen);
        break;
      case SPVA_SpellOut:
        f.kind = VoiceFragment::Kind::spell;
        f.text = ansiFromWide(fragment->pTextStart, fragment->ulTextLen);
        break;
      case SPVA_Silence:
        f.kind = VoiceFragment::Kind::silence;
        f.silenceMs = fragment->State.SilenceMSecs;
        break;
      case SPVA_Bookmark:
        f.kind = VoiceFragment::Kind::bookmark;
        if (fragment->pTextStart != nullptr) bookmark.assign(fragment->pTextStart, fragment->ulTextLen);
        break;
      default:
        f.kind = VoiceFragment::Kind::other;
        break;
    }
    f.textOffset = fragment->ulTextSrcOffset;
    f.rateAdjust = fragment->State.RateAdj;
    f.volume = fragment->State.Volume;
    f.pitchAdjust = fragment->State.PitchAdj.MiddleAdj;
    out.voice.push_back(std::move(f));
    out.bookmarks.push_back(std::move(bookmark));
  }
  return out;
}

constexpr ULONGLONG eventBit(SPEVENTENUM id) { return 1ull << id; }

class SiteOutput final : public VoiceOutput {
 public:
  SiteOutput(ISpTTSEngineSite* site, const std::vector<std::wstring>& bookmarks) : site_(site), bookmarks_(bookmarks) {}
  unsigned actions() override { return site_->GetActions(); }
  bool write(const short* samples, std::size_t count) override {
    const auto* bytes = reinterpret_cast<const BYTE*>(samples);
    ULONG left = static_cast<ULONG>(count * sizeof(short));
    while (left > 0) {
      ULONG written = 0;
      const HRESULT hr = site_->Write(bytes, left, &written);
      if (FAILED(hr) || written == 0 || written > left) {
        failure_ = FAILED(hr) ? hr : E_FAIL;
        return false;
      }
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
  unsigned eventsWanted() override {
    ULONGLONG interest = 0;
    if (FAILED(site_->GetEventInterest(&interest))) return 0;
    return ((interest & eventBit(SPEI_TTS_BOOKMARK)) ? kEventBookmark : 0) |
           ((interest & eventBit(SPEI_WORD_BOUNDARY)) ? kEventWord : 0) |
           ((interest & eventBit(SPEI_SENTENCE_BOUNDARY)) ? kEventSentence : 0);
  }
  // Events carry the place in the output in bytes; a bookmark its text
  // (which SAPI copies) and its value as a number, as _wtol reads it.
  void event(const VoiceEvent& e) override {
    SPEVENT out{};
    out.ullAudioStreamOffset = e.sample * sizeof(short);
    if (e.kind == VoiceEvent::Kind::bookmark) {
      const std::wstring& mark = e.fragment < bookmarks_.size() ? bookmarks_[e.fragment] : kNoText;
      out.eEventId = SPEI_TTS_BOOKMARK;
      out.elParamType = SPET_LPARAM_IS_STRING;
      out.wParam = static_cast<WPARAM>(_wtol(mark.c_str()));
      out.lParam = reinterpret_cast<LPARAM>(mark.c_str());
    } else {
      out.eEventId = e.kind == VoiceEvent::Kind::word ? SPEI_WORD_BOUNDARY : SPEI_SENTENCE_BOUNDARY;
      out.elParamType = SPET_LPARAM_IS_UNDEFINED;
      out.wParam = e.length;
      out.lParam = static_cast<LPARAM>(e.textOffset);
    }
    site_->AddEvents(&out, 1);
  }
  HRESULT failure() const { return failure_; }

 private:
  static inline const std::wstring kNoText;
  ISpTTSEngineSite* site_;
  const std::vector<std::wstring>& bookmarks_;
  HRESULT failure_ = S_OK;
};

}  // namespace

VoiceEngine::VoiceEngine() : dataFolder_(platform::win32::ownModuleFolder()) { InterlockedIncrement(&liveObjects); }

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
    // Started here, so that a voice that cannot start fails the call; each
    // piece of text then runs on this voice's data, whatever other voices
    // do on other threads.
    if (!startPortugueseVoice(dataFolder_)) return E_FAIL;
    const Fragments parts = fragmentsOf(fragments);
    SiteOutput output(site, parts.bookmarks);
    speakFragments(parts.voice, output, portugueseSynthesizer(dataFolder_));
    return output.failure();  // an abort is not the voice's failure; an output that failed is
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

#pragma once
// The SAPI 5 engine interfaces a text-to-speech voice implements and the
// site SAPI gives it, declared here since MinGW ships sapi.h without them.
#include <windows.h>
#include <sapi.h>

// COM objects are destroyed through Release, never through a base pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace sapivoice {

struct SPVPITCH {
  long MiddleAdj;
  long RangeAdj;
};

struct SPVCONTEXT {
  LPCWSTR pCategory;
  LPCWSTR pBefore;
  LPCWSTR pAfter;
};

struct SPVSTATE {
  SPVACTIONS eAction;
  LANGID LangID;
  WORD wReserved;
  long EmphAdj;
  long RateAdj;
  ULONG Volume;
  SPVPITCH PitchAdj;
  ULONG SilenceMSecs;
  SPPHONEID* pPhoneIds;
  SPPARTOFSPEECH ePartOfSpeech;
  SPVCONTEXT Context;
};

struct SPVTEXTFRAG {
  SPVTEXTFRAG* pNext;
  SPVSTATE State;
  LPCWSTR pTextStart;
  ULONG ulTextLen;
  ULONG ulTextSrcOffset;
};

enum SPVESACTIONS { SPVES_CONTINUE = 0, SPVES_ABORT = 1, SPVES_SKIP = 2, SPVES_RATE = 4, SPVES_VOLUME = 8 };
enum SPVSKIPTYPE { SPVST_SENTENCE = 1 };

// {9880499B-CCE9-11D2-B503-00C04F797396}
constexpr GUID IID_ISpTTSEngineSite = {0x9880499B, 0xCCE9, 0x11D2, {0xB5, 0x03, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
// {A74D7C8E-4CC5-4F2F-A6EB-804DEE18500E}
constexpr GUID IID_ISpTTSEngine = {0xA74D7C8E, 0x4CC5, 0x4F2F, {0xA6, 0xEB, 0x80, 0x4D, 0xEE, 0x18, 0x50, 0x0E}};

struct ISpTTSEngineSite : ISpEventSink {
  virtual DWORD STDMETHODCALLTYPE GetActions() = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG bytes, ULONG* written) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRate(long* rate) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolume(USHORT* volume) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSkipInfo(SPVSKIPTYPE* type, long* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompleteSkip(long skipped) = 0;
};

struct ISpTTSEngine : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Speak(DWORD speakFlags, REFGUID formatId, const WAVEFORMATEX* waveFormat,
                                          const SPVTEXTFRAG* fragments, ISpTTSEngineSite* site) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputFormat(const GUID* targetFormatId, const WAVEFORMATEX* targetFormat,
                                                    GUID* outputFormatId, WAVEFORMATEX** outputFormat) = 0;
};

// The voice's class.
// {6B3C1A52-8E0F-4C9D-9A47-2F51D7C0E8A4}
constexpr GUID CLSID_PortugueseVoice = {0x6B3C1A52, 0x8E0F, 0x4C9D, {0x9A, 0x47, 0x2F, 0x51, 0xD7, 0xC0, 0xE8, 0xA4}};

}  // namespace sapivoice

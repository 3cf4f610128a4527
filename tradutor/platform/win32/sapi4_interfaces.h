#pragma once
// Windows platform: the SAPI 4 interfaces the adapter uses, in their ANSI
// variants, declared here since no SAPI 4 header ships with MinGW.
#include <windows.h>

#include <cstddef>

// COM objects are destroyed through Release, never through a base pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace platform::win32::sapi4 {

using QWORD = unsigned __int64;

struct SDATA {
  void* pData;
  DWORD dwSize;
};

enum VOICECHARSET { CHARSET_TEXT = 0, CHARSET_IPAPHONETIC = 1, CHARSET_ENGINEPHONETIC = 2 };

constexpr std::size_t kNameLength = 262;
constexpr std::size_t kDialectLength = 64;

struct LANGUAGEA {
  WORD LanguageID;
  CHAR szDialect[kDialectLength];
};

struct TTSMODEINFOA {
  GUID gEngineID;
  CHAR szMfgName[kNameLength];
  CHAR szProductName[kNameLength];
  GUID gModeID;
  CHAR szModeName[kNameLength];
  LANGUAGEA language;
  CHAR szSpeaker[kNameLength];
  CHAR szStyle[kNameLength];
  WORD wGender;
  WORD wAge;
  DWORD dwFeatures;
  DWORD dwInterfaces;
  DWORD dwEngineFeatures;
};
static_assert(sizeof(TTSMODEINFOA) == 1424, "the mode record is 1424 bytes");
static_assert(offsetof(TTSMODEINFOA, gModeID) == 540, "the mode identifier lies at byte 540");

struct TTSMOUTH;

// {D67C0280-C743-11CD-80E5-00AA003E4B50}
constexpr GUID CLSID_TTSEnumerator = {0xD67C0280, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
// {05EB6C6D-DBAB-11CD-B3CA-00AA0047BA4F}
constexpr GUID IID_ITTSEnumA = {0x05EB6C6D, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
// {CB96B400-C743-11CD-80E5-00AA003E4B50}
constexpr GUID CLSID_MMAudioDest = {0xCB96B400, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
// {B68AD320-C743-11CD-80E5-00AA003E4B50}
constexpr GUID IID_IAudioMultiMediaDevice = {0xB68AD320, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
// {D4623720-E4B9-11CF-8D56-00A0C9034A7E}
constexpr GUID CLSID_AudioDestFile = {0xD4623720, 0xE4B9, 0x11CF, {0x8D, 0x56, 0x00, 0xA0, 0xC9, 0x03, 0x4A, 0x7E}};
// {FD7C2320-3D6D-11B9-C000-FED6CBA3B1A9}
constexpr GUID IID_IAudioFile = {0xFD7C2320, 0x3D6D, 0x11B9, {0xC0, 0x00, 0xFE, 0xD6, 0xCB, 0xA3, 0xB1, 0xA9}};
// {05EB6C6F-DBAB-11CD-B3CA-00AA0047BA4F}
constexpr GUID IID_ITTSNotifySinkA = {0x05EB6C6F, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
// {E4963D40-C743-11CD-80E5-00AA003E4B50}
constexpr GUID IID_ITTSBufNotifySinkA = {0xE4963D40, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
// {0FD6E2A1-E77D-11CD-B3CA-00AA0047BA4F}
constexpr GUID IID_ITTSAttributesA = {0x0FD6E2A1, 0xE77D, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};

struct ITTSCentralA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Inject(LPCSTR text) = 0;
  virtual HRESULT STDMETHODCALLTYPE ModeGet(TTSMODEINFOA* mode) = 0;
  virtual HRESULT STDMETHODCALLTYPE Phoneme(VOICECHARSET charset, DWORD flags, SDATA text, SDATA* phonemes) = 0;
  virtual HRESULT STDMETHODCALLTYPE PosnGet(QWORD* position) = 0;
  virtual HRESULT STDMETHODCALLTYPE TextData(VOICECHARSET charset, DWORD flags, SDATA text, void* notifySink,
                                             IID notifyInterface) = 0;
  virtual HRESULT STDMETHODCALLTYPE ToFileTime(QWORD* position, FILETIME* time) = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioPause() = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioResume() = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioReset() = 0;
  virtual HRESULT STDMETHODCALLTYPE Register(void* notifySink, IID notifyInterface, DWORD* key) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnRegister(DWORD key) = 0;
};

struct ITTSEnumA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, TTSMODEINFOA* modes, ULONG* fetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(ITTSEnumA** copy) = 0;
  virtual HRESULT STDMETHODCALLTYPE Select(GUID modeId, ITTSCentralA** engine, IUnknown* audio) = 0;
};

struct ITTSAttributesA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE PitchGet(WORD* pitch) = 0;
  virtual HRESULT STDMETHODCALLTYPE PitchSet(WORD pitch) = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeGet(DWORD* realTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeSet(DWORD realTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE SpeedGet(DWORD* speed) = 0;
  virtual HRESULT STDMETHODCALLTYPE SpeedSet(DWORD speed) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeGet(DWORD* volume) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeSet(DWORD volume) = 0;
};

struct ITTSNotifySinkA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AttribChanged(DWORD attribute) = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioStart(QWORD time) = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioStop(QWORD time) = 0;
  virtual HRESULT STDMETHODCALLTYPE Visual(QWORD time, CHAR ipaPhoneme, CHAR enginePhoneme, DWORD hints,
                                           TTSMOUTH* mouth) = 0;
};

struct ITTSBufNotifySinkA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE TextDataDone(QWORD time, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE TextDataStarted(QWORD time) = 0;
  virtual HRESULT STDMETHODCALLTYPE BookMark(QWORD time, DWORD mark) = 0;
  virtual HRESULT STDMETHODCALLTYPE WordPosition(QWORD time, DWORD position) = 0;
};

struct IAudioFile : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Register(IUnknown* notifySink) = 0;
  virtual HRESULT STDMETHODCALLTYPE Set(LPCWSTR file, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Add(LPCWSTR file, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeSet(WORD realTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeGet(WORD* realTime) = 0;
};

struct IAudioMultiMediaDevice : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CustomMessage(UINT message, SDATA data) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeviceNumGet(DWORD* device) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeviceNumSet(DWORD device) = 0;
};

}  // namespace platform::win32::sapi4

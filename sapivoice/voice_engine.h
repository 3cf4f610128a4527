#pragma once
// The Portuguese voice's COM object: ISpTTSEngine over the fragment speaker
// and the voice driver, ISpObjectWithToken to learn where its data lie.
#include <string>

#include "tts_engine_interfaces.h"

namespace sapivoice {

class VoiceEngine final : public ISpTTSEngine, public ISpObjectWithToken {
 public:
  VoiceEngine();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Speak(DWORD speakFlags, REFGUID formatId, const WAVEFORMATEX* waveFormat,
                                  const SPVTEXTFRAG* fragments, ISpTTSEngineSite* site) override;
  HRESULT STDMETHODCALLTYPE GetOutputFormat(const GUID* targetFormatId, const WAVEFORMATEX* targetFormat,
                                            GUID* outputFormatId, WAVEFORMATEX** outputFormat) override;

  HRESULT STDMETHODCALLTYPE SetObjectToken(ISpObjectToken* token) override;
  HRESULT STDMETHODCALLTYPE GetObjectToken(ISpObjectToken** token) override;

 private:
  ~VoiceEngine();
  LONG references_ = 1;
  ISpObjectToken* token_ = nullptr;
  std::string dataFolder_;
};

// Objects alive and server locks, for DllCanUnloadNow.
extern LONG liveObjects;

}  // namespace sapivoice

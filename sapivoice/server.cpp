// The in-process COM server of the Portuguese voice: its class factory and
// the exports COM and regsvr32 call.
#include <windows.h>
#include <olectl.h>

#include <new>

#include "registration.h"
#include "voice_engine.h"

namespace sapivoice {
namespace {

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // The factory is static: its life is the DLL's.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    VoiceEngine* engine = new (std::nothrow) VoiceEngine;
    if (engine == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = engine->QueryInterface(iid, object);
    engine->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) InterlockedIncrement(&liveObjects);
    else InterlockedDecrement(&liveObjects);
    return S_OK;
  }
};

Factory factory;

}  // namespace
}  // namespace sapivoice

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(classId, sapivoice::CLSID_PortugueseVoice)) return CLASS_E_CLASSNOTAVAILABLE;
  return sapivoice::factory.QueryInterface(iid, object);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return sapivoice::liveObjects == 0 ? S_OK : S_FALSE; }

HRESULT STDAPICALLTYPE DllRegisterServer() { return sapivoice::registerVoice() ? S_OK : SELFREG_E_CLASS; }

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  sapivoice::unregisterVoice();
  return S_OK;
}

}  // extern "C"

#pragma once
// Windows platform: a COM stream that writes a 16 kHz 16-bit mono WAV file,
// offered to SAPI 5 as the voice's output (ISpStreamFormat).
#include <windows.h>
#include <sapi.h>

#include <string>

// COM objects are destroyed through Release, never through a base pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace platform::win32 {

constexpr DWORD kStreamRate = 16000;

// SPDFID_WaveFormatEx: the stream's data are described by a WAVEFORMATEX.
extern const GUID kWaveFormatExFormatId;

// The stream's format (16 kHz, 16-bit, mono), allocated with CoTaskMemAlloc
// as SAPI expects of a format it is handed; nullptr when memory is short.
WAVEFORMATEX* newStreamWaveFormat();

class WaveFileStream final : public ISpStreamFormat {
 public:
  // nullptr when the file cannot be created. The stream starts with one reference.
  static WaveFileStream* create(const std::string& path);
  // Completes the header and closes the file; later writes fail.
  void close();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* to, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override;
  HRESULT STDMETHODCALLTYPE GetFormat(GUID* format, WAVEFORMATEX** waveFormat) override;

 private:
  explicit WaveFileStream(HANDLE file) : file_(file) {}
  ~WaveFileStream() { close(); }
  bool writeHeader();

  LONG references_ = 1;
  HANDLE file_;
  ULONGLONG position_ = 0;  // within the samples, after the header
  ULONGLONG dataSize_ = 0;
};

}  // namespace platform::win32

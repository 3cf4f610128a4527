// Windows platform: the WAV file stream SAPI 5 writes speech into.
#include "platform/win32/wave_file_stream.h"

#include <cstdint>
#include <cstring>

#include "common/waveheader.h"

namespace platform::win32 {

const GUID kWaveFormatExFormatId = {0xC31ADBAE, 0x527F, 0x4FF5, {0xA2, 0x30, 0xF6, 0x2B, 0xB6, 0x1F, 0xF7, 0x0C}};

namespace {
constexpr ULONGLONG kHeaderSize = 44;
constexpr ULONGLONG kLargestData = 0xFFFFFFFFull - kHeaderSize;  // what a RIFF size can count

bool writeAt(HANDLE file, ULONGLONG offset, const void* data, DWORD size) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  DWORD written = 0;
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && WriteFile(file, data, size, &written, nullptr) &&
         written == size;
}
}  // namespace

WaveFileStream* WaveFileStream::create(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  auto* stream = new WaveFileStream(file);
  if (!stream->writeHeader()) {
    stream->Release();
    return nullptr;
  }
  return stream;
}

bool WaveFileStream::writeHeader() {
  std::uint8_t header[kHeaderSize];
  tradutor::writeWaveHeader(header, static_cast<std::uint32_t>(dataSize_), 1, kStreamRate, 16);
  return writeAt(file_, 0, header, sizeof header);
}

void WaveFileStream::close() {
  if (file_ == INVALID_HANDLE_VALUE) return;
  writeHeader();
  CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

HRESULT WaveFileStream::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream) ||
      IsEqualIID(iid, IID_ISpStreamFormat)) {
    *object = static_cast<ISpStreamFormat*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG WaveFileStream::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG WaveFileStream::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT WaveFileStream::Read(void*, ULONG, ULONG* read) {
  if (read != nullptr) *read = 0;
  return STG_E_ACCESSDENIED;  // written only
}

HRESULT WaveFileStream::Write(const void* data, ULONG size, ULONG* written) {
  if (written != nullptr) *written = 0;
  if (file_ == INVALID_HANDLE_VALUE) return STG_E_REVERTED;
  if (data == nullptr && size != 0) return STG_E_INVALIDPOINTER;
  if (position_ + size > kLargestData) return STG_E_MEDIUMFULL;
  if (!writeAt(file_, kHeaderSize + position_, data, size)) return STG_E_WRITEFAULT;
  position_ += size;
  if (position_ > dataSize_) dataSize_ = position_;
  if (written != nullptr) *written = size;
  return S_OK;
}

HRESULT WaveFileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  LONGLONG base = 0;
  switch (origin) {
    case STREAM_SEEK_SET: break;
    case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(position_); break;
    case STREAM_SEEK_END: base = static_cast<LONGLONG>(dataSize_); break;
    default: return STG_E_INVALIDFUNCTION;
  }
  const LONGLONG target = base + move.QuadPart;
  if (target < 0 || static_cast<ULONGLONG>(target) > kLargestData) return STG_E_INVALIDFUNCTION;
  position_ = static_cast<ULONGLONG>(target);
  if (position != nullptr) position->QuadPart = position_;
  return S_OK;
}

HRESULT WaveFileStream::SetSize(ULARGE_INTEGER) { return S_OK; }

HRESULT WaveFileStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) { return E_NOTIMPL; }

HRESULT WaveFileStream::Commit(DWORD) {
  if (file_ == INVALID_HANDLE_VALUE) return STG_E_REVERTED;
  return writeHeader() ? S_OK : STG_E_WRITEFAULT;
}

HRESULT WaveFileStream::Revert() { return S_OK; }
HRESULT WaveFileStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }
HRESULT WaveFileStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

HRESULT WaveFileStream::Stat(STATSTG* stat, DWORD) {
  if (stat == nullptr) return STG_E_INVALIDPOINTER;
  std::memset(stat, 0, sizeof *stat);
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = dataSize_;
  stat->grfMode = STGM_WRITE;
  return S_OK;
}

HRESULT WaveFileStream::Clone(IStream** copy) {
  if (copy != nullptr) *copy = nullptr;
  return E_NOTIMPL;
}

WAVEFORMATEX* newStreamWaveFormat() {
  auto* wave = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
  if (wave == nullptr) return nullptr;
  wave->wFormatTag = WAVE_FORMAT_PCM;
  wave->nChannels = 1;
  wave->nSamplesPerSec = kStreamRate;
  wave->wBitsPerSample = 16;
  wave->nBlockAlign = 2;
  wave->nAvgBytesPerSec = kStreamRate * 2;
  wave->cbSize = 0;
  return wave;
}

HRESULT WaveFileStream::GetFormat(GUID* format, WAVEFORMATEX** waveFormat) {
  if (format == nullptr || waveFormat == nullptr) return E_POINTER;
  WAVEFORMATEX* wave = newStreamWaveFormat();
  if (wave == nullptr) return E_OUTOFMEMORY;
  *format = kWaveFormatExFormatId;
  *waveFormat = wave;
  return S_OK;
}

}  // namespace platform::win32

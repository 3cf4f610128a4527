// Windows platform: directories and files.
#include "platform/files.h"

#include <windows.h>

#include <algorithm>

namespace platform {

std::string windowsDirectory(int bufferSize) {
  if (bufferSize <= 0) return {};
  std::string buffer(static_cast<std::size_t>(bufferSize), '\0');
  const UINT n = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(bufferSize));
  if (n == 0 || n >= static_cast<UINT>(bufferSize)) return {};
  buffer.resize(n);
  return buffer;
}

std::string currentDirectory() {
  char buffer[MAX_PATH + 1];
  const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  if (n == 0 || n >= sizeof buffer) return {};
  return std::string(buffer, n);
}

bool fileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool directoryExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
  out.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
  if (ok) {
    out.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (ok && done < out.size()) {
      DWORD got = 0;
      ok = ReadFile(file, out.data() + done, static_cast<DWORD>(out.size() - done), &got, nullptr) && got > 0;
      done += got;
    }
  }
  CloseHandle(file);
  if (!ok) out.clear();
  return ok;
}

bool changeDirectory(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

}  // namespace platform

struct platform::FileImpl {
  HANDLE handle;
};

namespace platform {

FileHandle openForReading(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return new FileImpl{h};
}

std::size_t readFile(FileHandle file, void* buffer, std::size_t count) {
  if (file == nullptr) return 0;
  std::size_t done = 0;
  while (done < count) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 0x10000000));
    if (!ReadFile(file->handle, static_cast<char*>(buffer) + done, ask, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

bool seekFile(FileHandle file, std::uint64_t offset) {
  if (file == nullptr || offset > fileSize(file)) return false;
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file->handle, to, nullptr, FILE_BEGIN) != FALSE;
}

std::uint64_t fileSize(FileHandle file) {
  LARGE_INTEGER size{};
  if (file == nullptr || !GetFileSizeEx(file->handle, &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

void closeFile(FileHandle file) {
  if (file == nullptr) return;
  CloseHandle(file->handle);
  delete file;
}

FileHandle createForWriting(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return new FileImpl{h};
}

FileHandle openForUpdate(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return new FileImpl{h};
}

bool writeFile(FileHandle file, const void* data, std::size_t count) {
  if (file == nullptr) return false;
  std::size_t done = 0;
  while (done < count) {
    DWORD wrote = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 0x10000000));
    if (!WriteFile(file->handle, static_cast<const char*>(data) + done, ask, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

}  // namespace platform

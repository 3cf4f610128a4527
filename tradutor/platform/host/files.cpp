// Host platform: Windows paths mapped onto a folder of the host, names
// matched without regard to case.
#include "platform/files.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "platform/host/host_internal.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

struct FileState {
  std::vector<std::string> opened;
  std::string driveFolder;
  std::string mappedDrives[26];
  std::string windowsDirectory = "C:\\WINDOWS";
  std::string currentDirectory = "C:\\TARSIS";
  bool failNextCreate = false;
  std::optional<std::uint64_t> writeBudget;  // bytes that may still be written
};

FileState& state() {
  static FileState s;
  return s;
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Appends one name to a host path, taking an existing entry whose name
// differs only in case when there is no exact one.
fs::path appendComponent(const fs::path& base, const std::string& name) {
  fs::path exact = base / name;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    if (sameIgnoringCase(it->path().filename().string(), name)) return it->path();
  }
  return exact;
}

bool takeFileCreateFailure() {
  const bool fail = state().failNextCreate;
  state().failNextCreate = false;
  return fail;
}

bool allowFileWrite(std::size_t count) {
  std::optional<std::uint64_t>& budget = state().writeBudget;
  if (!budget) return true;
  if (count > *budget) {
    *budget = 0;
    return false;
  }
  *budget -= count;
  return true;
}

bool isAbsoluteWindowsPath(const std::string& p) {
  return p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]));
}

}  // namespace

namespace host {

std::string hostPath(const std::string& windowsPath) {
  std::string path = windowsPath;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!path.empty() && path[0] == '/') return path;  // already a host path
  const FileState& s = state();
  if (!isAbsoluteWindowsPath(windowsPath)) {
    std::string relative = s.currentDirectory;
    if (!relative.empty() && relative.back() != '\\') relative += '\\';
    return hostPath(relative + windowsPath);
  }
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  fs::path result;
  if (!s.mappedDrives[letter - 'A'].empty()) {
    result = s.mappedDrives[letter - 'A'];
  } else {
    result = fs::path(s.driveFolder.empty() ? "/nonexistent-drive" : s.driveFolder);
    result = appendComponent(result, std::string(1, letter));
  }
  std::size_t pos = 2;
  while (pos < path.size()) {
    const std::size_t next = path.find('/', pos);
    const std::string name = path.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
    if (!name.empty() && name != ".") result = appendComponent(result, name);
    if (next == std::string::npos) break;
    pos = next + 1;
  }
  return result.string();
}

void setDriveFolder(const std::string& folder) { state().driveFolder = folder; }

void mapDrive(char letter, const std::string& folder) {
  const int index = std::toupper(static_cast<unsigned char>(letter)) - 'A';
  if (index >= 0 && index < 26) state().mappedDrives[index] = folder;
}

void writeFile(const std::string& windowsPath, std::string_view content) {
  const fs::path target = hostPath(windowsPath);
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

const std::vector<std::string>& openedFiles() { return state().opened; }
void clearOpenedFiles() { state().opened.clear(); }

void setWindowsDirectory(const std::string& path) { state().windowsDirectory = path; }
void setCurrentDirectory(const std::string& path) { state().currentDirectory = path; }

void failNextFileCreate() { state().failNextCreate = true; }
void failFileWritesAfter(std::uint64_t bytes) { state().writeBudget = bytes; }

namespace internal {
std::string foldCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

void resetFiles() {
  state() = FileState{};
  resetProcess();
}
}  // namespace internal

}  // namespace host

std::string windowsDirectory(int bufferSize) {
  std::string dir = state().windowsDirectory;
  if (bufferSize <= 0) return {};
  if (static_cast<int>(dir.size()) >= bufferSize) dir.resize(static_cast<std::size_t>(bufferSize - 1));
  return dir;
}

std::string currentDirectory() { return state().currentDirectory; }

bool fileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(host::hostPath(path), ec);
}

bool directoryExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(host::hostPath(path), ec);
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
  out.clear();
  state().opened.push_back(path);
  std::ifstream in(host::hostPath(path), std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  out.resize(static_cast<std::size_t>(size));
  if (size > 0) in.read(reinterpret_cast<char*>(out.data()), size);
  return static_cast<bool>(in) || size == 0;
}

bool changeDirectory(const std::string& path) {
  if (path.empty()) return false;
  std::string target = path;
  if (target.size() == 2 && target[1] == ':') {
    // A drive alone selects that drive's current directory: the one we are
    // in when it is on that drive, else its root.
    const std::string& current = state().currentDirectory;
    if (current.size() >= 2 && std::toupper(static_cast<unsigned char>(current[0])) ==
                                   std::toupper(static_cast<unsigned char>(target[0])) && current[1] == ':')
      return true;
    target += '\\';
  }
  if (!isAbsoluteWindowsPath(target) && target[0] != '/') {
    std::string base = state().currentDirectory;
    if (!base.empty() && base.back() != '\\') base += '\\';
    target = base + target;
  }
  if (!directoryExists(target)) return false;
  while (target.size() > 3 && target.back() == '\\') target.pop_back();
  state().currentDirectory = target;
  return true;
}

}  // namespace platform

struct platform::FileImpl {
  std::FILE* file;
};

namespace platform {

FileHandle openForReading(const std::string& path) {
  state().opened.push_back(path);
  std::error_code ec;
  const std::string real = host::hostPath(path);
  if (!fs::is_regular_file(real, ec)) return nullptr;
  std::FILE* f = std::fopen(real.c_str(), "rb");
  return f ? new FileImpl{f} : nullptr;
}

std::size_t readFile(FileHandle file, void* buffer, std::size_t count) {
  if (file == nullptr || count == 0) return 0;
  return std::fread(buffer, 1, count, file->file);
}

bool seekFile(FileHandle file, std::uint64_t offset) {
  if (file == nullptr || offset > fileSize(file)) return false;
  return std::fseek(file->file, static_cast<long>(offset), SEEK_SET) == 0;
}

std::uint64_t fileSize(FileHandle file) {
  if (file == nullptr) return 0;
  const long here = std::ftell(file->file);
  std::fseek(file->file, 0, SEEK_END);
  const long size = std::ftell(file->file);
  std::fseek(file->file, here, SEEK_SET);
  return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

void closeFile(FileHandle file) {
  if (file == nullptr) return;
  std::fclose(file->file);
  delete file;
}

FileHandle createForWriting(const std::string& path) {
  if (takeFileCreateFailure()) return nullptr;
  std::FILE* f = std::fopen(host::hostPath(path).c_str(), "wb");
  return f ? new FileImpl{f} : nullptr;
}

FileHandle openForUpdate(const std::string& path) {
  std::error_code ec;
  const std::string real = host::hostPath(path);
  if (!fs::is_regular_file(real, ec)) return nullptr;
  std::FILE* f = std::fopen(real.c_str(), "r+b");
  return f ? new FileImpl{f} : nullptr;
}

bool writeFile(FileHandle file, const void* data, std::size_t count) {
  if (file == nullptr) return false;
  if (!allowFileWrite(count)) return false;
  return count == 0 || std::fwrite(data, 1, count, file->file) == count;
}

}  // namespace platform

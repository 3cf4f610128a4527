// Host platform: Windows paths mapped onto a folder of the host, names
// matched without regard to case.
#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/host/host_internal.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

struct FileState {
  std::string driveFolder;
  std::string windowsDirectory = "C:\\WINDOWS";
  std::string currentDirectory = "C:\\TARSIS";
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
  fs::path result = fs::path(s.driveFolder.empty() ? "/nonexistent-drive" : s.driveFolder);
  result = appendComponent(result, std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))));
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

void writeFile(const std::string& windowsPath, std::string_view content) {
  const fs::path target = hostPath(windowsPath);
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

void setWindowsDirectory(const std::string& path) { state().windowsDirectory = path; }
void setCurrentDirectory(const std::string& path) { state().currentDirectory = path; }

namespace internal {
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

}  // namespace platform

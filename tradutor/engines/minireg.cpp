// minireg: the key and value name split at the path's last "\", the value
// read in two steps (its size, then its bytes), the key always closed.
#include "engines/minireg.h"

namespace tradutor {

int lastIndexOf(char c, const std::string& text) {
  const std::size_t at = text.rfind(c);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

bool readRegistryValue(platform::RegistryRoot root, const std::string& path, std::uint32_t expectedType,
                       std::vector<std::uint8_t>& data) {
  const int split = lastIndexOf('\\', path);
  if (split == 0) return false;
  const std::string subkey = path.substr(0, static_cast<std::size_t>(split - 1));
  const std::string name = path.substr(static_cast<std::size_t>(split));
  platform::RegistryKey key = nullptr;
  if (!platform::openRegistryKey(root, subkey, key)) return false;
  std::uint32_t type = 0, size = 0;
  bool ok = platform::queryRegistryValue(key, name, type, size, nullptr);
  if (ok) {
    std::vector<std::uint8_t> buffer(size);
    ok = platform::queryRegistryValue(key, name, type, size, buffer.data()) && type == expectedType;
    if (ok) {
      buffer.resize(size);
      data = std::move(buffer);
    }
  }
  platform::closeRegistryKey(key);
  return ok;
}

bool readRegistryString(platform::RegistryRoot root, const std::string& path, std::string& value) {
  std::vector<std::uint8_t> data;
  if (!readRegistryValue(root, path, kRegistryString, data)) return false;
  // The data ends in its zero byte; a value stored without one loses nothing.
  std::size_t length = data.size();
  if (length > 0 && data[length - 1] == 0) --length;
  value.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
  return true;
}

}  // namespace tradutor

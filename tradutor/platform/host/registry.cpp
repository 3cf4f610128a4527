// Host platform: an in-memory registry that tests and tools fill; keys and
// value names without regard to case, as on Windows.
#include "platform/registry.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/host/host_internal.h"

namespace platform {
namespace {

struct Value {
  std::uint32_t type;
  std::vector<std::uint8_t> data;
};

struct RegistryState {
  std::map<std::pair<int, std::string>, std::map<std::string, Value>> keys;
  int opens = 0;
  int open = 0;
};

RegistryState& state() {
  static RegistryState s;
  return s;
}

std::pair<int, std::string> slot(RegistryRoot root, const std::string& subkey) {
  return {static_cast<int>(root), host::internal::foldCase(subkey)};
}

}  // namespace
}  // namespace platform

struct platform::RegistryKeyImpl {
  const std::map<std::string, Value>* values;
};

namespace platform {

bool openRegistryKey(RegistryRoot root, const std::string& subkey, RegistryKey& key) {
  ++state().opens;
  const auto found = state().keys.find(slot(root, subkey));
  if (found == state().keys.end()) return false;
  key = new RegistryKeyImpl{&found->second};
  ++state().open;
  return true;
}

bool queryRegistryValue(RegistryKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size,
                        std::uint8_t* buffer) {
  if (key == nullptr) return false;
  const auto found = key->values->find(host::internal::foldCase(name));
  if (found == key->values->end()) return false;
  const Value& v = found->second;
  if (buffer != nullptr) {
    if (size < v.data.size()) return false;
    if (!v.data.empty()) std::memcpy(buffer, v.data.data(), v.data.size());
  }
  type = v.type;
  size = static_cast<std::uint32_t>(v.data.size());
  return true;
}

void closeRegistryKey(RegistryKey key) {
  if (key == nullptr) return;
  --state().open;
  delete key;
}

namespace host {

void setRegistryValue(RegistryRoot root, const std::string& subkey, const std::string& name, std::uint32_t type,
                      const std::vector<std::uint8_t>& data) {
  state().keys[slot(root, subkey)][host::internal::foldCase(name)] = Value{type, data};
}

void setRegistryString(RegistryRoot root, const std::string& subkey, const std::string& name, const std::string& text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  setRegistryValue(root, subkey, name, 1, data);
}

int registryOpens() { return state().opens; }
int openRegistryKeys() { return state().open; }

namespace internal {
void resetRegistry() { state() = RegistryState{}; }
}  // namespace internal

}  // namespace host
}  // namespace platform

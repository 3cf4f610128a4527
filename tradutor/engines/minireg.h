#pragma once
// minireg: reading string values from the registry, where the MBROLA
// engine's installation records its databases. It only reads.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tradutor {

constexpr std::uint32_t kRegistryString = 1;  // REG_SZ

// A REG_SZ value; `value` is its data without the terminating zero byte.
// `path` is the key, a "\", then the value's name (empty: the default value).
bool readRegistryString(platform::RegistryRoot root, const std::string& path, std::string& value);
// One value whose type must be `expectedType`; `data` receives its bytes.
bool readRegistryValue(platform::RegistryRoot root, const std::string& path, std::uint32_t expectedType,
                       std::vector<std::uint8_t>& data);
// The 1-based position of the last `c` in `text`; 0 when there is none.
int lastIndexOf(char c, const std::string& text);

}  // namespace tradutor

#pragma once
// Reading the Windows registry; nothing is ever written.
//
// Contract: openRegistryKey opens a key for reading under a root; false when
// it does not exist. queryRegistryValue with a null buffer gives the value's
// type and size in bytes; with a buffer of `size` bytes it fills it; false
// when the value does not exist or does not fit. An empty name is the key's
// default value. Every key opened is closed once with closeRegistryKey.
#include <cstdint>
#include <string>

namespace platform {

enum class RegistryRoot { localMachine, currentUser, classesRoot };

using RegistryKey = struct RegistryKeyImpl*;

bool openRegistryKey(RegistryRoot root, const std::string& subkey, RegistryKey& key);
bool queryRegistryValue(RegistryKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size,
                        std::uint8_t* buffer);
void closeRegistryKey(RegistryKey key);

}  // namespace platform
